// The conversion from a label document to SPL sections, on documents written by the
// document layer's own writer.
#include "WordImportTestSupport.h"

#include "platform/word/DocxWriter.h"
#include "support/DocxFixture.h"

#include <QRegularExpression>
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
    DocxParts parts;
    parts.styles = labelStyles();
    const QString indications = heading(1, "INDICATIONS AND USAGE") + para("Indicated.");
    const struct {
        const char* name;
        QString body;
        QStringList titles;                       // the top-level sections in order
        QList<std::pair<QString, QString>> texts;  // path (positions from 0): its text, blanks collapsed
        QString warning;                          // a "Warning" line that must be there
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
        {"a subsection titled like a later section keeps to its own",
         heading(1, "PRECAUTIONS") + heading(2, "Drug Interactions") + para("Under precautions.")
             + heading(1, "DRUG INTERACTIONS") + para("The section.") + heading(2, "Warfarin") + para("Bleeding."),
         {"PRECAUTIONS", "DRUG INTERACTIONS"},
         {{sectionWith("PRECAUTIONS") + "/component/section/text", "Under precautions."},
          {sectionWith("DRUG INTERACTIONS") + "/text", "The section."},
          {sectionWith("DRUG INTERACTIONS") + "/@ID", "DRUG-INTERACTIONS"},
          {sectionWith("DRUG INTERACTIONS") + "/component/section[title='Warfarin']/text", "Bleeding."}},
         ""},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        closeLog();
        clsWord word;
        // The last paragraph of a document is never content: an empty one closes each label.
        const std::optional<xml::Document> spl = convert(word, save(docxFrom(c.body + para(""), parts)));
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
        if (!c.warning.isEmpty())
            EXPECT_EQ(linesOf(logLines(), "Warning").filter(c.warning).size(), 1) << logLines().join('\n').toStdString();
    }
}

