// Cross references to the numbered references, hyperlinks to sections, the header index
// and the character check, through a whole conversion of a numbered label.
#include "WordImportTestSupport.h"

#include "platform/xml/resources/ResourceResolver.h"
#include "platform/xml/resources/SchemaValidator.h"
#include "support/DocxFixture.h"

using namespace veldra;
using namespace veldra::test;

namespace {

QString heading(int level, int numId, const QString& text)
{
    return QStringLiteral("<w:p><w:pPr><w:pStyle w:val=\"Heading%1\"/><w:numPr><w:ilvl w:val=\"%2\"/><w:numId w:val=\"%3\"/>"
                          "</w:numPr></w:pPr><w:r><w:t xml:space=\"preserve\">%4</w:t></w:r></w:p>")
        .arg(level).arg(level - 1).arg(numId).arg(text);
}

QString entry(const QString& text)
{
    return para(text, "<w:numPr><w:ilvl w:val=\"0\"/><w:numId w:val=\"3\"/></w:numPr>");
}

QString levels(const QString& first, const QString& second = QString())
{
    QString xml = "<w:lvl w:ilvl=\"0\"><w:start w:val=\"1\"/><w:numFmt w:val=\"decimal\"/><w:lvlText w:val=\"" + first
                  + "\"/></w:lvl>";
    if (!second.isEmpty())
        xml += "<w:lvl w:ilvl=\"1\"><w:start w:val=\"1\"/><w:numFmt w:val=\"decimal\"/><w:lvlText w:val=\"" + second
               + "\"/></w:lvl>";
    return xml;
}

DocxParts numberedLabelParts()
{
    DocxParts parts;
    parts.styles = "<w:style w:type=\"character\" w:styleId=\"Hyperlink\"><w:name w:val=\"Hyperlink\"/>"
                   "<w:rPr><w:color w:val=\"0563C1\"/><w:u w:val=\"single\"/></w:rPr></w:style>"
                   "<w:style w:type=\"paragraph\" w:default=\"1\" w:styleId=\"Normal\"><w:name w:val=\"Normal\"/></w:style>"
                   "<w:style w:type=\"paragraph\" w:styleId=\"Heading1\"><w:name w:val=\"heading 1\"/></w:style>"
                   "<w:style w:type=\"paragraph\" w:styleId=\"Heading2\"><w:name w:val=\"heading 2\"/></w:style>";
    const auto start = [](int value) {
        return "<w:lvlOverride w:ilvl=\"0\"><w:startOverride w:val=\"" + QString::number(value) + "\"/></w:lvlOverride>";
    };
    parts.numbering = "<w:abstractNum w:abstractNumId=\"0\"><w:multiLevelType w:val=\"multilevel\"/>" + levels("%1", "%1.%2")
                      + "</w:abstractNum><w:abstractNum w:abstractNumId=\"1\"><w:multiLevelType w:val=\"multilevel\"/>"
                      + levels("%1", "%1.%2") + "</w:abstractNum><w:abstractNum w:abstractNumId=\"2\">" + levels("%1.")
                      + "</w:abstractNum><w:num w:numId=\"1\"><w:abstractNumId w:val=\"0\"/>" + start(6)
                      + "</w:num><w:num w:numId=\"2\"><w:abstractNumId w:val=\"1\"/>" + start(15)
                      + "</w:num><w:num w:numId=\"3\"><w:abstractNumId w:val=\"2\"/></w:num>";
    parts.relationships = relationship("rIdX", "hyperlink", "http://example.com/a?b=1&amp;c=2", true)
                          + relationship("rIdMail", "hyperlink", "MAILTO:safety@example.com", true)
                          + relationship("rIdScript", "hyperlink", "javascript:alert(document.cookie)", true)
                          + relationship("rIdFile", "hyperlink", "file:///etc/passwd", true);
    return parts;
}

QString numberedLabel()
{
    return heading(1, 1, "ADVERSE REACTIONS")
           + heading(2, 1, "Clinical Trials Experience")
           + "<w:p><w:r><w:t xml:space=\"preserve\">Myalgia [</w:t></w:r>"
             "<w:fldSimple w:instr=\" REF _Ref2 \\h \"><w:r><w:t>2</w:t></w:r></w:fldSimple>"
             "<w:r><w:t xml:space=\"preserve\">] and [</w:t></w:r>"
             "<w:fldSimple w:instr=\" REF _Ref6 \\h \"><w:r><w:t>6</w:t></w:r></w:fldSimple>"
             "<w:r><w:t xml:space=\"preserve\">]; see (</w:t></w:r>"
             "<w:hyperlink w:anchor=\"Clinical_Trials\"><w:r><w:t>6.1</w:t></w:r></w:hyperlink>"
             "<w:r><w:t xml:space=\"preserve\">), </w:t></w:r>"
             "<w:hyperlink r:id=\"rIdX\"><w:r><w:rPr><w:rStyle w:val=\"Hyperlink\"/><w:b/></w:rPr><w:t>A &amp; B</w:t></w:r>"
             "</w:hyperlink><w:r><w:t xml:space=\"preserve\">, </w:t></w:r>"
             "<w:hyperlink r:id=\"rIdMail\"><w:r><w:t>Write</w:t></w:r></w:hyperlink><w:r><w:t xml:space=\"preserve\">, </w:t></w:r>"
             "<w:hyperlink r:id=\"rIdScript\"><w:r><w:t>Run</w:t></w:r></w:hyperlink><w:r><w:t xml:space=\"preserve\">, </w:t></w:r>"
             "<w:hyperlink r:id=\"rIdFile\"><w:r><w:t>Open</w:t></w:r></w:hyperlink>"
             "<w:r><w:t xml:space=\"preserve\"> and @.</w:t></w:r></w:p>"
           + heading(1, 2, "REFERENCES") + entry("Smith J") + entry("Jones K")
           + heading(1, 2, "HOW SUPPLIED/STORAGE AND HANDLING") + para("Bottles of 90.")
           + "<w:p><w:pPr><w:pStyle w:val=\"Heading1\"/></w:pPr><w:r><w:t>PATIENT INFORMATION</w:t></w:r></w:p>"
           + para("Read this leaflet.")
           + "<w:p><w:pPr><w:pStyle w:val=\"Heading2\"/></w:pPr><w:r><w:t>Clinical Trials</w:t></w:r></w:p>"
           + para("Ask your doctor.");
}

QString run(const QString& text, const QString& properties = QString())
{
    return QStringLiteral("<w:r><w:rPr>%1</w:rPr><w:t xml:space=\"preserve\">%2</w:t></w:r>").arg(properties, text);
}

const QString raised = QStringLiteral("<w:vertAlign w:val=\"superscript\"/>");

// A cross reference to the numbered reference of that number.
QString reference(const QString& number, const QString& properties = QString())
{
    return "<w:fldSimple w:instr=\" REF _Ref" + number + " \\h \">" + run(number, properties) + "</w:fldSimple>";
}

// The schema's verdict on a built section's text standing in a real label, read as its file
// would be.
xml::SchemaCheck checkInALabel(const xml::Node& text)
{
    xml::Document label;
    EXPECT_TRUE(label.load(fixture(QStringLiteral("spl-documents/openfda-cough-otc/cough.xml"))));
    const xml::Node former = label.selectSingleNode(QStringLiteral("//section/text"));
    former.parentNode().replaceChild(label.importNode(text, true), former);
    // The test program's own copy of the schema, which a test before may have taken away.
    xml::setLocalRootForTesting(xml::ResourceKind::Schema, fixture(QStringLiteral("spl-schema")));
    return xml::SchemaValidator().validateXml(label.xml());
}

} // namespace

