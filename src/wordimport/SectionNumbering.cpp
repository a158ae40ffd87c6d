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

} // namespace

void ProductLabelAddSectionNumbers(xml::Document& document, const QString& separator)
{
    ShowLogWindow(true);
    WriteLog(log_category::Information, QStringLiteral("Start adding Section Numbers to Product Label"));
    try {
        int i = 0;
        for (const xml::Node& section : document.selectNodes(sectionsQuery)) {
            ++i;
            const xml::Node title = xml::requiredAt(section, QStringLiteral("SectionTitle"), source);
            WriteLog(log_category::Processing, QString::number(i) + separator + QLatin1Char(' ') + title.text());
            title.setText(QString::number(i) + separator + QLatin1Char(' ') + title.text());
            int j = 1;
            for (const xml::Node& subSection : section.selectNodes(subSectionsQuery)) {
                const xml::Node subTitle = xml::requiredAt(subSection, QStringLiteral("title"), source);
                const QString number = QString::number(i) + QLatin1Char('.') + QString::number(j);
                WriteLog(log_category::Processing, wordlog::indent5 + number + separator + QLatin1Char(' ') + subTitle.text());
                subTitle.setText(number + QLatin1Char(' ') + subTitle.text());
                ++j;
            }
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