namespace {

// Styles, lists and a picture of the kind real labels carry: list styles (one inherited
// through basedOn), a numbering style that a linked list takes its levels from, and a
// heading whose id is not the English one.
DocxParts realWordParts()
{
    DocxParts parts;
    const auto numbered = [](int numId, const QString& more = QString()) {
        return QStringLiteral("<w:pPr><w:numPr>%1<w:numId w:val=\"%2\"/></w:numPr></w:pPr>").arg(more).arg(numId);
    };
    parts.styles =
        labelStyles()
        + "<w:style w:type=\"paragraph\" w:styleId=\"berschrift1\"><w:name w:val=\"heading 1\"/></w:style>"
          "<w:style w:type=\"paragraph\" w:styleId=\"ListBullet\"><w:name w:val=\"List Bullet\"/>" + numbered(1) + "</w:style>"
          "<w:style w:type=\"paragraph\" w:styleId=\"ListNumber\"><w:name w:val=\"List Number\"/>"
        + numbered(2, "<w:ilvl w:val=\"0\"/>") + "</w:style>"
          "<w:style w:type=\"paragraph\" w:customStyle=\"1\" w:styleId=\"LabelBullet\"><w:name w:val=\"Label Bullet\"/>"
          "<w:basedOn w:val=\"ListBullet\"/></w:style>"
          "<w:style w:type=\"paragraph\" w:styleId=\"ListParagraph\"><w:name w:val=\"List Paragraph\"/></w:style>"
          "<w:style w:type=\"numbering\" w:customStyle=\"1\" w:styleId=\"LabelList\"><w:name w:val=\"Label List\"/>"
        + numbered(4) + "</w:style>";
    const auto level = [](int ilvl, const char* format, const QString& text, const char* font) {
        return QStringLiteral("<w:lvl w:ilvl=\"%1\"><w:start w:val=\"1\"/><w:numFmt w:val=\"%2\"/><w:lvlText w:val=\"%3\"/>"
                              "<w:rPr><w:rFonts w:ascii=\"%4\" w:hAnsi=\"%4\"/></w:rPr></w:lvl>")
            .arg(ilvl).arg(QLatin1String(format), text, QLatin1String(font));
    };
    parts.numbering = "<w:abstractNum w:abstractNumId=\"0\">" + level(0, "bullet", QChar(0xF0B7), "Symbol")
                      + level(1, "bullet", QChar(0xF0A7), "Wingdings") + "</w:abstractNum>"
                      + "<w:abstractNum w:abstractNumId=\"1\">" + level(0, "decimal", "%1.", "Arial") + "</w:abstractNum>"
                      + "<w:abstractNum w:abstractNumId=\"2\"><w:numStyleLink w:val=\"LabelList\"/></w:abstractNum>"
                      + "<w:abstractNum w:abstractNumId=\"3\"><w:styleLink w:val=\"LabelList\"/>"
                      + level(0, "bullet", QChar(0xF0A7), "Wingdings") + "</w:abstractNum>"
                      + "<w:num w:numId=\"1\"><w:abstractNumId w:val=\"0\"/></w:num>"
                        "<w:num w:numId=\"2\"><w:abstractNumId w:val=\"1\"/></w:num>"
                        "<w:num w:numId=\"3\"><w:abstractNumId w:val=\"2\"/></w:num>"
                        "<w:num w:numId=\"4\"><w:abstractNumId w:val=\"3\"/></w:num>"
                        "<w:abstractNum w:abstractNumId=\"5\"><w:lvl w:ilvl=\"0\"><w:numFmt w:val=\"bullet\"/>"
                        "<w:lvlText w:val=\"\"/><w:lvlPicBulletId w:val=\"0\"/></w:lvl></w:abstractNum>"
                        "<w:num w:numId=\"5\"><w:abstractNumId w:val=\"5\"/></w:num>";
    parts.relationships = relationship("rIdImg", "image", "media/a.png")
                          + relationship("rIdLink", "hyperlink", "https://example.org/", true);
    parts.parts.insert("word/media/a.png", pngBytes(4, 2, 0x00ff00));
    const auto notes = [](const char* kind, const QString& inner) {
        return QStringLiteral("<w:%1s xmlns:w=\"http://schemas.openxmlformats.org/wordprocessingml/2006/main\">"
                              "<w:%1 w:type=\"separator\" w:id=\"-1\"><w:p><w:r><w:separator/></w:r></w:p></w:%1>%2</w:%1s>")
            .arg(QLatin1String(kind), inner)
            .toUtf8();
    };
    parts.parts.insert("word/footnotes.xml",
                       notes("footnote", "<w:footnote w:id=\"1\"><w:p><w:r><w:footnoteRef/></w:r><w:r><w:t xml:space=\"preserve\">"
                                         " Seen in adults</w:t></w:r></w:p><w:p><w:r><w:t>over 65</w:t></w:r></w:p></w:footnote>"));
    parts.parts.insert("word/endnotes.xml",
                       notes("endnote", "<w:endnote w:id=\"2\"><w:p><w:r><w:endnoteRef/></w:r><w:r><w:t>Counted once"
                                        "</w:t></w:r></w:p></w:endnote>"));
    parts.relationships += relationship("rIdFoot", "footnotes", "footnotes.xml") + relationship("rIdEnd", "endnotes", "endnotes.xml");
    return parts;
}

QString styledRun(const QString& styleId, const QString& runs)
{
    return QStringLiteral("<w:p><w:pPr><w:pStyle w:val=\"%1\"/></w:pPr>%2</w:p>").arg(styleId, runs);
}

QString picture(const char* placement)
{
    return QStringLiteral("<w:drawing><wp:%1><wp:extent cx=\"914400\" cy=\"457200\"/><wp:docPr id=\"1\" name=\"p\"/>"
                          "<a:graphic><a:graphicData uri=\"http://schemas.openxmlformats.org/drawingml/2006/picture\">"
                          "<pic:pic><pic:blipFill><a:blip r:embed=\"rIdImg\"/></pic:blipFill></pic:pic></a:graphicData>"
                          "</a:graphic></wp:%1></w:drawing>")
        .arg(QLatin1String(placement));
}

QString textBox(const QString& blocks)
{
    return "<w:drawing><wp:anchor><wp:extent cx=\"914400\" cy=\"457200\"/><wp:docPr id=\"2\" name=\"t\"/><a:graphic>"
           "<a:graphicData uri=\"http://schemas.microsoft.com/office/word/2010/wordprocessingShape\"><wps:wsp><wps:txbx>"
           "<w:txbxContent>" + blocks + "</w:txbxContent></wps:txbx></wps:wsp></a:graphicData></a:graphic></wp:anchor></w:drawing>";
}

// A floating group of a picture and a text box, as a callout is drawn.
QString drawnGroup(const QString& blocks)
{
    return "<w:drawing><wp:anchor><wp:extent cx=\"914400\" cy=\"457200\"/><wp:docPr id=\"3\" name=\"g\"/><a:graphic>"
           "<a:graphicData uri=\"http://schemas.microsoft.com/office/word/2010/wordprocessingGroup\">"
           "<wpg:wgp xmlns:wpg=\"http://schemas.microsoft.com/office/word/2010/wordprocessingGroup\"><pic:pic><pic:blipFill>"
           "<a:blip r:embed=\"rIdImg\"/></pic:blipFill><pic:spPr><a:xfrm><a:ext cx=\"12700\" cy=\"12700\"/></a:xfrm>"
           "</pic:spPr></pic:pic><wps:wsp><wps:txbx><w:txbxContent>" + blocks + "</w:txbxContent></wps:txbx></wps:wsp>"
           "</wpg:wgp></a:graphicData></a:graphic></wp:anchor></w:drawing>";
}

QString vmlTextBox(const QString& blocks)
{
    return "<w:pict><v:shape style=\"position:absolute;width:72pt;height:36pt\"><v:textbox><w:txbxContent>" + blocks
           + "</w:txbxContent></v:textbox></v:shape></w:pict>";
}

QString tableOf(const QString& cells)
{
    return "<w:tbl><w:tr>" + cells + "</w:tr></w:tbl>";
}

QString cell(const QString& blocks)
{
    return "<w:tc>" + blocks + "</w:tc>";
}

QStringList tokens(const QString& text)
{
    static const QRegularExpression word(QStringLiteral("\\w+"), QRegularExpression::UseUnicodePropertiesOption);
    QStringList words;
    for (auto it = word.globalMatch(text.toLower()); it.hasNext();)
        words << it.next().captured();
    return words;
}

// The words that `want` holds and `got` lacks or holds out of order.
QStringList wordsNotInOrder(const QStringList& want, const QStringList& got)
{
    QStringList missing;
    qsizetype at = 0;
    for (const QString& word : want) {
        const qsizetype found = got.indexOf(word, at);
        if (found < 0)
            missing << word;
        else
            at = found + 1;
    }
    return missing;
}

} // namespace

