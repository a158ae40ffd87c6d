// The formatting analysis as the user reads it in the log: line by line on a document made
// for it, and on real labels.
#include "wordimport/analysis/FormattingAnalysis.h"

#include "app/log/Log.h"
#include "support/DocxFixture.h"
#include "support/Fixtures.h"
#include "support/LogFixture.h"
#include "support/TempDir.h"

#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

using namespace veldra;

namespace {

QString style(const QString& id, const QString& name)
{
    return QStringLiteral("<w:style w:type=\"paragraph\" w:styleId=\"%1\"><w:name w:val=\"%2\"/></w:style>").arg(id, name);
}

QString styled(const QString& id, const QString& runs)
{
    return QStringLiteral("<w:p><w:pPr><w:pStyle w:val=\"%1\"/></w:pPr>%2</w:p>").arg(id, runs);
}

QString run(const QString& text)
{
    return QStringLiteral("<w:r><w:t xml:space=\"preserve\">%1</w:t></w:r>").arg(text);
}

QString picture()
{
    return QStringLiteral("<w:r><w:drawing><wp:inline><wp:extent cx=\"12700\" cy=\"12700\"/><wp:docPr id=\"1\" name=\"p\"/>"
                          "<a:graphic><a:graphicData uri=\"http://schemas.openxmlformats.org/drawingml/2006/picture\"/>"
                          "</a:graphic></wp:inline></w:drawing></w:r>");
}

QString cell(const QString& runs)
{
    return QStringLiteral("<w:tc><w:p>%1</w:p></w:tc>").arg(runs);
}

QString writeDocx(const test::TempDir& dir, const QByteArray& bytes)
{
    const QString path = dir.file(QStringLiteral("label.docx"));
    QFile file(path);
    file.open(QIODevice::WriteOnly);
    file.write(bytes);
    return path;
}

} // namespace

class FormattingAnalysis : public test::LogFixture {
protected:
    // The log's lines with the two lines that carry the time cut after their fixed text.
    static QStringList linesWithoutTimes()
    {
        QStringList lines = logLines();
        for (QString& l : lines)
            for (const QString& fixed : {QStringLiteral("Starting Word Document Formatting Analysis"),
                                         QStringLiteral("Completed Word Document Formatting Analysis ")})
                if (l.contains(fixed))
                    l = l.left(l.indexOf(fixed) + fixed.size());
        return lines;
    }

    static QString separator() { return logSeparator(); }

    // The header lines of one kind ("Section", "Excerpt", "Subsection"), before the summary.
    static QStringList headerLines(const QString& kind)
    {
        QStringList lines = logLines();
        lines = lines.mid(0, lines.indexOf(line(QStringLiteral("STYLE SUMMARY"), QString())));
        return lines.filter(QRegularExpression(QLatin1Char('^') + kind + QStringLiteral("  ")));
    }

    test::TempDir dir;
};

