// Character and paragraph properties resolved through the style chain, and style names
// as the user sees them.
#include "support/DocxFixture.h"

#include <gtest/gtest.h>

using namespace veldra;
using namespace veldra::word;

namespace {

QString style(const QString& type, const QString& id, const QString& name, const QString& inner = QString(),
              const QString& attributes = QString())
{
    return QStringLiteral("<w:style w:type=\"%1\" w:styleId=\"%2\"%3><w:name w:val=\"%4\"/>%5</w:style>")
        .arg(type, id, attributes, name, inner);
}

QString run(const QString& text, const QString& properties = QString())
{
    return QStringLiteral("<w:r><w:rPr>%1</w:rPr><w:t xml:space=\"preserve\">%2</w:t></w:r>").arg(properties, text);
}

QString p(const QString& content, const QString& properties = QString())
{
    return QStringLiteral("<w:p><w:pPr>%1</w:pPr>%2</w:p>").arg(properties, content);
}

const QString kStyles =
    QStringLiteral("<w:docDefaults><w:rPrDefault><w:rPr><w:sz w:val=\"22\"/></w:rPr></w:rPrDefault></w:docDefaults>") +
    style("paragraph", "Normal", "Normal", QString(), " w:default=\"1\"") +
    style("paragraph", "Heading1", "heading 1", "<w:basedOn w:val=\"Normal\"/><w:pPr><w:jc w:val=\"center\"/></w:pPr><w:rPr><w:b/></w:rPr>") +
    style("paragraph", "Sub", "Subtitle Custom", "<w:basedOn w:val=\"Heading1\"/><w:rPr><w:i/><w:u w:val=\"double\"/></w:rPr>",
          " w:customStyle=\"1\"") +
    style("paragraph", "CommentText", "annotation text") + style("paragraph", "TOC1", "toc 1") +
    style("paragraph", "lower", "my notes", QString(), " w:customStyle=\"1\"") +
    style("character", "Strong", "Strong", "<w:rPr><w:b/></w:rPr>") +
    style("character", "Emph", "Emphasis", "<w:rPr><w:i/></w:rPr>") +
    style("character", "Hide", "Hidden Text", "<w:rPr><w:vanish/></w:rPr>") +
    style("paragraph", "Big", "Big Text", "<w:rPr><w:sz w:val=\"32\"/></w:rPr>", " w:customStyle=\"1\"") +
    style("character", "Raised", "Raised Mark", "<w:rPr><w:position w:val=\"6\"/><w:sz w:val=\"14\"/></w:rPr>",
          " w:customStyle=\"1\"") +
    style("character", "Small", "Small Print", "<w:rPr><w:sz w:val=\"16\"/></w:rPr>", " w:customStyle=\"1\"") +
    style("table", "Fancy", "Fancy Table",
          "<w:tblPr><w:tblBorders><w:top w:val=\"single\"/><w:bottom w:val=\"single\"/></w:tblBorders></w:tblPr>"
          "<w:tcPr><w:vAlign w:val=\"center\"/></w:tcPr>"
          "<w:tblStylePr w:type=\"firstRow\"><w:rPr><w:b/></w:rPr></w:tblStylePr>");

Document openStyled(const QString& body)
{
    test::DocxParts parts;
    parts.styles = kStyles;
    return test::openDocx(body, parts);
}

} // namespace

TEST(DocxProperties, StyleNamesAreTheNamesTheUserSees)
{
    const Document doc = openStyled(p(run("a"), "<w:pStyle w:val=\"Heading1\"/>") + p(run("b"), "<w:pStyle w:val=\"Sub\"/>") +
                                    p(run("c"), "<w:pStyle w:val=\"CommentText\"/>") + p(run("d"), "<w:pStyle w:val=\"TOC1\"/>") +
                                    p(run("e"), "<w:pStyle w:val=\"lower\"/>") + p(run("f")) +
                                    p(run("g"), "<w:pStyle w:val=\"NoSuchStyle\"/>"));
    QStringList names;
    for (const Paragraph& paragraph : doc.paragraphs())
        names.append(paragraph.style());
    EXPECT_EQ(names, (QStringList{"Heading 1", "Subtitle Custom", "Comment Text", "TOC 1", "my notes", "Normal", "Normal"}));
}