// Constructs that real Word documents are full of and small test files lack: every word,
// list item, picture and table of them reaches the built label, in order, and nothing twice.
TEST_F(ConversionDriverTest, RealWordConstructsKeepTheirWordsListsAndPictures)
{
    const DocxParts parts = realWordParts();
    const QString r = "<w:r><w:t xml:space=\"preserve\">%1</w:t></w:r>";
    const QString img = "<w:r>" + picture("inline") + "</w:r>";
    const struct {
        const char* name;
        QString body;
        QString words;          // in this order, in the built label's sections
        QString absent;         // words that must not be there
        QStringList items;      // every list item outside tables: list type, ":" and its text
        int pictures = 0;
        int tables = 0;
    } cases[] = {
        {"list items numbered by their style", styled("ListBullet", "Aspirin") + styled("ListBullet", "Ibuprofen"),
         "Aspirin Ibuprofen", "", {"unordered:Aspirin", "unordered:Ibuprofen"}},
        {"numbered by a style", styled("ListNumber", "Take") + styled("ListNumber", "Swallow"), "Take Swallow", "",
         {"ordered:Take", "ordered:Swallow"}},
        {"numbered through basedOn", styled("LabelBullet", "Rash") + styled("LabelBullet", "Itch"), "Rash Itch", "",
         {"unordered:Rash", "unordered:Itch"}},
        {"List Paragraph with its own numbering",
         para("Fever", "<w:pStyle w:val=\"ListParagraph\"/><w:numPr><w:ilvl w:val=\"0\"/><w:numId w:val=\"2\"/></w:numPr>"),
         "Fever", "", {"ordered:Fever"}},
        {"numbering 0 turns the style's list off",
         para("Plain", "<w:pStyle w:val=\"ListBullet\"/><w:numPr><w:numId w:val=\"0\"/></w:numPr>"), "Plain", "", {}},
        {"a level set on the paragraph, the list from its style",
         para("Nested", "<w:pStyle w:val=\"ListBullet\"/><w:numPr><w:ilvl w:val=\"1\"/></w:numPr>"), "Nested", "",
         {"unordered:Nested"}},
        {"a list whose levels come from a numbering style",
         para("Linked", "<w:numPr><w:ilvl w:val=\"0\"/><w:numId w:val=\"3\"/></w:numPr>"), "Linked", "",
         {"unordered:Linked"}},
        {"picture bullets", para("Pictured", "<w:numPr><w:ilvl w:val=\"0\"/><w:numId w:val=\"5\"/></w:numPr>"),
         "Pictured", "", {"unordered:Pictured"}},
        {"pictures in list items, headings and beside text in a cell",
         "<w:p><w:pPr><w:pStyle w:val=\"ListBullet\"/></w:pPr>" + img + r.arg("First") + "</w:p>"
             + "<w:p><w:pPr><w:pStyle w:val=\"ListBullet\"/></w:pPr>" + r.arg("Second") + img + "</w:p>"
             + styledRun("Heading2", r.arg("Carton") + img) + para("Below")
             + tableOf(cell("<w:p>" + r.arg("Figure one") + img + "</w:p>")),
         "First Second Carton Below Figure one", "", {"unordered:First", "unordered:Second"}, 4, 1},
        {"content controls around blocks and runs",
         "<w:sdt><w:sdtPr/><w:sdtContent>" + para("Blocked") + "</w:sdtContent></w:sdt><w:p>" + r.arg("Before ")
             + "<w:sdt><w:sdtContent>" + r.arg("inside") + "</w:sdtContent></w:sdt>" + r.arg(" after") + "</w:p>",
         "Blocked Before inside after"},
        {"smart tags and custom XML", "<w:customXml w:element=\"x\">" + para("Wrapped") + "</w:customXml><w:p><w:smartTag>"
             + r.arg("Tagged") + "</w:smartTag> <w:customXml>" + r.arg(" custom") + "</w:customXml></w:p>",
         "Wrapped Tagged custom"},
        {"tracked changes read as accepted",
         "<w:p>" + r.arg("Kept ") + "<w:ins>" + r.arg("inserted ") + "</w:ins><w:del><w:r><w:delText>deleted</w:delText></w:r>"
             "</w:del><w:moveFrom><w:r><w:t>movedaway</w:t></w:r></w:moveFrom><w:moveTo>" + r.arg("moved") + "</w:moveTo></w:p>",
         "Kept inserted moved", "deleted movedaway"},
        {"fields show their results",
         "<w:p>" + r.arg("Page ") + "<w:fldSimple w:instr=\" PAGE \">" + r.arg("seven") + "</w:fldSimple>"
             + r.arg(" see ") + "<w:r><w:fldChar w:fldCharType=\"begin\"/></w:r><w:r><w:instrText> REF _Ref1 \\h "
             "</w:instrText></w:r><w:r><w:fldChar w:fldCharType=\"separate\"/></w:r>" + r.arg("Section two")
             + "<w:r><w:fldChar w:fldCharType=\"end\"/></w:r></w:p>",
         "Page seven see Section two", "REF Ref1"},
        {"hyperlinks and bookmarks",
         "<w:p><w:bookmarkStart w:id=\"1\" w:name=\"dose\"/>" + r.arg("Visit ") + "<w:hyperlink r:id=\"rIdLink\">"
             + r.arg("example site") + "</w:hyperlink><w:bookmarkEnd w:id=\"1\"/></w:p>",
         "Visit example site"},
        {"symbols, hyphens, tabs and breaks keep words apart",
         "<w:p>" + r.arg("dose") + "<w:r><w:sym w:font=\"Symbol\" w:char=\"F0B3\"/></w:r>" + r.arg("2 once")
             + "<w:r><w:noBreakHyphen/></w:r>" + r.arg("daily pedi") + "<w:r><w:softHyphen/></w:r>" + r.arg("atric")
             + "<w:r><w:tab/></w:r>" + r.arg("tabbed") + "<w:r><w:cr/></w:r>" + r.arg("returned") + "</w:p>",
         "dose 2 once daily pediatric tabbed returned"},
        {"alternate content read once",
         "<w:p><mc:AlternateContent><mc:Choice Requires=\"wps\">" + r.arg("Chosen") + "</mc:Choice><mc:Fallback>"
             + r.arg("Chosen") + "</mc:Fallback></mc:AlternateContent>" + r.arg(" once") + "</w:p>",
         "Chosen once", "Chosen"},
        {"pictures in line and floating", "<w:p>" + img + "<w:r>" + picture("anchor") + "</w:r>" + r.arg("Carton") + "</w:p>",
         "Carton", "", {}, 2},
        {"a picture inside alternate content, read once",
         "<w:p><w:r><mc:AlternateContent><mc:Choice Requires=\"wps\">" + picture("anchor")
             + "</mc:Choice><mc:Fallback><w:pict><v:shape style=\"width:72pt;height:36pt\"><v:imagedata r:id=\"rIdImg\"/>"
               "</v:shape></w:pict></mc:Fallback></mc:AlternateContent></w:r></w:p>",
         "", "", {}, 1},
        {"a legacy picture", "<w:p><w:r><w:pict><v:shape style=\"width:72pt;height:36pt\"><v:imagedata r:id=\"rIdImg\"/>"
                             "</v:shape></w:pict></w:r></w:p>",
         "", "", {}, 1},
        {"a picture in a table", tableOf(cell(para("Label")) + cell("<w:p>" + img + "</w:p>")), "Label", "", {}, 1, 1},
        {"text boxes keep their text, their pictures and their lists",
         "<w:p>" + r.arg("Anchor ") + "<w:r><mc:AlternateContent><mc:Choice Requires=\"wps\">"
             + textBox(para("Boxed words") + "<w:p>" + img + "</w:p>" + styled("ListBullet", "Boxed item"))
             + "</mc:Choice><mc:Fallback>" + vmlTextBox(para("Boxed words")) + "</mc:Fallback></mc:AlternateContent></w:r></w:p>"
             + "<w:p><w:r>" + vmlTextBox(para("Legacy box")) + "</w:r></w:p>",
         "Anchor Boxed words Boxed item Legacy box", "", {"unordered:Boxed item"}, 1},
        {"a drawn group's pictures and text boxes",
         "<w:p><w:r>" + drawnGroup(para("Callout")) + "</w:r></w:p><w:p><w:r><w:pict><v:group style=\"width:72pt;height:72pt\">"
             "<v:shape style=\"width:500;height:500\"><v:imagedata r:id=\"rIdImg\"/></v:shape><v:shape><v:textbox><w:txbxContent>"
             + para("Legacy callout") + "</w:txbxContent></v:textbox></v:shape></v:group></w:pict></w:r></w:p>",
         "Callout Legacy callout", "", {}, 2},
        {"tables inside content controls, nested tables and controls in cells",
         "<w:sdt><w:sdtContent>" + tableOf(cell(para("Outer")) + cell(tableOf(cell(para("Inner"))) + para("")))
             + "</w:sdtContent></w:sdt>" + para("Between")
             + tableOf(cell("<w:sdt><w:sdtContent>" + para("Controlled") + "</w:sdtContent></w:sdt>")),
         "Outer Inner Between Controlled", "", {}, 0, 2},
        {"a title that names no section is text of the section it stands in",
         para("Before") + styled("Title", "Dosing Card") + para("Read this card") + styled("Title", "Dosing Card")
             + heading(2, "Adults") + styled("Title", "Adult Card") + para("Read it too"),
         "Before Dosing Card Read this card Dosing Card Adults Adult Card Read it too"},
        {"footnotes and endnotes",
         "<w:p>" + r.arg("Nausea") + "<w:r><w:rPr><w:vertAlign w:val=\"superscript\"/></w:rPr><w:footnoteReference w:id=\"1\"/></w:r>" + r.arg(" rate") + "</w:p>"
             + tableOf(cell("<w:p>" + r.arg("Dose") + "<w:r><w:endnoteReference w:id=\"2\"/></w:r></w:p>")),
         "Nausea Seen in adults over 65 rate Dose Counted once", "", {}, 0, 1},
        {"an outline level alone makes no heading: its words stay in the section before",
         para("Outlined", "<w:outlineLvl w:val=\"0\"/>") + para("After"), "Outlined After"},
        {"a list ends where a table starts", styled("ListBullet", "Listed") + tableOf(cell(styled("ListBullet", "Celled"))),
         "Listed Celled", "", {"unordered:Listed"}, 0, 1},
        {"a boxed heading in a table",
         tableOf(cell(heading(1, "WARNING: BOXED") + para("Boxed text"))) + para("Outside"),
         "WARNING BOXED Boxed text Outside", "", {}, 0, 1},
        {"a heading known by its style's name, split over runs, bookmarks and fields",
         styledRun("berschrift1", "<w:bookmarkStart w:id=\"5\" w:name=\"_Toc1\"/>" + r.arg("WARNINGS") + "<w:bookmarkEnd w:id=\"5\"/>"
                                      + r.arg(" AND ") + "<w:fldSimple w:instr=\" QUOTE x \">" + r.arg("PRECAUTIONS")
                                      + "</w:fldSimple>") + para("Careful.")
             + styledRun("Heading2", r.arg("Long") + "<w:r><w:noBreakHyphen/></w:r>" + r.arg("term use")) + para("Rarely."),
         "WARNINGS AND PRECAUTIONS Careful Long term use Rarely"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        closeLog();
        clsWord word;
        const std::optional<xml::Document> spl =
            convert(word, save(docxFrom(heading(1, "INDICATIONS AND USAGE") + c.body + para(""), parts)));
        ASSERT_TRUE(spl) << logLines().join('\n').toStdString();
        const xml::Node body = spl->selectSingleNode("document/component/structuredBody");
        QStringList texts;  // block by block: the text nodes of one word never split here
        for (const xml::Node& text : body.selectNodes(".//text()"))
            texts << text.text();
        const QStringList got = tokens(texts.join(' '));
        EXPECT_EQ(wordsNotInOrder(tokens(c.words), got), QStringList()) << got.join(' ').toStdString();
        for (const QString& gone : tokens(c.absent))
            EXPECT_EQ(got.count(gone), c.words.contains(gone, Qt::CaseInsensitive) ? 1 : 0) << gone.toStdString();
        QStringList items;
        for (const xml::Node& item : body.selectNodes(".//list/item")) {
            bool inCell = false;  // lists in table cells are another test's
            for (xml::Node up = item.parentNode(); up && !inCell; up = up.parentNode())
                inCell = up.localName() == QLatin1String("td");
            if (!inCell)
                items << item.parentNode().getAttribute("listType") + ":" + item.text().simplified();
        }
        EXPECT_EQ(items, c.items);
        EXPECT_EQ(body.selectNodes(".//observationMedia").length(), c.pictures);
        for (const xml::Node& title : body.selectNodes(".//section/title"))
            EXPECT_FALSE(title.text().contains('/')) << title.text().toStdString();  // a picture's character
        EXPECT_EQ(body.selectNodes(".//table").length(), c.tables);
        EXPECT_EQ(body.selectNodes(".//sup/*").length() + body.selectNodes(".//sub/*").length(), 0);  // text only
    }
}