TEST_F(FormattingAnalysis, EveryParagraphIsListedWithItsStylePageAndTextThenTheStylesAndObjects)
{
    const QString styles = style(QStringLiteral("Heading1"), QStringLiteral("heading 1"))
                           + style(QStringLiteral("Heading2"), QStringLiteral("heading 2"))
                           + style(QStringLiteral("Hl"), QStringLiteral("Highlights"))
                           + style(QStringLiteral("S31"), QStringLiteral("Package Label Text Style"))
                           + style(QStringLiteral("S32"), QStringLiteral("Package Label Text Styles"))
                           + style(QStringLiteral("S51"), QStringLiteral("Boxed Warning Text Inside The Highlights Box"));
    const QString body =
        styled(QStringLiteral("Heading1"), run(QStringLiteral("INDICATIONS AND USAGE")))
        + styled(QStringLiteral("Hl"), run(QStringLiteral("Limitation-of Use")))
        + QStringLiteral("<w:p>") + run(QStringLiteral("first line")) + QStringLiteral("<w:r><w:br/></w:r>")
        + run(QStringLiteral("second line")) + QStringLiteral("</w:p>")
        + QStringLiteral("<w:p>") + run(QStringLiteral("see ")) + picture() + picture() + QStringLiteral("</w:p>")
        + QStringLiteral("<w:tbl><w:tr>") + cell(picture() + run(QStringLiteral("A"))) + cell(run(QStringLiteral("B")))
        + QStringLiteral("</w:tr></w:tbl>")
        + QStringLiteral("<w:p>") + run(QStringLiteral("before")) + QStringLiteral("<w:r><w:br w:type=\"page\"/></w:r>")
        + run(QStringLiteral("after")) + QStringLiteral("</w:p>")
        + styled(QStringLiteral("Heading2"), run(QStringLiteral("Pediatric Use")))
        + styled(QStringLiteral("S31"), run(QStringLiteral("x"))) + styled(QStringLiteral("S32"), run(QStringLiteral("y")))
        + styled(QStringLiteral("S51"), run(QStringLiteral("z")));
    test::DocxParts parts;
    parts.styles = styles;
    const QString file = writeDocx(dir, test::docxFrom(body, parts));

    AnalyzeDocumentFormatting(file, QStringLiteral("Heading 1"), QStringLiteral("Highlights"), QStringLiteral("Heading 2"));

    const QString normal = QStringLiteral("Style: Normal").leftJustified(32);
    const QStringList expected{
        line(QStringLiteral("Information"), QStringLiteral("Starting Word Document Formatting Analysis")),
        separator(),
        line(QStringLiteral("Information"), QStringLiteral("Opening File: ") + file),
        separator(),
        line(QStringLiteral("Section"), QStringLiteral("INDICATIONS AND USAGE")),
        separator(),
        line(QStringLiteral("P1/2, ¶1"), QStringLiteral("Style: Heading 1").leftJustified(32) + QStringLiteral("INDICATIONS AND USAGE")),
        separator(),
        line(QStringLiteral("Excerpt"), QStringLiteral("Limitation-of Use")),
        separator(),
        line(QStringLiteral("P1/2, ¶2"), QStringLiteral("Style: Highlights").leftJustified(32) + QStringLiteral("Limitation-of Use")),
        line(QStringLiteral("P1/2, ¶3"), normal + QStringLiteral("first line second line")),
        // One predicted file per picture, as the import numbers the files it writes.
        line(QStringLiteral("P1/2, ¶4"), normal + QStringLiteral("Image, will be saved as: img0001.jpg")),
        line(QStringLiteral("P1/2, ¶4"), normal + QStringLiteral("Image, will be saved as: img0002.jpg")),
        line(QStringLiteral("P1/2, ¶5"), normal + QStringLiteral("Image, will be saved as: img0003.jpg")),
        line(QStringLiteral("P1/2, ¶5"), normal + QStringLiteral("Table -> /A")),
        line(QStringLiteral("P1/2, ¶6"), normal + QStringLiteral("Table -> B")),
        line(QStringLiteral("P2/2, ¶7"), normal + QStringLiteral("beforeafter")),
        separator(),
        line(QStringLiteral("Subsection"), QStringLiteral("Pediatric Use")),
        separator(),
        line(QStringLiteral("P2/2, ¶8"), QStringLiteral("Style: Heading 2").leftJustified(32) + QStringLiteral("Pediatric Use")),
        line(QStringLiteral("P2/2, ¶9"), QStringLiteral("Style: Package Label Text Style ") + QStringLiteral("x")),
        line(QStringLiteral("P2/2, ¶10"), QStringLiteral("Style: Package Label Text Styles").leftJustified(50) + QStringLiteral("y")),
        line(QStringLiteral("P2/2, ¶11"), QStringLiteral("Style: Boxed Warning Text Inside The Highlights Boxz")),
        separator(),
        line(QStringLiteral("Information"), QStringLiteral("Completed Word Document Formatting Analysis ")),
        separator(),
        line(QStringLiteral("STYLE SUMMARY"), QString()),
        separator(),
        line(QStringLiteral("Section"), QStringLiteral("Heading 1")),
        line(QStringLiteral("Excerpt"), QStringLiteral("Highlights")),
        line(QString(), QStringLiteral("Normal")),
        line(QStringLiteral("Subsection"), QStringLiteral("Heading 2")),
        line(QString(), QStringLiteral("Package Label Text Style")),
        line(QString(), QStringLiteral("Package Label Text Styles")),
        line(QString(), QStringLiteral("Boxed Warning Text Inside The Highlights Box")),
        line(QStringLiteral("Warning"), QStringLiteral("The Document contains more than 4 Styles.")),
        line(QStringLiteral("Warning"), QStringLiteral("A maximum of 4 Styles is recommended: Section Header, Section Excerpt, "
                                                       "Sub Section Header and Text.")),
        separator(),
        line(QStringLiteral("OBJECTS"), QString()),
        separator(),
        line(QStringLiteral("Images"), QStringLiteral("3")),
        line(QStringLiteral("Tables"), QStringLiteral("1")),
        line(QStringLiteral("Warning"), QStringLiteral("Page numbers are estimated from the page breaks the Word document "
                                                       "records; they may differ from the printed pages.")),
    };
    const QStringList got = linesWithoutTimes();
    ASSERT_GE(got.size(), expected.size());
    EXPECT_EQ(got.mid(0, expected.size()), expected);
    // The disclaimer closes the analysis.
    EXPECT_TRUE(logWindow()->txtLog->toPlainText().endsWith(log_format::disclaimer().replace(QStringLiteral("\r\n"), QStringLiteral("\n"))));
}