class LinksAndHeadersTest : public WordImportTest {};

TEST_F(LinksAndHeadersTest, CitedReferencesAndSectionLinksBecomeLinksAndTheIndexNumbersTitles)
{
    clsWord word;
    word.CheckCrossReferences = 1;
    word.CheckChars = "#  @";
    const std::optional<xml::Document> spl =
        convert(word, save(docxFrom(numberedLabel(), numberedLabelParts())), "Title", "Yes");
    ASSERT_TRUE(spl) << logLines().join('\n').toStdString();

    EXPECT_EQ(word.CrossReferenceStartIndex, 4);
    EXPECT_EQ(word.CrossReferenceEndIndex, 5);
    const xml::Node paragraph =
        section(*spl, "ADVERSE REACTIONS").selectSingleNode("component/section[title='Clinical Trials Experience']/text/paragraph");
    ASSERT_TRUE(paragraph) << spl->xml().toStdString();
    const QString xml = paragraph.xml().remove('\r').remove('\n');
    EXPECT_TRUE(xml.contains("[<linkHtml href=\"#REFERENCES\">2</linkHtml>]")) << xml.toStdString();
    EXPECT_TRUE(xml.contains("and [6]")) << "a number outside the references stays as it is";
    EXPECT_TRUE(xml.contains("(<linkHtml href=\"#CLINICAL-TRIALS-EXPERIENCE\">6.1</linkHtml>)")) << xml.toStdString();
    // Bold over the whole link stands around it; the link's own underline does not.
    EXPECT_TRUE(xml.contains("<content styleCode=\"bold\"><linkHtml href=\"http://example.com/a?b=1&amp;c=2\">A &amp; B</linkHtml>"
                             "</content>, <linkHtml href=\"MAILTO:safety@example.com\">Write</linkHtml>, Run, Open and"))
        << xml.toStdString();
    // Addresses a browser would run or open locally stay text, and the log names them.
    const QStringList warnings = linesOf(logLines(), "Warning");
    EXPECT_EQ(warnings.filter("javascript:alert(document.cookie)").size(), 1) << warnings.join('\n').toStdString();
    EXPECT_EQ(warnings.filter("file:///etc/passwd").size(), 1);
    EXPECT_EQ(linesOf(logLines(), "Warning").filter("Cross Reference Target unknown").size(), 1);

    // The character check asked once, for the one character present, and said where.
    QStringList asked;
    for (const ui::MessageRequest& m : ui.messages)
        asked << m.text;
    EXPECT_EQ(asked, QStringList({"Character Occurrence found: '@' - Click OK to show Word Document",
                                  "Click OK to Continue SPL Building."}));
    EXPECT_EQ(linesOf(logLines(), "Warning").filter("Character '@' in paragraph 3").size(), 1);

    EXPECT_EQ(word.GetSectiontTitleNumbered("ADVERSE", false), "6 ADVERSE REACTIONS");
    EXPECT_EQ(word.GetSectiontTitleNumbered("Clinical", true), "6.1 Clinical Trials Experience");
    EXPECT_EQ(word.GetSectiontTitleNumbered("Clinical", false), "Clinical");
    EXPECT_EQ(word.GetSectiontTitleNumbered("PATIENT", false), "PATIENT INFORMATION") << "an unnumbered heading";
    EXPECT_EQ(word.GetSectiontTitleNumbered("Clinical Trials", true), "Clinical Trials") << "its own heading, not a longer one";
    EXPECT_EQ(word.FindSectionOrSubSectionHeader("clinical"), "Clinical Trials Experience");
    EXPECT_EQ(word.FindSectionOrSubSectionHeader("re"), "REFERENCES");
    EXPECT_EQ(word.FindSectionOrSubSectionHeader(""), "ADVERSE REACTIONS");
}

