#include "wordimport/SectionNumbering.h"

#include "platform/xml/tree/Document.h"
#include "platform/xml/tree/Lookup.h"
#include "wordimport/ImportLog.h"
#include "wordimport/clsWord.h"

namespace veldra {

namespace {

const QString source = QStringLiteral("DocumentSections");
const QString sectionsQuery = QStringLiteral("//ProductLabel/DocumentSections/Section");
const QString subSectionsQuery = QStringLiteral("component/section");

void logFailure(const QString& procedure, const std::exception& e)
{
    const VbError error = toVbError(e, source);
    WriteLog(log_category::Error, procedure + QStringLiteral(": ") + error.source() + QLatin1Char(' ') + QString::number(error.number())
                   + QStringLiteral(" > ") + error.description());
}

void warnUntitled(const QString& place)
{
    WriteLog(log_category::Warning, place + QStringLiteral(" has no title; it is not numbered"));
}

// Numbers the subsections of the section numbered `number`, standing at `position` among the
// sections, 1 up in their stored order; one without a title is passed over and takes no number.
// The separator follows a section's number only, never a subsection's.
void numberSubSections(const xml::Node& section, const QString& number, int position)
{
    int j = 0;
    int place = 0;
    for (const xml::Node& subSection : section.selectNodes(subSectionsQuery)) {
        ++place;
        const xml::Node subTitle = subSection.selectSingleNode(QStringLiteral("title"));
        if (subTitle.isNull()) {
            warnUntitled(QStringLiteral("Subsection %1 of section %2").arg(place).arg(position));
            continue;
        }
        const QString numbered = number + QLatin1Char('.') + QString::number(++j) + QLatin1Char(' ') + subTitle.text();
        WriteLog(log_category::Processing, wordlog::indent5 + numbered);
        subTitle.setText(numbered);
    }
}

} // namespace

void ProductLabelAddSectionNumbers(xml::Document& document, const QString& separator)
{
    ShowLogWindow(true);
    WriteLog(log_category::Information, QStringLiteral("Start adding Section Numbers to Product Label"));
    try {
        int i = 0;
        int position = 0;
        for (const xml::Node& section : document.selectNodes(sectionsQuery)) {
            ++position;
            const xml::Node title = section.selectSingleNode(QStringLiteral("SectionTitle"));
            if (title.isNull()) {
                warnUntitled(QStringLiteral("Section %1").arg(position));
                continue;
            }
            const QString number = QString::number(++i);
            const QString numbered = number + separator + QLatin1Char(' ') + title.text();
            WriteLog(log_category::Processing, numbered);
            title.setText(numbered);
            numberSubSections(section, number, position);
        }
        WriteLog(log_category::Information, QStringLiteral("Completed adding Section Numbers to Product Label"));
    } catch (const std::exception& e) {
        logFailure(QStringLiteral("ProductLabelAddSectionNumbers"), e);
    }
}

void ProductLabelAddSectionNumbersFromWord(xml::Document& document, const clsWord& word)
{
    ShowLogWindow(false);
    WriteLog(logSeparator(), QString());
    WriteLog(log_category::Information, QStringLiteral("Start adding Section Numbers From Word to Product Label"));
    try {
        for (const xml::Node& section : document.selectNodes(sectionsQuery)) {
            const xml::Node title = xml::requiredAt(section, QStringLiteral("SectionTitle"), source);
            title.setText(word.GetSectiontTitleNumbered(title.text(), false));
            WriteLog(log_category::Processing, title.text());
            for (const xml::Node& subSection : section.selectNodes(subSectionsQuery)) {
                const xml::Node subTitle = xml::requiredAt(subSection, QStringLiteral("title"), source);
                subTitle.setText(word.GetSectiontTitleNumbered(subTitle.text(), true));
                WriteLog(log_category::Processing, subTitle.text());
            }
        }
        WriteLog(log_category::Information, QStringLiteral("Completed adding Section Numbers From Word to Product Label"));
    } catch (const std::exception& e) {
        logFailure(QStringLiteral("ProductLabelAddSectionNumbersFromWord"), e);
    }
}

} // namespace veldra
