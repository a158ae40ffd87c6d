// Real labels laid out as labelers write them in Word, each file written by two different
// writers, imported into a settings document and compared with what the label holds; and
// one of them reviewed with tracked changes, compared with its changes accepted.
#include "WordImportTestSupport.h"

#include "support/DocxFixture.h"
#include "support/LabelComparison.h"
#include "support/WordMarkup.h"
#include "wordimport/ProductLabelImport.h"

#include <QJsonDocument>
#include <QJsonObject>
#include <QRegularExpression>

using namespace veldra;
using namespace veldra::test;

namespace {

// A reviewer's move of the paragraph holding `text` to just before (or after) the first
// paragraph holding `anchor`.
struct Move {
    QString text;
    QString anchor;
    bool after = false;
};

// Where the paragraph (<w:p>…</w:p>) holding the first `text` of the markup starts, and its length.
std::pair<qsizetype, qsizetype> paragraphHolding(const QString& markup, const QString& text)
{
    const qsizetype at = markup.indexOf(text);
    EXPECT_GE(at, 0) << text.toStdString();
    const qsizetype start = markup.lastIndexOf(QStringLiteral("<w:p>"), at);
    return {start, markup.indexOf(QStringLiteral("</w:p>"), at) + 6 - start};
}

// The document part with the move made with tracked changes on.
QString withTrackedMove(QString document, const Move& move, const QString& name)
{
    const auto [from, length] = paragraphHolding(document, move.text);
    const QString paragraph = document.mid(from, length);
    document.replace(from, length, movedParagraph(paragraph, MoveSide::From, name));
    const auto [to, toLength] = paragraphHolding(document, move.anchor);
    return document.insert(move.after ? to + toLength : to, movedParagraph(paragraph, MoveSide::To, name));
}

// "" when the texts are the same, else the text of each around where they part.
QString whereTheyPart(const QString& a, const QString& b)
{
    qsizetype at = 0;
    while (at < a.size() && at < b.size() && a[at] == b[at])
        ++at;
    if (at == a.size() && at == b.size())
        return {};
    return a.mid(std::max<qsizetype>(0, at - 150), 300) + QStringLiteral("\n  instead of\n") +
           b.mid(std::max<qsizetype>(0, at - 150), 300);
}

} // namespace

class LabelFixturesTest : public WordImportTest {
protected:
    xml::Document settingsFor(const QString& file) const
    {
        xml::Document settings;
        EXPECT_TRUE(settings.load(program.file(QStringLiteral("SPLR4Definitions/DefinitionSPLR4.xml"))));
        const xml::Node options = settings.selectSingleNode(QStringLiteral("SPLR4/ProductLabel/WordDocument"));
        options.selectSingleNode(QStringLiteral("File")).setText(file);
        options.selectSingleNode(QStringLiteral("ImageTargetFolder")).setText(dir.path());
        options.selectSingleNode(QStringLiteral("EffectiveTime")).setText(QStringLiteral("20240131"));
        options.selectSingleNode(QStringLiteral("ExcerptStyle")).setText(QStringLiteral("Title"));
        return settings;
    }
};

TEST_F(LabelFixturesTest, EveryLabelArrivesWhole)
{
    for (const char* name : {"cough-otc", "lipitor-rx", "viagra-rx"}) {
        QFile json(fixture(QStringLiteral("docx/labels/%1.expected.json").arg(QLatin1String(name))));
        ASSERT_TRUE(json.open(QIODevice::ReadOnly));
        const QJsonObject expected = QJsonDocument::fromJson(json.readAll()).object();
        for (const QString& file : {QStringLiteral("%1.docx"), QStringLiteral("%1-resaved.docx")}) {
            const QString path = fixture(QStringLiteral("docx/labels/") + file.arg(QLatin1String(name)));
            SCOPED_TRACE(path.toStdString());
            closeLog();
            xml::Document settings = settingsFor(path);
            ImportProductLabelFromWord(nullptr, settings);
            EXPECT_TRUE(linesOf(logLines(), QStringLiteral("Fatal Error")).isEmpty()) << logLines().join('\n').toStdString();
            EXPECT_EQ(firstDifference(settings, expected, logLines()), QString());
        }
    }
}

// A label reviewed with tracked changes on, a paragraph moved in it: the import reads it as
// Word shows it with the changes accepted. The paragraph arrives once, at its new place; its
// old place keeps no empty paragraph, list item or line break, and the list items after it
// keep their numbers.
TEST_F(LabelFixturesTest, AParagraphMovedWithTrackedChangesArrivesOnceAtItsNewPlace)
{
    const QString label = fixture(QStringLiteral("docx/labels/lipitor-rx.docx"));
    QMap<QString, QByteArray> parts = entriesOf(label);
    const QString document = QString::fromUtf8(parts.value(QStringLiteral("word/document.xml")));
    ASSERT_FALSE(document.isEmpty());
    const struct {
        const char* name;
        std::vector<Move> moves;
    } rows[] = {
        {"a body paragraph, down past the next",
         {{"Atorvastatin, like other statins, occasionally causes myopathy", "Myopathy should be considered in any patient", true}}},
        {"a subsection heading, from the end of the subsection before it",
         {{"5.4 CNS Toxicity", "Brain hemorrhage was seen in a female dog", true}}},
        {"the last bullet item of a list, into another list",
         {{"Reduce the risk for revascularization procedures and angina", "Reduce the risk of hospitalization for CHF", true}}},
        {"a numbered item, past the item after it",
         {{QStringLiteral("LDL-C remains \u2265 190 mg/dL or"), "two or more other CVD risk factors", true}}},
        {"the paragraphs of two table cells, swapped",
         {{"Avoid atorvastatin", "Use with caution and lowest dose necessary"},
          {"Use with caution and lowest dose necessary", "Avoid atorvastatin", true}}},
    };
    // The label's sections as the import leaves them in the settings, and the list numbers
    // of the document's paragraphs.
    const auto imported = [&](const QString& markup, const QString& name) {
        parts.insert(QStringLiteral("word/document.xml"), markup.toUtf8());
        const QString path = save(zipOf(parts), name);
        closeLog();
        xml::Document settings = settingsFor(path);
        ImportProductLabelFromWord(nullptr, settings);
        EXPECT_TRUE(linesOf(logLines(), QStringLiteral("Fatal Error")).isEmpty()) << logLines().join('\n').toStdString();
        word::Document doc;
        EXPECT_TRUE(doc.open(path));
        QStringList numbers;
        for (const word::Paragraph& paragraph : doc.paragraphs())
            numbers << paragraph.range().listFormat().listString();
        // Each import gives the sections new ids.
        static const QRegularExpression id(QStringLiteral("[0-9a-f]{8}(-[0-9a-f]{4}){3}-[0-9a-f]{12}"));
        return std::pair{settings.selectSingleNode(QStringLiteral("SPLR4/ProductLabel/DocumentSections")).xml().remove(id),
                         numbers};
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.name);
        QString tracked = document;
        for (const Move& move : row.moves)
            tracked = withTrackedMove(tracked, move, QStringLiteral("move") + QString::number(&move - row.moves.data()));
        const auto [sections, numbers] = imported(tracked, QStringLiteral("tracked.docx"));
        const auto [acceptedSections, acceptedNumbers] = imported(acceptingMoves(tracked), QStringLiteral("accepted.docx"));
        EXPECT_EQ(whereTheyPart(sections, acceptedSections), QString());
        EXPECT_EQ(numbers, acceptedNumbers);
        for (const Move& move : row.moves)
            EXPECT_EQ(sections.count(move.text), 1) << move.text.toStdString();
    }
}