TEST_F(LinksAndHeadersTest, WithoutCrossReferencesNothingIsLinked)
{
    clsWord word;
    const std::optional<xml::Document> spl = convert(word, save(docxFrom(numberedLabel(), numberedLabelParts())));
    ASSERT_TRUE(spl);
    EXPECT_EQ(spl->selectNodes("//linkHtml").length(), 0);
    EXPECT_EQ(word.CrossReferenceStartIndex, 0);
}

// Thousands of links to one address of megabytes would copy it into the log and the label at
// every link; thousands of links in one paragraph would search it for minutes. An address too
// long stays text, and so does every link once the links have cost their budget; each is said.
TEST_F(LinksAndHeadersTest, OverlongAddressesAndLinksPastTheirBudgetStayTextWithAMessage)
{
    const auto links = [](int count, const QString& id) {
        QString runs;
        for (int i = 0; i < count; ++i)
            runs += QStringLiteral("<w:hyperlink r:id=\"%1\"><w:r><w:t>L%2</w:t></w:r></w:hyperlink><w:r><w:t xml:space=\"preserve\"> "
                                   "</w:t></w:r>")
                        .arg(id)
                        .arg(i);
        return "<w:p>" + runs + "</w:p>";
    };
    DocxParts parts = numberedLabelParts();
    // The longest address kept: exactly the bound.
    const QString longest = "http://example.com/" + QString(kMaxLinkAddressCharacters - 19, 'b');
    parts.relationships += relationship("rIdLong", "hyperlink", "http://example.com/" + QString(2'000'000, 'a'), true)
                           + relationship("rIdShort", "hyperlink", "http://example.com/", true)
                           + relationship("rIdLongest", "hyperlink", longest, true);
    const QString label = heading(1, 1, "ADVERSE REACTIONS") + links(1, "rIdLongest") + links(10'000, "rIdLong")
                          + links(100, "rIdShort");
    clsWord word;
    word.CheckCrossReferences = 1;
    word.LinkCharacters = 5'000;
    const std::optional<xml::Document> spl = convert(word, save(docxFrom(label, parts)), "Title", "Yes");
    ASSERT_TRUE(spl) << logLines().join('\n').toStdString();

    const QString text = section(*spl, "ADVERSE REACTIONS").selectSingleNode("text").xml();
    EXPECT_TRUE(text.contains("L5000 L5001") && text.contains("L9999")) << "the links' text is kept";
    EXPECT_FALSE(text.contains("aaaa"));
    EXPECT_TRUE(text.contains("href=\"" + longest + "\"")) << "an address of the longest length kept is a link";
    const QStringList warnings = linesOf(logLines(), "Warning");
    EXPECT_EQ(warnings.filter("longer than 2048 characters").size(), 10'000);
    EXPECT_EQ(warnings.filter("cost more than 5000 characters").size(), 1);
    const int made = spl->selectNodes("//linkHtml").length();
    EXPECT_GT(made, 0);
    EXPECT_LT(made, 100);
}

// A link's text is linked where it stands on its own in text: never inside a longer number,
// never in a superscript or subscript, which SPL lets hold text only.
TEST_F(LinksAndHeadersTest, LinksStandOnTheirOwnOutsideRaisedTextAndTheSectionStaysValid)
{
    struct Case {
        const char* name;
        QString paragraph;
        QString expected;
        QString warning; // a line the log must hold about a link left as text; none when empty
    };
    const auto link = [](const QString& text) { return "<w:hyperlink r:id=\"rIdX\">" + run(text) + "</w:hyperlink>"; };
    const QString address = "href=\"http://example.com/a?b=1&amp;c=2\"";
    const std::vector<Case> cases{
        {"a hyperlink \"1\" beside 10 and a raised 1", run("Take 10 mg") + run("1", raised) + run(" as in ") + link("1") + run("."),
         "Take 10 mg<sup>1</sup> as in <linkHtml " + address + ">1</linkHtml>.", ""},
        {"a hyperlink running on into a word", run("See ") + link("Warnings") + run("X."), "See WarningsX.",
         "Hyperlink left as text, its text standing nowhere in the paragraph on its own"},
        {"a cross reference beside a raised citation mark",
         run("Myalgia") + run("[2]", raised) + run(" as in [") + reference("2") + run("]."),
         "Myalgia<sup>[2]</sup> as in [<linkHtml href=\"#REFERENCES\">2</linkHtml>].", "A raised or lowered [2] is left as text"},
        {"a raised cross reference",
         run("Myalgia") + run("[", raised) + reference("2", raised) + run("]", raised) + run(" was seen."),
         "Myalgia<sup>[2]</sup> was seen.", "A raised or lowered [2] is left as text"},
        {"a cross reference out of brackets", run("Myalgia ") + reference("2") + run("."), "Myalgia 2.",
         "Cross Reference left as text, the paragraph holding it nowhere in brackets: [2]"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        closeLog();
        const QString label = heading(1, 1, "ADVERSE REACTIONS") + "<w:p>" + c.paragraph + "</w:p>" + heading(1, 2, "REFERENCES")
                              + entry("Smith J") + entry("Jones K");
        clsWord word;
        word.CheckCrossReferences = 1;
        const std::optional<xml::Document> spl = convert(word, save(docxFrom(label, numberedLabelParts())), "Title", "Yes");
        ASSERT_TRUE(spl) << logLines().join('\n').toStdString();
        const xml::Node text = section(*spl, "ADVERSE REACTIONS").selectSingleNode("text");
        EXPECT_TRUE(text.xml().contains(c.expected)) << text.xml().toStdString();
        const xml::SchemaCheck check = checkInALabel(text);
        EXPECT_TRUE(check.isValid()) << check.reason.toStdString();
        const QStringList leftAsText = linesOf(logLines(), "Warning").filter("left as text");
        EXPECT_EQ(leftAsText.size(), c.warning.isEmpty() ? 0 : 1) << leftAsText.join('\n').toStdString();
        EXPECT_EQ(leftAsText.filter(c.warning).size(), leftAsText.size());
    }
}
// Cross reference fields nested in one another share their results: each is read only within
// the links' budget, so that a small file of nested fields cannot make the conversion read
// (and log) the square of its text.
TEST_F(LinksAndHeadersTest, NestedCrossReferencesAreReadWithinTheLinksBudget)
{
    const int nested = 400;
    const QString opening = "<w:r><w:fldChar w:fldCharType=\"begin\"/></w:r><w:r><w:instrText> REF _Ref2 \\h </w:instrText></w:r>"
                            "<w:r><w:fldChar w:fldCharType=\"separate\"/></w:r><w:r><w:t>2 and more text</w:t></w:r>";
    const QString closing = "<w:r><w:fldChar w:fldCharType=\"end\"/></w:r>";
    const QString label = heading(1, 1, "ADVERSE REACTIONS") + "<w:p>" + opening.repeated(nested) + closing.repeated(nested)
                          + "</w:p>" + heading(1, 2, "REFERENCES") + entry("Smith J") + entry("Jones K");
    clsWord word;
    word.CheckCrossReferences = 1;
    word.LinkCharacters = 50'000;
    const std::optional<xml::Document> spl = convert(word, save(docxFrom(label, numberedLabelParts())), "Title", "Yes");
    ASSERT_TRUE(spl) << logLines().join('\n').toStdString();

    EXPECT_TRUE(section(*spl, "ADVERSE REACTIONS").selectSingleNode("text").text().contains("2 and more text"));
    const QStringList lines = logLines();
    EXPECT_EQ(linesOf(lines, "Warning").filter("cost more than 50000 characters").size(), 1);
    qsizetype logged = 0;
    for (const QString& line : lines.filter("Cross Reference: "))
        logged += line.size();
    EXPECT_LT(logged, 50'000);
}

// Each heading is looked up among the sections made before it and compared with them whole:
// a label of more headings, or more characters in them, than the import takes is refused
// before any section is made, with the count and the limit; one at the limits converts.
TEST_F(LinksAndHeadersTest, ALabelOfMoreHeadingsThanTheImportTakesIsRefusedWithTheCountAndTheLimit)
{
    DocxParts parts;
    parts.styles = labelStyles();
    // Six headings of 108 characters together, their paragraph marks counted.
    const QString label = styled("Title", "HIGHLIGHTS OF PRESCRIBING INFORMATION") + styled("Heading1", "INDICATIONS AND USAGE")
                          + styled("Heading2", "Adults") + para("Text.") + styled("Heading2", "Children")
                          + styled("Heading1", "DOSAGE AND ADMINISTRATION") + para("Text.") + styled("Heading1", "EXTRA");
    const QString path = save(docxFrom(label, parts));
    struct Case {
        int headings;
        qsizetype characters;
        QStringList refusal;  // empty: converts
    };
    const std::vector<Case> cases{
        {6, 108, {}},
        {5, 108, {"has 6 headings in the styles 'Heading 1', 'Heading 2' and 'Title'", "at most 5 section"}},
        {6, 107, {"headings in the styles 'Heading 1', 'Heading 2' and 'Title' hold 108 characters", "at most 107 characters"}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.headings * 1000 + c.characters);
        closeLog();
        clsWord word;
        word.MaxHeadings = c.headings;
        word.MaxHeadingCharacters = c.characters;
        const std::optional<xml::Document> spl = convert(word, path);
        const QStringList refused = linesOf(logLines(), "Fatal Error").filter("headings");
        if (c.refusal.isEmpty()) {
            EXPECT_TRUE(spl && section(*spl, "EXTRA")) << logLines().join('\n').toStdString();
            EXPECT_TRUE(refused.isEmpty());
            continue;
        }
        EXPECT_FALSE(spl);
        ASSERT_EQ(refused.size(), 1) << logLines().join('\n').toStdString();
        for (const QString& part : c.refusal)
            EXPECT_TRUE(refused.first().contains(part)) << refused.first().toStdString();
        EXPECT_TRUE(logLines().filter("Start Processing Label").isEmpty()) << "refused before any section is made";
    }
}

// A cited number is looked up among the numbered items by their numbers in any letter case:
// one item of that number is the target, two make it ambiguous, none leave it unknown.
TEST_F(LinksAndHeadersTest, ACitationFindsTheNumberedItemsOfItsNumberInAnyLetterCase)
{
    const auto list = [](int abstractId, const QString& format) {
        return "<w:abstractNum w:abstractNumId=\"" + QString::number(abstractId) + "\"><w:lvl w:ilvl=\"0\"><w:start w:val=\"1\"/>"
               "<w:numFmt w:val=\"" + format + "\"/><w:lvlText w:val=\"%1.\"/></w:lvl></w:abstractNum>";
    };
    const auto item = [](int numId, const QString& text) {
        return para(text, QStringLiteral("<w:numPr><w:ilvl w:val=\"0\"/><w:numId w:val=\"%1\"/></w:numPr>").arg(numId));
    };
    const auto cite = [](const QString& number) {
        return "<w:r><w:t xml:space=\"preserve\"> [</w:t></w:r><w:fldSimple w:instr=\" REF _Ref1 \\h \"><w:r><w:t>" + number
               + "</w:t></w:r></w:fldSimple><w:r><w:t>]</w:t></w:r>";
    };
    DocxParts parts;
    parts.styles = labelStyles();
    parts.numbering = list(0, "decimal") + list(1, "upperRoman") + list(2, "decimal")
                      + "<w:num w:numId=\"1\"><w:abstractNumId w:val=\"0\"/></w:num>"
                        "<w:num w:numId=\"2\"><w:abstractNumId w:val=\"1\"/></w:num>"
                        "<w:num w:numId=\"3\"><w:abstractNumId w:val=\"2\"/></w:num>";
    const QString label = styled("Heading1", "ADVERSE REACTIONS") + "<w:p>" + cite("2") + cite("iv") + cite("9") + "</w:p>"
                          + styled("Heading1", "REFERENCES") + item(1, "Smith") + item(1, "Jones") + item(2, "Roe")
                          + item(2, "Doe") + item(2, "Poe") + item(2, "Loe") + item(3, "Moe") + item(3, "Noe");
    clsWord word;
    word.CheckCrossReferences = 1;
    const std::optional<xml::Document> spl = convert(word, save(docxFrom(label, parts)), "Title", "Yes");
    ASSERT_TRUE(spl) << logLines().join('\n').toStdString();

    const QStringList lines = logLines();
    EXPECT_EQ(linesOf(lines, "Warning").filter("Cross Reference Target ambiguous: 2. Noe").size(), 1) << lines.join('\n').toStdString();
    EXPECT_EQ(linesOf(lines, "Reference").filter("Cross Reference Target: IV. Loe").size(), 1);
    EXPECT_EQ(linesOf(lines, "Warning").filter("Cross Reference Target unknown").size(), 1);
    const QString text = section(*spl, "ADVERSE REACTIONS").selectSingleNode("text").xml();
    EXPECT_TRUE(text.contains("[<linkHtml href=\"#REFERENCES\">iv</linkHtml>]")) << text.toStdString();
    EXPECT_EQ(spl->selectNodes("//linkHtml").length(), 1);
}
