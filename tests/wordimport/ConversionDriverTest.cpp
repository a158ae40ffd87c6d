// The conversion from a label document to SPL sections, on documents written by the
// document layer's own writer.
#include "WordImportTestSupport.h"

#include "platform/word/DocxWriter.h"
#include "support/DocxFixture.h"

#include <QSet>

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

namespace {

QString heading(int level, const QString& runs)
{
    return QStringLiteral("<w:p><w:pPr><w:pStyle w:val=\"Heading%1\"/></w:pPr>%2</w:p>").arg(level).arg(runs);
}

QString run(const QString& text)
{
    return QStringLiteral("<w:r><w:t xml:space=\"preserve\">%1</w:t></w:r>").arg(text);
}

QString heading(int level, const char* text)
{
    return heading(level, run(QString::fromUtf8(text)));
}

QString sectionWith(const char* title)
{
    return QStringLiteral("document/component/structuredBody/component/section[title='%1']").arg(QLatin1String(title));
}

} // namespace

// Small labels written the way real ones are: every heading, subsection and paragraph comes
// through, in the label's order, into the section its heading opened, with unique IDs.
TEST_F(ConversionDriverTest, EveryHeadingOfASmallLabelKeepsItsText)
{
    // Lists numbered in the paragraphs (1) and by Word's list styles, "List Bullet 2" a numbering
    // of its own indented deeper; a link out of the document.
    DocxParts parts;
    parts.styles = labelStyles()
                   + "<w:style w:type=\"paragraph\" w:styleId=\"ListBullet\"><w:name w:val=\"List Bullet\"/>"
                     "<w:pPr><w:numPr><w:numId w:val=\"2\"/></w:numPr></w:pPr></w:style>"
                     "<w:style w:type=\"paragraph\" w:styleId=\"ListBullet2\"><w:name w:val=\"List Bullet 2\"/>"
                     "<w:pPr><w:numPr><w:numId w:val=\"3\"/></w:numPr></w:pPr></w:style>";
    const auto bullets = [](int id, int indent) {
        return QStringLiteral("<w:abstractNum w:abstractNumId=\"%1\"><w:lvl w:ilvl=\"0\"><w:numFmt w:val=\"bullet\"/>"
                              "<w:lvlText w:val=\"*\"/><w:pPr><w:ind w:left=\"%2\" w:hanging=\"360\"/></w:pPr></w:lvl>"
                              "</w:abstractNum><w:num w:numId=\"%3\"><w:abstractNumId w:val=\"%1\"/></w:num>")
            .arg(id).arg(indent).arg(id + 1);
    };
    parts.numbering = "<w:abstractNum w:abstractNumId=\"0\">"
                      "<w:lvl w:ilvl=\"0\"><w:start w:val=\"1\"/><w:numFmt w:val=\"decimal\"/><w:lvlText w:val=\"%1.\"/></w:lvl>"
                      "<w:lvl w:ilvl=\"1\"><w:start w:val=\"1\"/><w:numFmt w:val=\"lowerLetter\"/><w:lvlText w:val=\"%2.\"/></w:lvl>"
                      "</w:abstractNum><w:num w:numId=\"1\"><w:abstractNumId w:val=\"0\"/></w:num>"
                      + bullets(1, 360) + bullets(2, 720)
                      + "<w:abstractNum w:abstractNumId=\"3\"><w:lvl w:ilvl=\"0\"><w:numFmt w:val=\"bullet\"/>"
                        "<w:lvlText w:val=\"*\"/></w:lvl></w:abstractNum><w:num w:numId=\"4\"><w:abstractNumId w:val=\"3\"/></w:num>";
    parts.relationships = relationship("rIdSite", "hyperlink", "https://example.org/", true);
    const auto listItem = [](int level, const char* text) {
        return para(QString::fromUtf8(text),
                    QStringLiteral("<w:numPr><w:ilvl w:val=\"%1\"/><w:numId w:val=\"1\"/></w:numPr>").arg(level));
    };
    // Some producers write a paragraph's hanging and left indents as two w:ind elements, the
    // numbering's levels without an indent of their own.
    const auto bulletIndentedTwice = [](const char* text) {
        return para(QString::fromUtf8(text), QStringLiteral("<w:ind w:hanging=\"360\"/><w:ind w:left=\"720\"/>"
                                                            "<w:numPr><w:ilvl w:val=\"0\"/><w:numId w:val=\"4\"/></w:numPr>"));
    };
    const auto cellOf = [](const QString& paragraphs) {
        return "<w:tbl><w:tr><w:tc>" + paragraphs + "</w:tc></w:tr></w:tbl>";
    };
    const QString cellText = sectionWith("INDICATIONS AND USAGE") + "/text/table/tbody/tr/td";
    const QString list = sectionWith("INDICATIONS AND USAGE") + "/text/list";
    const QString indications = heading(1, "INDICATIONS AND USAGE") + para("Indicated.");
    const struct {
        const char* name;
        QString body;
        QStringList titles;                       // the top-level sections in order
        QList<std::pair<QString, QString>> texts;  // path (positions from 0): its text, blanks collapsed
        QString warning;                          // a "Warning" line that must be there
        bool closed = true;                       // false: the body's own last paragraph ends the document
    } cases[] = {
        {"a heading the template lacks is a section of its own, with its subsections",
         indications + heading(1, "Emergency Use Authorization") + para("Authorized.") + heading(2, "Storage")
             + para("Keep cold.") + heading(1, "Geriatric Use") + para("Older.") + heading(1, "CONTRAINDICATIONS")
             + para("None."),
         {"INDICATIONS AND USAGE", "Emergency Use Authorization", "Geriatric Use", "CONTRAINDICATIONS"},
         {{sectionWith("Emergency Use Authorization") + "/text", "Authorized."},
          {sectionWith("Emergency Use Authorization") + "/code/@displayName", "SPL UNCLASSIFIED SECTION"},
          {sectionWith("Emergency Use Authorization") + "/component/section[title='Storage']/text", "Keep cold."},
          {sectionWith("Geriatric Use") + "/code/@code", "34082-8"},
          {sectionWith("Geriatric Use") + "/text", "Older."}},
         "Document Section >Emergency Use Authorization< is not a section of the SPL template: added as a section of its own"},
        {"a warning heading before the first other section is the boxed warning",
         heading(1, "WARNING: SERIOUS INFECTIONS") + para("Boxed.") + indications
             + heading(1, "WARNINGS AND PRECAUTIONS") + para("Careful."),
         {"WARNING: SERIOUS INFECTIONS", "INDICATIONS AND USAGE", "WARNINGS AND PRECAUTIONS"},
         {{sectionWith("WARNING: SERIOUS INFECTIONS") + "/code/@code", "34066-1"},
          {sectionWith("WARNING: SERIOUS INFECTIONS") + "/text", "Boxed."}},
         ""},
        {"a warning heading after another section is no boxed warning",
         indications + heading(1, "WARNING: LATE"),
         {"INDICATIONS AND USAGE", "WARNING: LATE"},
         {{sectionWith("WARNING: LATE") + "/code/@code", "42229-5"}},
         "Document Section >WARNING: LATE<"},
        {"a line break in a heading is a blank",
         heading(1, run("INDICATIONS") + "<w:r><w:br/></w:r>" + run("AND USAGE")) + para("Indicated.")
             + heading(2, run("Use in") + "<w:r><w:br/></w:r>" + run("Adults")) + para("Grown."),
         {"INDICATIONS AND USAGE"},
         {{sectionWith("INDICATIONS AND USAGE") + "/text", "Indicated."},
          {sectionWith("INDICATIONS AND USAGE") + "/component/section[title='Use in Adults']/text", "Grown."}},
         ""},
        {"repeated subsection titles each keep their own text",
         heading(1, "DRUG INTERACTIONS") + heading(2, "Effects") + para("one") + heading(2, "Effects") + para("two")
             + heading(2, "Effects") + para("three"),
         {"DRUG INTERACTIONS"},
         {{sectionWith("DRUG INTERACTIONS") + "/component[0]/section/text", "one"},
          {sectionWith("DRUG INTERACTIONS") + "/component[1]/section/text", "two"},
          {sectionWith("DRUG INTERACTIONS") + "/component[2]/section/text", "three"},
          {sectionWith("DRUG INTERACTIONS") + "/component[2]/section/@ID", "EFFECTS-3"}},
         ""},
        {"an empty heading paragraph is no heading",
         indications + "<w:p><w:pPr><w:pStyle w:val=\"Heading1\"/></w:pPr></w:p>" + para("Still indicated.")
             + heading(1, "CONTRAINDICATIONS") + para("None."),
         {"INDICATIONS AND USAGE", "CONTRAINDICATIONS"},
         {{sectionWith("INDICATIONS AND USAGE") + "/text/paragraph[1]", "Still indicated."}},
         ""},
        {"a heading naming a template section with more words is coded as that section",
         indications + heading(1, "7 DRUG INTERACTIONS") + para("Interacts.")
             + heading(1, "PRINCIPAL DISPLAY PANEL - 10 mg Bottle Label") + para("Ten.")
             + heading(1, "PRINCIPAL DISPLAY PANEL - 20 mg Bottle Label") + para("Twenty."),
         {"INDICATIONS AND USAGE", "7 DRUG INTERACTIONS", "PRINCIPAL DISPLAY PANEL - 10 mg Bottle Label",
          "PRINCIPAL DISPLAY PANEL - 20 mg Bottle Label"},
         {{sectionWith("7 DRUG INTERACTIONS") + "/code/@code", "34073-7"},
          {sectionWith("7 DRUG INTERACTIONS") + "/text", "Interacts."},
          {sectionWith("PRINCIPAL DISPLAY PANEL - 10 mg Bottle Label") + "/code/@code", "51945-4"},
          {sectionWith("PRINCIPAL DISPLAY PANEL - 20 mg Bottle Label") + "/code/@code", "51945-4"},
          {sectionWith("PRINCIPAL DISPLAY PANEL - 20 mg Bottle Label") + "/text", "Twenty."}},
         ""},
        {"a third-level heading stays in its subsection's text as a bold paragraph",
         indications + heading(2, "Adults") + para("Grown.") + heading(3, "Renal Impairment") + para("Lower dose."),
         {"INDICATIONS AND USAGE"},
         {{sectionWith("INDICATIONS AND USAGE") + "/component/section/text/paragraph[1]/content[@styleCode='bold']",
           "Renal Impairment"},
          {sectionWith("INDICATIONS AND USAGE") + "/component/section/text/paragraph[2]", "Lower dose."}},
         ""},
        {"paragraphs before the first section heading are named as not imported",
         para("Under the title.") + para("Rx only") + para("") + indications,
         {"INDICATIONS AND USAGE"},
         {{sectionWith("INDICATIONS AND USAGE") + "/text", "Indicated."}},
         "2 paragraph(s) not imported: they stand before the first section heading: \"Under the title.\", \"Rx only\""},
        {"a subsection titled like a later section keeps to its own",
         heading(1, "PRECAUTIONS") + heading(2, "Drug Interactions") + para("Under precautions.")
             + heading(1, "DRUG INTERACTIONS") + para("The section.") + heading(2, "Warfarin") + para("Bleeding."),
         {"PRECAUTIONS", "DRUG INTERACTIONS"},
         {{sectionWith("PRECAUTIONS") + "/component/section/text", "Under precautions."},
          {sectionWith("DRUG INTERACTIONS") + "/text", "The section."},
          {sectionWith("DRUG INTERACTIONS") + "/@ID", "DRUG-INTERACTIONS"},
          {sectionWith("DRUG INTERACTIONS") + "/component/section[title='Warfarin']/text", "Bleeding."}},
         ""},
        {"a list that ends the document keeps its last items in it",
         indications + listItem(0, "One") + listItem(0, "Two") + listItem(1, "Two a"),
         {"INDICATIONS AND USAGE"},
         {{sectionWith("INDICATIONS AND USAGE") + "/text/list/item[0]", "One"},
          {sectionWith("INDICATIONS AND USAGE") + "/text/list/item[1]/list/item", "Two a"},
          {sectionWith("INDICATIONS AND USAGE") + "/text/list[1]", "<none>"}},
         "",
         false},
        {"a link in a table cell is a link, as in a paragraph",
         indications + cellOf("<w:p>" + run("See ") + "<w:hyperlink w:anchor=\"CONTRAINDICATIONS\">" + run("Contraindications")
                              + "</w:hyperlink>" + run(" and ") + "<w:hyperlink r:id=\"rIdSite\">" + run("the site")
                              + "</w:hyperlink></w:p>")
             + heading(1, "CONTRAINDICATIONS"),
         {"INDICATIONS AND USAGE", "CONTRAINDICATIONS"},
         {{cellText + "/linkHtml[0]/@href", "#CONTRAINDICATIONS"}, {cellText + "/linkHtml[1]", "the site"},
          {cellText + "/linkHtml[1]/@href", "https://example.org/"}},
         ""},
        {"a list in a cell right after a list of another type is a list of its own",
         indications + cellOf(styled("ListBullet", "with food") + listItem(0, "check") + listItem(0, "report")),
         {"INDICATIONS AND USAGE"},
         {{cellText + "/list[0]", "with food"}, {cellText + "/list[1]/@listType", "ordered"},
          {cellText + "/list[1]/item[1]", "report"}},
         ""},
        {"a paragraph without a number between items stays in the item before it, and the list goes on",
         indications + listItem(0, "Before use:") + para("Tell your doctor if you have:") + listItem(1, "asthma")
             + listItem(1, "gout") + para("or any other illness.") + listItem(0, "Take it daily."),
         {"INDICATIONS AND USAGE"},
         {{list + "/item[0]/paragraph[0]", "Tell your doctor if you have:"}, {list + "/item[0]/list/item[1]", "gout"},
          {list + "/item[0]/paragraph[1]", "or any other illness."}, {list + "/item[1]", "Take it daily."},
          {list + "[1]", "<none>"}},
         ""},
        {"items of a list style indented deeper are a list inside the item before them",
         indications + styled("ListBullet", "Aspirin") + styled("ListBullet2", "low dose") + styled("ListBullet2", "high dose")
             + styled("ListBullet", "Warfarin") + para("Take them with water.") + styled("ListBullet", "Heparin")
             + para("Ask about:") + styled("ListBullet2", "bleeding"),
         {"INDICATIONS AND USAGE"},
         {{list + "/item[0]/list/item[1]", "high dose"}, {list + "/item[1]", "Warfarin"}, {list + "/item[2]", "<none>"},
          {sectionWith("INDICATIONS AND USAGE") + "/text/paragraph[1]", "Take them with water."},
          {list + "[1]/item/paragraph", "Ask about:"}, {list + "[1]/item/list/item", "bleeding"}},
         ""},
        {"a deeper level of another numbering at the item's indent is a list inside the item",
         indications + styled("ListBullet", "Aspirin")
             + para("twice daily", "<w:ind w:left=\"360\"/><w:numPr><w:ilvl w:val=\"1\"/><w:numId w:val=\"1\"/></w:numPr>")
             + styled("ListBullet", "Heparin"),
         {"INDICATIONS AND USAGE"},
         {{list + "/item[0]/list/item", "twice daily"}, {list + "/item[1]", "Heparin"}, {list + "[1]", "<none>"}},
         ""},
        {"a paragraph exactly at a bulleted item's indent continues the item",
         indications + styled("ListBullet", "Aspirin") + para("Take it with water.", "<w:ind w:left=\"360\"/>")
             + styled("ListBullet", "Heparin"),
         {"INDICATIONS AND USAGE"},
         {{list + "/item[0]/paragraph", "Take it with water."}, {list + "/item[1]", "Heparin"}, {list + "[1]", "<none>"}},
         ""},
        {"a bulleted item's indent written in two w:ind elements still sets a text below it apart",
         indications + bulletIndentedTwice("Aspirin") + para("Take them with water.") + bulletIndentedTwice("Heparin"),
         {"INDICATIONS AND USAGE"},
         {{list + "/item", "Aspirin"}, {sectionWith("INDICATIONS AND USAGE") + "/text/paragraph[1]", "Take them with water."},
          {list + "[1]/item", "Heparin"}},
         ""},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        closeLog();
        clsWord word;
        word.CheckCrossReferences = 1;
        // Real labels end in an empty paragraph.
        const std::optional<xml::Document> spl =
            convert(word, save(docxFrom(c.closed ? c.body + para("") : c.body, parts)), "Title", "Yes");
        ASSERT_TRUE(spl) << logLines().join('\n').toStdString();
        QStringList titles, ids;
        for (const xml::Node& title : spl->selectNodes("document/component/structuredBody/component/section/title"))
            titles << title.text();
        EXPECT_EQ(titles, c.titles);
        for (const auto& [path, text] : c.texts) {
            const xml::Node node = spl->selectSingleNode(path);
            EXPECT_EQ(node ? node.text().simplified() : "<none>", text) << path.toStdString();
        }
        for (const xml::Node& section : spl->selectNodes("//section"))
            ids << section.getAttribute("ID");
        EXPECT_EQ(QSet<QString>(ids.begin(), ids.end()).size(), ids.size()) << ids.join(' ').toStdString();
        EXPECT_EQ(linesOf(logLines(), "Error"), QStringList()) << logLines().join('\n').toStdString();
        if (!c.warning.isEmpty()) {
            EXPECT_EQ(linesOf(logLines(), "Warning").filter(c.warning).size(), 1) << logLines().join('\n').toStdString();
        }
    }
}
