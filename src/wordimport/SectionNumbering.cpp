#include "wordimport/SectionNumbering.h"

#include "platform/xml/Document.h"
#include "wordimport/ImportLog.h"
#include "wordimport/clsWord.h"

namespace veldra {

namespace {

const QString sectionsQuery = QStringLiteral("//ProductLabel/DocumentSections/Section");
const QString subSectionsQuery = QStringLiteral("component/section");

xml::Node requiredChild(const xml::Node& parent, const QString& name)
{
    const xml::Node child = parent.selectSingleNode(name);
    if (!child)
        throw VbError(err::XmlNode, QStringLiteral("DocumentSections"), QStringLiteral("element not found: ") + name);
    return child;
}

void logFailure(const QString& procedure, const std::exception& e)
{
    const VbError error = toVbError(e, QStringLiteral("DocumentSections"));
    wordlog::error(procedure + QStringLiteral(": ") + error.source() + QLatin1Char(' ') + QString::number(error.number())
                   + QStringLiteral(" > ") + error.description());
}

} // namespace

void ProductLabelAddSectionNumbers(xml::Document& document, const QString& separator)
{
    ShowLogWindow(true);
    wordlog::information(QStringLiteral("Start adding Section Numbers to Product Label"));
    try {
        int i = 0;
        for (const xml::Node& section : document.selectNodes(sectionsQuery)) {
            ++i;
            const xml::Node title = requiredChild(section, QStringLiteral("SectionTitle"));
            wordlog::processing(QString::number(i) + separator + QLatin1Char(' ') + title.text());
            title.setText(QString::number(i) + separator + QLatin1Char(' ') + title.text());
            int j = 1;
            for (const xml::Node& subSection : section.selectNodes(subSectionsQuery)) {
                const xml::Node subTitle = requiredChild(subSection, QStringLiteral("title"));
                const QString number = QString::number(i) + QLatin1Char('.') + QString::number(j);
                wordlog::processing(wordlog::indent5 + number + separator + QLatin1Char(' ') + subTitle.text());
                subTitle.setText(number + QLatin1Char(' ') + subTitle.text());
                ++j;
            }
        }
        wordlog::information(QStringLiteral("Completed adding Section Numbers to Product Label"));
    } catch (const std::exception& e) {
        logFailure(QStringLiteral("ProductLabelAddSectionNumbers"), e);
    }
}

void ProductLabelAddSectionNumbersFromWord(xml::Document& document, const clsWord& word)
{
    ShowLogWindow(false);
    wordlog::separator();
    wordlog::information(QStringLiteral("Start adding Section Numbers From Word to Product Label"));
    try {
        for (const xml::Node& section : document.selectNodes(sectionsQuery)) {
            const xml::Node title = requiredChild(section, QStringLiteral("SectionTitle"));
            title.setText(word.GetSectiontTitleNumbered(title.text(), false));
            wordlog::processing(title.text());
            for (const xml::Node& subSection : section.selectNodes(subSectionsQuery)) {
                const xml::Node subTitle = requiredChild(subSection, QStringLiteral("title"));
                subTitle.setText(word.GetSectiontTitleNumbered(subTitle.text(), true));
                wordlog::processing(subTitle.text());
            }
        }
        wordlog::information(QStringLiteral("Completed adding Section Numbers From Word to Product Label"));
    } catch (const std::exception& e) {
        logFailure(QStringLiteral("ProductLabelAddSectionNumbersFromWord"), e);
    }
}

} // namespace veldra