TEST(DocxProperties, CharacterFormattingThroughTheStyleChain)
{
    struct Case {
        const char* name;
        QString paragraphStyle;
        QString runProperties;
        int bold, italic, underline, superscript, subscript;
        QString textAfter = {};         // runs after the run read
    };
    const QString raised = QStringLiteral("<w:position w:val=\"6\"/>");
    const QString lowered = QStringLiteral("<w:position w:val=\"-4\"/>");
    const auto size = [](int halfPoints) { return QStringLiteral("<w:sz w:val=\"%1\"/>").arg(halfPoints); };
    const std::vector<Case> cases{
        {"plain", "", "", False, False, 0, False, False},
        {"from the paragraph style", "Heading1", "", True, False, 0, False, False},
        {"through basedOn", "Sub", "", True, True, underline::Double, False, False},
        {"a character style toggles the paragraph style's bold off", "Heading1", "<w:rStyle w:val=\"Strong\"/>", False, False, 0,
         False, False},
        {"and turns it on in plain text", "", "<w:rStyle w:val=\"Strong\"/>", True, False, 0, False, False},
        {"direct formatting sets it outright", "Heading1", "<w:rStyle w:val=\"Strong\"/><w:b/>", True, False, 0, False, False},
        {"direct off", "Sub", "<w:b w:val=\"0\"/><w:i w:val=\"false\"/><w:u w:val=\"none\"/>", False, False, 0, False, False},
        {"italic toggles", "Sub", "<w:rStyle w:val=\"Emph\"/>", True, False, underline::Double, False, False},
        {"superscript", "", "<w:vertAlign w:val=\"superscript\"/>", False, False, 0, True, False},
        {"subscript and underline kinds", "", "<w:vertAlign w:val=\"subscript\"/><w:u w:val=\"wave\"/>", False, False,
         underline::Wavy, False, True},
        {"raised in a smaller size than the paragraph's text: superscript", "", raised + size(14), False, False, 0, True, False},
        {"lowered in a smaller size: subscript", "", lowered + size(14), False, False, 0, False, True},
        {"raised in the document's default size: a layout nudge", "", raised + size(22), False, False, 0, False, False},
        {"lowered without a size of its own: a nudge", "", lowered, False, False, 0, False, False},
        {"smaller than the document's default but not than the paragraph style's", "Big", raised + size(24), False, False, 0,
         True, False},
        {"raised and smaller through its character style", "", "<w:rStyle w:val=\"Raised\"/>", False, False, 0, True, False},
        {"the vertical alignment wins over the shift", "", "<w:vertAlign w:val=\"subscript\"/>" + raised + size(14), False,
         False, 0, False, True},
        {"compared with the text after it, sized by its own character style", "Big", raised + size(18), False, False, 0, False,
         False, run("mg", "<w:rStyle w:val=\"Small\"/>")},
        {"compared with the text after it, sized by the paragraph style", "Big", raised + size(24), False, False, 0, True, False,
         run("mg")},
        {"a shifted run after it is no text around it", "Big", raised + size(24), False, False, 0, True, False,
         run("a", raised + size(12)) + run("mg", size(28))},
        {"raised with its size given twice, its own first, beside text of the second size", "", raised + size(16) + size(20),
         False, False, 0, True, False, run("mg", size(20))},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const QString pPr = c.paragraphStyle.isEmpty() ? QString() : QStringLiteral("<w:pStyle w:val=\"%1\"/>").arg(c.paragraphStyle);
        const Document doc = openStyled(p(run("xy", c.runProperties) + c.textAfter, pPr));
        const Font font = doc.range(0, 2).font();
        EXPECT_EQ(font.bold(), c.bold);
        EXPECT_EQ(font.italic(), c.italic);
        EXPECT_EQ(font.underline(), c.underline);
        EXPECT_EQ(font.superscript(), c.superscript);
        EXPECT_EQ(font.subscript(), c.subscript);
    }
}

TEST(DocxProperties, MixedRangesAndTheParagraphMark)
{
    const Document doc = openStyled(
        p(run("ab", "<w:b/>") + run("c") + run("hidden", "<w:rStyle w:val=\"Hide\"/>"), "<w:rPr><w:b/><w:i/></w:rPr>"));
    const Range paragraph = doc.paragraphs().first().range();
    EXPECT_EQ(paragraph.text(), QStringLiteral("abc\r"));
    EXPECT_EQ(paragraph.font().bold(), Mixed);
    EXPECT_EQ(paragraph.font().italic(), Mixed);
    EXPECT_EQ(doc.range(0, 2).font().bold(), True);
    const auto characters = paragraph.characters();
    ASSERT_EQ(characters.count(), 4);
    EXPECT_EQ(characters.item(3).font().bold(), False);
    // The mark carries its own formatting.
    EXPECT_EQ(characters.item(4).font().bold(), True);
    EXPECT_EQ(characters.item(4).font().italic(), True);
}

TEST(DocxProperties, AlignmentFromDirectFormattingStylesAndAcrossParagraphs)
{
    const Document doc = openStyled(p(run("a"), "<w:jc w:val=\"both\"/>") + p(run("b"), "<w:pStyle w:val=\"Heading1\"/>") +
                                    p(run("c"), "<w:pStyle w:val=\"Sub\"/><w:jc w:val=\"right\"/>") + p(run("d")));
    const auto paragraphs = doc.paragraphs();
    std::vector<int> alignments;
    for (const Paragraph& paragraph : paragraphs)
        alignments.push_back(paragraph.range().paragraphFormat().alignment());
    EXPECT_EQ(alignments, (std::vector<int>{alignment::Justify, alignment::Center, alignment::Right, alignment::Left}));
    EXPECT_EQ(Range(doc.range(paragraphs.item(1).range().start(), paragraphs.item(2).range().end())).paragraphFormat().alignment(),
              Mixed);
}

TEST(DocxProperties, TableStyleFormatsApplyBelowTheParagraphStyle)
{
    const QString cell = QStringLiteral("<w:tc>%1</w:tc>");
    const Document doc = openStyled(
        QStringLiteral("<w:tbl><w:tblPr><w:tblStyle w:val=\"Fancy\"/><w:tblLook w:firstRow=\"1\"/></w:tblPr>"
                       "<w:tr>%1%2</w:tr><w:tr>%3</w:tr></w:tbl>")
            .arg(cell.arg(p(run("head"))), cell.arg(p(run("head2"), "<w:pStyle w:val=\"Heading1\"/>")), cell.arg(p(run("body")))));
    const Table table = doc.tables().first();
    EXPECT_EQ(table.cell(1, 1).range().font().bold(), True);
    // Table style bold toggled again by the bold paragraph style.
    EXPECT_EQ(table.cell(1, 2).range().font().bold(), False);
    EXPECT_EQ(table.cell(2, 1).range().font().bold(), False);
    EXPECT_EQ(table.cell(2, 1).verticalAlignment(), vertical_alignment::Center);
    EXPECT_TRUE(table.cell(1, 1).border(border::Top));
    EXPECT_FALSE(table.cell(1, 1).border(border::Left));
    EXPECT_TRUE(table.cell(2, 1).border(border::Bottom));
    EXPECT_FALSE(table.cell(1, 1).border(border::Bottom));
}