// Real labels laid out in Word by two different writers: the analysis finds their title,
// every Heading 1 in order, every second-level subsection, their tables and pictures.
TEST_F(FormattingAnalysis, RealLabelDocumentsShowTheirHeadersTablesAndPictures)
{
    for (const QString& name : {QStringLiteral("cough-otc"), QStringLiteral("lipitor-rx"), QStringLiteral("viagra-rx")}) {
        const QJsonObject expected = QJsonDocument::fromJson(test::readTextFile(test::fixture(
                                                                 QStringLiteral("docx/labels/%1.expected.json").arg(name)))
                                                                 .toUtf8())
                                         .object();
        QStringList sections;
        for (const QJsonValue& title : expected.value(QStringLiteral("heading1")).toArray())
            sections.append(line(QStringLiteral("Section"), title.toString()));
        int subsections = 0;
        for (const QJsonValue& section : expected.value(QStringLiteral("sections")).toArray())
            for (const QJsonValue& level : section.toObject().value(QStringLiteral("subsection_levels")).toArray())
                subsections += level.toInt() == 2;
        const QJsonObject totals = expected.value(QStringLiteral("totals")).toObject();

        for (const QString& variant : {name, name + QStringLiteral("-resaved")}) {
            SCOPED_TRACE(variant.toStdString());
            AnalyzeDocumentFormatting(test::fixture(QStringLiteral("docx/labels/%1.docx").arg(variant)), QStringLiteral("Heading 1"),
                                      QStringLiteral("Title"), QStringLiteral("Heading 2"));
            const QStringList lines = logLines();
            EXPECT_EQ(headerLines(QStringLiteral("Section")), sections);
            EXPECT_EQ(headerLines(QStringLiteral("Subsection")).size(), subsections);
            const QStringList excerpts = headerLines(QStringLiteral("Excerpt"));
            ASSERT_EQ(excerpts.size(), 1);
            EXPECT_TRUE(excerpts[0].startsWith(
                line(QStringLiteral("Excerpt"), expected.value(QStringLiteral("title")).toString().section(QLatin1Char('\n'), 0, 0))));
            EXPECT_EQ(lines.filter(QRegularExpression(QStringLiteral("Image, will be saved as: img\\d{4}\\.jpg$"))).size(),
                      totals.value(QStringLiteral("pictures")).toInt());
            EXPECT_TRUE(lines.contains(line(QStringLiteral("Images"), QString::number(totals.value(QStringLiteral("pictures")).toInt()))));
            EXPECT_TRUE(lines.contains(line(QStringLiteral("Tables"), QString::number(totals.value(QStringLiteral("tables")).toInt()))));
            EXPECT_TRUE(lines.filter(QRegularExpression(QStringLiteral("^Error |cannot be found"))).isEmpty());
        }
    }
}

// A file the analysis cannot read ends it with one error line that says why, right after the
// line naming the file.
TEST_F(FormattingAnalysis, AFileThatCannotBeReadGivesOneClearErrorLine)
{
    QByteArray ole2("\xD0\xCF\x11\xE0\xA1\xB1\x1A\xE1", 8);
    ole2.append(QByteArray(504, '\0'));
    const QByteArray zip = test::docxFrom(QStringLiteral("<w:p/>"));
    const struct {
        QString name;
        QByteArray bytes;  // empty: the file is not there
        QString reason;
    } cases[] = {
        {QStringLiteral("missing.docx"), QByteArray(), QStringLiteral("does not exist")},
        {QStringLiteral("old label.doc"), ole2, QStringLiteral("save it as a Word document (.docx)")},
        {QStringLiteral("label.rtf"), QByteArray("{\\rtf1\\ansi label}"), QStringLiteral("save it as a Word document (.docx)")},
        {QStringLiteral("cut.docx"), zip.left(zip.size() / 2), QString()},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name.toStdString());
        const QString path = dir.file(c.name);
        if (!c.bytes.isEmpty()) {
            QFile file(path);
            ASSERT_TRUE(file.open(QIODevice::WriteOnly));
            file.write(c.bytes);
        }
        AnalyzeDocumentFormatting(path, QStringLiteral("Heading 1"), QString(), QStringLiteral("Heading 2"));
        const QStringList lines = logLines();
        ASSERT_EQ(lines.size(), 4) << lines.join(QLatin1Char('\n')).toStdString();
        EXPECT_EQ(lines[2], line(QStringLiteral("Information"), QStringLiteral("Opening File: ") + path));
        EXPECT_TRUE(lines[3].startsWith(line(QStringLiteral("Error"), QStringLiteral("Word Document "))));
        EXPECT_TRUE(lines[3].contains(c.reason)) << lines[3].toStdString();
    }
}
