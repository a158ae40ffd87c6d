// The conversion from a label document to SPL sections, on documents written by the
// document layer's own writer.
#include "WordImportTestSupport.h"

#include "platform/word/DocxWriter.h"
#include "support/DocxFixture.h"

using namespace veldra;
using namespace veldra::test;

namespace {

word::DocxWriter label()
{
    word::DocxWriter w;
    w.addParagraph("Heading 1", "INDICATIONS AND USAGE");
    w.addParagraph("", "Lowers cholesterol & triglycerides.");
    const int numbers = w.addList(word::DocxWriter::ListKind::Numbered);
    w.addListParagraph(numbers, "First step");
    w.addListParagraph(numbers, "Second step");
    w.addParagraph("", "After the numbered list.");
    w.addParagraph("Heading 2", "Adults");
    const int bullets = w.addList(word::DocxWriter::ListKind::Bulleted);
    w.addListParagraph(bullets, "Once daily");
    w.addListParagraph(bullets, "With food");
    w.addTable({{"Dose", "Effect"}, {"10 mg", "39%"}});
    w.addParagraph("", "After the table.");
    w.addParagraph("Heading 1", "CONTRAINDICATIONS");
    w.addParagraph("Heading 1", "WARNINGS AND PRECAUTIONS");
    w.addParagraph("", "Revised: 01/2024");
    return w;
}

} // namespace

class ConversionDriverTest : public WordImportTest {};

TEST_F(ConversionDriverTest, SectionsSubsectionsListsAndTablesArriveInOrderWithNothingDropped)
{
    clsWord word;
    const std::optional<xml::Document> spl = convert(word, save(label()));
    ASSERT_TRUE(spl) << logLines().join('\n').toStdString();

    const xml::Node indications = section(*spl, "INDICATIONS AND USAGE");
    ASSERT_TRUE(indications);
    const xml::Node text = indications.selectSingleNode("text");
    QStringList blocks;
    for (const xml::Node& child : text.childNodes()) {
        QStringList parts;  // a list's items one by one, other blocks whole
        for (const xml::Node& item : child.selectNodes("item"))
            parts << item.text().simplified();
        blocks << child.nodeName() + ":" + (parts.isEmpty() ? child.text().simplified() : parts.join(" | "));
    }
    EXPECT_EQ(blocks, QStringList({"paragraph:Lowers cholesterol & triglycerides.", "list:First step | Second step",
                                   "paragraph:After the numbered list."}));
    EXPECT_EQ(text.selectSingleNode("list").getAttribute("listType"), "ordered");

    const xml::Node adults = indications.selectSingleNode("component/section[title='Adults']");
    ASSERT_TRUE(adults) << spl->xml().toStdString();
    const xml::Node adultsText = adults.selectSingleNode("text");
    EXPECT_EQ(adultsText.selectSingleNode("list").getAttribute("listType"), "unordered");
    EXPECT_EQ(adultsText.selectNodes("list/item").length(), 2);
    EXPECT_EQ(adultsText.selectNodes("table/thead/tr/td").length(), 2);
    EXPECT_EQ(adultsText.selectSingleNode("table/tbody/tr/td").text().trimmed(), "10 mg");
    EXPECT_EQ(adultsText.selectSingleNode("table/thead/tr/td").getAttribute("styleCode"), "Toprule Botrule Lrule Rrule");
    EXPECT_EQ(adultsText.lastChild().text().simplified(), "After the table.");

    // A header right after a header starts its own section, and the last paragraph counts.
    EXPECT_TRUE(section(*spl, "CONTRAINDICATIONS"));
    const xml::Node warnings = section(*spl, "WARNINGS AND PRECAUTIONS");
    ASSERT_TRUE(warnings);
    EXPECT_EQ(warnings.selectSingleNode("text/paragraph").text().trimmed(), "Revised: 01/2024");
    EXPECT_TRUE(linesOf(logLines(), "Error").isEmpty()) << logLines().join('\n').toStdString();
}

TEST_F(ConversionDriverTest, AHeaderNumberedLikeTheListBeforeItStartsItsOwnSection)
{
    DocxParts parts;
    parts.styles = labelStyles();
    parts.numbering = "<w:abstractNum w:abstractNumId=\"0\"><w:lvl w:ilvl=\"0\"><w:start w:val=\"1\"/><w:numFmt w:val=\"decimal\"/>"
                      "<w:lvlText w:val=\"%1.\"/></w:lvl></w:abstractNum><w:num w:numId=\"1\"><w:abstractNumId w:val=\"0\"/></w:num>";
    const QString numberedPr = "<w:numPr><w:ilvl w:val=\"0\"/><w:numId w:val=\"1\"/></w:numPr>";
    const QString body = styled("Heading1", "INDICATIONS AND USAGE") + para("One", numberedPr) + para("Two", numberedPr)
                         + "<w:p><w:pPr><w:pStyle w:val=\"Heading1\"/>" + numberedPr
                         + "</w:pPr><w:r><w:t>CONTRAINDICATIONS</w:t></w:r></w:p>" + para("None known.");
    clsWord word;
    const std::optional<xml::Document> spl = convert(word, save(docxFrom(body, parts)));
    ASSERT_TRUE(spl);
    EXPECT_EQ(section(*spl, "INDICATIONS AND USAGE").selectNodes("text/list/item").length(), 2);
    EXPECT_EQ(section(*spl, "CONTRAINDICATIONS").selectSingleNode("text/paragraph").text().trimmed(), "None known.");
}
