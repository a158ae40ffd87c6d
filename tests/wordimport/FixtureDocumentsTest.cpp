// The small real documents of other converters' test suites: every paragraph becomes
// well-formed SPL text that reads as the paragraph does, and every table converts.
#include "WordImportTestSupport.h"

#include "platform/xml/resources/ResourceResolver.h"
#include "platform/xml/resources/SchemaValidator.h"
#include "platform/word/Field.h"

#include <QDir>
#include <QRegularExpression>

using namespace veldra;
using namespace veldra::test;

namespace {

QString shownText(const QString& markup)
{
    static const QRegularExpression tag(QStringLiteral("<[^>]+>"));
    QString text = markup;
    text.remove(tag);
    return text.replace(QStringLiteral("&lt;"), QStringLiteral("<")).replace(QStringLiteral("&gt;"), QStringLiteral(">"))
        .replace(QStringLiteral("&amp;"), QStringLiteral("&"));
}

QString expectedText(const word::Paragraph& paragraph)
{
    QString text = paragraph.range().text();
    text.replace(QLatin1Char('\t'), QLatin1Char(' ')).remove(QLatin1Char('\v'));
    // A picture's place in the text is no text of the label.
    for (int k = paragraph.range().inlineShapes().count(); k > 0; --k)
        text.remove(text.lastIndexOf(QLatin1Char('/')), 1);
    // A note's mark shows the note.
    for (const word::Note& note : paragraph.range().notes())
        text.replace(text.indexOf(QChar(word::text_mark::NoteReference)), 1, note.text());
    return text;
}

} // namespace

class FixtureDocumentsTest : public WordImportTest {};

TEST_F(FixtureDocumentsTest, EveryParagraphAndTableConvertsAsItReads)
{
    QStringList files;
    for (const char* folder : {"docx/mammoth", "docx/python-docx"}) {
        const QDir dir(fixture(QLatin1String(folder)));
        for (const QString& name : dir.entryList({QStringLiteral("*.docx")}, QDir::Files, QDir::Name))
            files << dir.filePath(name);
    }
    ASSERT_GT(files.size(), 20);
    // Every table goes into the text of a real label, which the SPL schema then checks.
    xml::Document label;
    ASSERT_TRUE(label.load(fixture(QStringLiteral("spl-documents/openfda-cough-otc/cough.xml"))));
    const xml::Node labelText = label.selectSingleNode(QStringLiteral("//section/text"));
    int tables = 0;
    int paragraphs = 0;
    for (const QString& file : files) {
        SCOPED_TRACE(file.toStdString());
        clsWord word;
        word.SPL = std::make_unique<clsSPL>();
        word.SPL->Initialize(QStringLiteral("BOXED WARNING"));
        try {
            word.OpenDocument(file);
        } catch (const VbError& e) {
            // The one strict-format document is refused with a reason, never half read.
            EXPECT_FALSE(e.description().isEmpty());
            continue;
        }
        for (const word::Paragraph& paragraph : word.Document.paragraphs()) {
            const QString markup = word.FormatBoldItalicUnderlineSubScriptSuperScript(paragraph);
            xml::Document parsed;
            EXPECT_TRUE(parsed.loadXml(QStringLiteral("<p>") + markup + QStringLiteral("</p>"))) << markup.toStdString();
            if (markup.isEmpty())
                continue;  // a formatted paragraph of a lone slash
            EXPECT_EQ(shownText(markup), expectedText(paragraph));
            ++paragraphs;
        }
        for (const word::Table& table : word.Document.tables()) {
            QString markup;
            int index = 0;
            QString section = QStringLiteral("INDICATIONS AND USAGE");
            QString noSubSection;
            ASSERT_TRUE(word.ConvertTable(table, index, section, noSubSection, markup));
            xml::Document parsed;
            ASSERT_TRUE(parsed.loadXml(QStringLiteral("<text xmlns=\"urn:hl7-org:v3\">") + markup + QStringLiteral("</text>")))
                << markup.toStdString();
            labelText.appendChild(label.importNode(parsed.documentElement().firstChild(), true));
            ++tables;
        }
        word.CloseDocument();
    }
    EXPECT_GT(paragraphs, 100);
    EXPECT_GT(tables, 5);
    xml::setLocalRootForTesting(xml::ResourceKind::Schema, fixture(QStringLiteral("spl-schema")));
    const QString saved = dir.file(QStringLiteral("tables.xml"));
    const xml::SchemaCheck check = xml::SchemaValidator().validateSaved(label, label.save(saved), saved);
    xml::setLocalRootForTesting(xml::ResourceKind::Schema, {});
    EXPECT_TRUE(check.isValid()) << check.reason.toStdString() << " line " << check.line;
    EXPECT_TRUE(linesOf(logLines(), QStringLiteral("Error")).isEmpty()) << logLines().join('\n').toStdString();
}
