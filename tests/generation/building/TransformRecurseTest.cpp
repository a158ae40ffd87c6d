#include "generation/BuildTestSupport.h"

#include "generation/building/BuildIndex.h"
#include "generation/building/CopyCleaning.h"
#include "generation/building/TransformRecurse.h"
#include "support/TempDir.h"
#include "support/Fixtures.h"

#include <QFile>

using namespace veldra;
using namespace veldra::test;

namespace {

const QString templateText = QStringLiteral(
    "<?xml version=\"1.0\"?>"
    "<doc xmlns=\"urn:hl7-org:v3\">"
    "<head><title>placeholder</title><code code=\"x\" system=\"s\"/></head>"
    "<list><item><name>n</name><code code=\"\"/></item></list>"
    "<groups><group><label/><member><name/></member></group></groups>"
    "<body><section><text>pattern</text></section></body>"
    "</doc>");

QString transformation(const QString& entries)
{
    return QStringLiteral("<Word2SPLTransform>") + entries + QStringLiteral("</Word2SPLTransform>");
}

QString entry(const QString& name, const QString& source, const QString& target, const QString& values,
              const QString& targetAttributes = {}, const QString& parentNode = QStringLiteral("<ParentNode/>"))
{
    return QStringLiteral("<Transform><Name>%1</Name><Definition><Source>%2</Source><Target%3>%4</Target>%5</Definition>%6</Transform>")
        .arg(name, source, targetAttributes, target, parentNode, values);
}

QString value(const QString& source, const QString& target, const QString& targetAttributes = {},
              const QString& sourceAttributes = {})
{
    return QStringLiteral("<Value><Source%1>%2</Source><Target%3>%4</Target></Value>")
        .arg(sourceAttributes, source, targetAttributes, target);
}

const QString settingsText = QStringLiteral(
    "<?xml version=\"1.0\"?>"
    "<SPLR4 Word2SPLID=\"r\">"
    "<General Word2SPLID=\"g\"><Title Word2SPLID=\"t\">Hello</Title><Code Word2SPLID=\"c\">42</Code></General>"
    "<Items Word2SPLID=\"is\">"
    "<Item Word2SPLID=\"a\"><Name Word2SPLID=\"an\">A</Name></Item>"
    "<Item Word2SPLID=\"b\"><Name Word2SPLID=\"bn\">B</Name></Item>"
    "<Item Word2SPLID=\"c3\"><Name Word2SPLID=\"cn\">C</Name></Item>"
    "</Items>"
    "<Groups Word2SPLID=\"gs\">"
    "<Group Word2SPLID=\"g1\"><Label Word2SPLID=\"l1\">one</Label>"
    "<Member Word2SPLID=\"m1\"><Name Word2SPLID=\"m1n\">x</Name></Member><Member Word2SPLID=\"m2\"><Name Word2SPLID=\"m2n\">y</Name></Member></Group>"
    "<Group Word2SPLID=\"g2\"><Label Word2SPLID=\"l2\">two</Label>"
    "<Member Word2SPLID=\"m3\"><Name Word2SPLID=\"m3n\">z</Name></Member></Group>"
    "</Groups>"
    "</SPLR4>");

class TransformRecurseTest : public BuildLogTest {
protected:
    xml::Document build(const QString& entries, const QString& settings = settingsText, const QString& outFile = {})
    {
        const xml::Document transform = documentFrom(transformation(entries));
        const xml::Document templateDoc = documentFrom(templateText);
        const xml::Document target = documentFrom(templateText);
        const xml::Document source = documentFrom(settings);
        CopyCleaning copyCleaning(transform, source);
        for (const xml::Node& child : source.childNodes()) {
            QString path = child.nodeName();
            TransformRecurse(child, transform, templateDoc, target, path, outFile, copyCleaning);
            EXPECT_EQ(path, child.nodeName());
        }
        return target;
    }

    static QStringList texts(const xml::Document& doc, const QString& query)
    {
        QStringList result;
        for (const xml::Node& node : doc.selectNodes(query))
            result << node.text();
        return result;
    }
};

TEST_F(TransformRecurseTest, EntriesApplyToTheExactElementPathOnlyAndInDocumentOrder)
{
    const xml::Document target = build(
        entry("exact", "SPLR4/General", "doc/head", value("Title", "title"))
        + entry("leading slash", "/SPLR4/General", "doc/head", value("Code", "title"))
        + entry("predicate", "SPLR4/General[0]", "doc/head", value("Code", "title"))
        + entry("blank", " SPLR4/General", "doc/head", value("Code", "title"))
        + entry("second", "SPLR4/General", "doc/head", value("Code", "code", " Attribute=\"code\"")));

    EXPECT_NODE(target.selectSingleNode("doc/head"),
                "<head xmlns='urn:hl7-org:v3'><title Word2SPLID='Title t'>Hello</title>"
                "<code code='42' system='s' Word2SPLID='Code c'/></head>");
    EXPECT_FALSE(logText().contains("leading slash"));
}

TEST_F(TransformRecurseTest, ValuesTakePrefixPostfixAndAttributesAndMarkWhatTheyFill)
{
    const xml::Document target = build(entry(
        "General", "SPLR4/General", "doc/head",
        value("Code", "code", " Attribute=\"code\" Prefix=\"C-\" PostFix=\"!\"") + value("Code", "title", " PostFix=\"%\"")));

    EXPECT_NODE(target.selectSingleNode("doc/head"),
                "<head xmlns='urn:hl7-org:v3'><title Word2SPLID='Code c'>42%</title>"
                "<code code='C-42!' system='s' Word2SPLID='Code c'/></head>");
    EXPECT_TRUE(logHas("Processing", "General     Code >>> code = 42"));
}

TEST_F(TransformRecurseTest, MissingSourcesAndTargetsAreWarnedAboutAndLeaveTheTargetUnfilled)
{
    const xml::Document target = build(entry("General", "SPLR4/General", "doc/head",
                                             value("Missing", "title") + value("Title", "nowhere") + value("Missing", "nowhere")));

    EXPECT_TRUE(logHas("Warning", "General     Missing - Source Data Element not found"));
    EXPECT_TRUE(logHas("Warning", "General     Title - Target Data Element not found"));
    EXPECT_TRUE(logHas("Warning", "General     Source and Target Data Element not found."));
    EXPECT_TRUE(target.selectSingleNode("doc/head/title").getAttribute("Word2SPLID").isNull());
    EXPECT_EQ(target.selectSingleNode("doc/head/title").text(), "placeholder");
}

TEST_F(TransformRecurseTest, CopiesWithoutParentNodeGoBeforeTheTargetInReverseOrder)
{
    const xml::Document target = build(entry("Item", "SPLR4/Items/Item", "doc/list/item", value("Name", "name"), " AllowClone=\"1\""));

    EXPECT_EQ(texts(target, "doc/list/item/name"), QStringList({"C", "B", "A", "n"}));
    EXPECT_EQ(target.selectSingleNode("doc/list/item[0]").getAttribute("Word2SPLID"), "Item c3");
    EXPECT_TRUE(target.selectSingleNode("doc/list/item[3]").getAttribute("Word2SPLID").isNull());
}

TEST_F(TransformRecurseTest, DirectCopyAppendsCopiesInSettingsOrderAndANumberTextCounts)
{
    const xml::Document target = build(
        entry("Item", "SPLR4/Items/Item", "doc/list/item", value("Name", "name"), " AllowClone=\"1.0\" DirectCopy=\" 1 \""));

    EXPECT_EQ(texts(target, "doc/list/item/name"), QStringList({"n", "A", "B", "C"}));
}

TEST_F(TransformRecurseTest, CopiesOfChildElementsGoBelowTheCopyOfTheirParentElement)
{
    const xml::Document target = build(
        entry("Group", "SPLR4/Groups/Group", "doc/groups/group", value("Label", "label"), " AllowClone=\"1\" DirectCopy=\"1\"")
        + entry("Member", "SPLR4/Groups/Group/Member", "doc/groups/group/member", value("Name", "name"), " AllowClone=\"1\"",
                "<ParentNode>.</ParentNode>"));

    const xml::Node first = target.selectSingleNode("doc/groups/group[@Word2SPLID='Group g1']");
    const xml::Node second = target.selectSingleNode("doc/groups/group[@Word2SPLID='Group g2']");
    ASSERT_FALSE(first.isNull());
    ASSERT_FALSE(second.isNull());
    EXPECT_EQ(texts(target, "doc/groups/group[@Word2SPLID='Group g1']/member/name"), QStringList({"", "x", "y"}));
    EXPECT_EQ(texts(target, "doc/groups/group[@Word2SPLID='Group g2']/member/name"), QStringList({"", "z"}));
    EXPECT_EQ(second.selectSingleNode("label").text(), "two");
}

TEST_F(TransformRecurseTest, ASecondCloningEntryOfTheSameElementWritesIntoTheFirstOnesCopy)
{
    const xml::Document target = build(
        entry("Item", "SPLR4/Items/Item", "doc/list/item", value("Name", "name"), " AllowClone=\"1\" DirectCopy=\"1\"")
        + entry("Item code", "SPLR4/Items/Item", "doc/list/item", value("Name", "code", " Attribute=\"code\""),
                " AllowClone=\"1\" DirectCopy=\"1\""));

    EXPECT_EQ(target.selectNodes("doc/list/item").length(), 4);
    EXPECT_EQ(target.selectSingleNode("doc/list/item[@Word2SPLID='Item b']/code").getAttribute("code"), "B");
}

TEST_F(TransformRecurseTest, AnEntryOnTheDocumentElementNeverClones)
{
    const xml::Document target =
        build(entry("Root", "SPLR4", "doc", value("General/Title", "head/title"), " AllowClone=\"1\""));

    EXPECT_EQ(target.selectNodes("doc").length(), 1);
    EXPECT_EQ(target.selectSingleNode("doc/head/title").text(), "Hello");
}

TEST_F(TransformRecurseTest, LeavesAndGroupsOfEmptyElementsGetNoEntryPass)
{
    const QString settings = QStringLiteral(
        "<SPLR4 Word2SPLID=\"r\"><General Word2SPLID=\"g\"><Title Word2SPLID=\"t\"/><Code Word2SPLID=\"c\"/></General>"
        "<Items Word2SPLID=\"i\"><Item Word2SPLID=\"a\">text only</Item></Items></SPLR4>");
    build(entry("General", "SPLR4/General", "doc/head", value("Missing", "title"))
              + entry("Leaf", "SPLR4/Items/Item", "doc/list/item", value("Missing", "name")),
          settings);

    EXPECT_FALSE(logText().contains("Missing"));
}

TEST_F(TransformRecurseTest, MultiLineTextBecomesMarkupWithLineBreaksBeforeTheTarget)
{
    const QString settings = QStringLiteral(
        "<SPLR4 Word2SPLID=\"r\"><General Word2SPLID=\"g\">"
        "<Title Word2SPLID=\"t\" AllowMultiLineText=\"1\">first&#13;&#10;second&#13;third&#10;fourth</Title>"
        "</General></SPLR4>");
    const xml::Document target = build(entry("General", "SPLR4/General", "doc/head", value("Title", "title")), settings);

    const xml::NodeList titles = target.selectNodes("doc/head/title");
    ASSERT_EQ(titles.length(), 2);
    EXPECT_EQ(titles.item(0).selectNodes("br").length(), 3);
    EXPECT_EQ(titles.item(0).getAttribute("Word2SPLID"), "Title t");
    EXPECT_TRUE(titles.item(0).text().contains("first"));
    EXPECT_TRUE(titles.item(0).text().contains("fourth"));
    EXPECT_EQ(titles.item(1).text(), "placeholder");
}

TEST_F(TransformRecurseTest, MultiLineTextThatIsNoMarkupIsWrittenAsPlainTextAndMarkupStaysMarkup)
{
    const QString settings = QStringLiteral(
        "<SPLR4 Word2SPLID=\"r\"><General Word2SPLID=\"g\">"
        "<Title Word2SPLID=\"t\" AllowMultiLineText=\"1\">Fish &amp; Chips&#10;x &lt; y</Title>"
        "<Code Word2SPLID=\"c\" AllowMultiLineText=\"1\">&lt;content styleCode=\"bold\"&gt;B&lt;/content&gt; &amp;amp; C</Code>"
        "</General></SPLR4>");
    const xml::Document target =
        build(entry("General", "SPLR4/General", "doc/head", value("Title", "title") + value("Code", "code")), settings);

    const xml::Node title = target.selectSingleNode("doc/head/title");
    EXPECT_EQ(title.getAttribute("Word2SPLID"), "Title t");
    EXPECT_EQ(title.selectNodes("br").length(), 1);
    EXPECT_EQ(title.firstChild().text(), "Fish & Chips");
    EXPECT_EQ(title.lastChild().text(), "x < y");
    // Well-formed inline markup is taken as markup.
    const xml::Node code = target.selectSingleNode("doc/head/code");
    EXPECT_EQ(code.selectSingleNode("content[@styleCode='bold']").text().trimmed(), "B");
    EXPECT_TRUE(code.text().contains("& C"));
    EXPECT_FALSE(logText().contains("Error"));
}

TEST_F(TransformRecurseTest, TextWrittenIntoAnElementKeepsItsChildElements)
{
    const xml::Document target = build(entry("General", "SPLR4/General", "doc/head", value("Title", ".")));

    EXPECT_NODE(target.selectSingleNode("doc/head"),
                "<head xmlns='urn:hl7-org:v3' Word2SPLID='Title t'>Hello<title>placeholder</title>"
                "<code code='x' system='s'/></head>");
}

TEST_F(TransformRecurseTest, AFailureEndsTheElementButNotItsSiblings)
{
    const QString settings = QStringLiteral(
        "<SPLR4 Word2SPLID=\"r\"><General Word2SPLID=\"g\">"
        "<Title Word2SPLID=\"t\">a b</Title><Code Word2SPLID=\"c\">42</Code>"
        "<Sub Word2SPLID=\"s\"><Name Word2SPLID=\"sn\">deep</Name></Sub></General>"
        "<Items Word2SPLID=\"is\"><Item Word2SPLID=\"a\"><Name Word2SPLID=\"an\">A</Name></Item></Items></SPLR4>");
    const xml::Document target = build(
        entry("General", "SPLR4/General", "doc/head",
              value("Title", "title", " Attribute=\"lang\"") + value("Code", "code", " Attribute=\"code\""))
            + entry("Sub", "SPLR4/General/Sub", "doc/head", value("Name", "title"))
            + entry("Item", "SPLR4/Items/Item", "doc/list/item", value("Name", "name"), " AllowClone=\"1\""),
        settings);

    EXPECT_EQ(target.selectSingleNode("doc/head/code").getAttribute("code"), "x");
    EXPECT_FALSE(logText().contains("deep"));
    EXPECT_EQ(target.selectSingleNode("doc/list/item/name").text(), "A");
    EXPECT_TRUE(logText().contains("has no attribute lang"));
    EXPECT_TRUE(logText().contains("TransformRecurse"));
}

// Without a log, a value whose source holds nothing may skip looking its target up, but only
// where that lookup cannot fail: a target path outside the query dialect still fails the
// element, on the indexed road as on the plain one.
TEST_F(TransformRecurseTest, WithoutALogAValueWithoutSourceFailsItsElementWhenItsTargetPathFails)
{
    NoLogging = true;
    for (const bool indexed : {true, false}) {
        SCOPED_TRACE(indexed ? "indexed" : "plain");
        setIndexedLookups(indexed);
        const xml::Document target = build(
            entry("Sources", "SPLR4/General", "doc/head",
                  value("Missing", "title") + value("Title", "title") + value("Missing", "following::code")
                      + value("Code", "code", " Attribute=\"code\"")));
        EXPECT_EQ(target.selectSingleNode("doc/head/title").text(), "Hello");
        EXPECT_EQ(target.selectSingleNode("doc/head/code").getAttribute("code"), "x");
    }
    setIndexedLookups(true);
    NoLogging = false;
}

TEST_F(TransformRecurseTest, AnEntryWithoutParentNodeOrWithANonNumericAllowCloneFailsItsElement)
{
    const xml::Document target = build(
        entry("Item", "SPLR4/Items/Item", "doc/list/item", value("Name", "name"), " AllowClone=\"1\"", QString())
        + entry("General", "SPLR4/General", "doc/head", value("Title", "title"), " AllowClone=\"yes\""));

    EXPECT_EQ(target.selectNodes("doc/list/item").length(), 1);
    EXPECT_EQ(target.selectSingleNode("doc/head/title").text(), "placeholder");
    EXPECT_TRUE(logText().contains("has no Definition/ParentNode"));
}

TEST_F(TransformRecurseTest, WholeSettingsElementsReplaceTheTargetLastOneFirst)
{
    const QString settings = QStringLiteral(
        "<SPLR4 Word2SPLID=\"r\"><Body Word2SPLID=\"b\">"
        "<text Word2SPLID=\"t1\"><paragraph Word2SPLID=\"p1\">one</paragraph></text>"
        "<text Word2SPLID=\"t2\"><paragraph Word2SPLID=\"p2\">two</paragraph></text>"
        "</Body></SPLR4>");
    const xml::Document target =
        build(entry("Body", "SPLR4/Body", "doc/body/section", value("text", "text", {}, " DirectCopy=\"1\"")), settings);

    EXPECT_EQ(texts(target, "doc/body/section/text"), QStringList({"two", "one"}));
    EXPECT_EQ(target.selectSingleNode("doc/body/section/text").getAttribute("Word2SPLID"), "t2");
}

TEST_F(TransformRecurseTest, FileValuesAreWrittenAsSafeNamesAndTheirFilesCopiedBesideTheSPL)
{
    TempDir in;
    TempDir out;
    writeTextFile(in.file("Label Image.JPG"), "picture");
    const QString settings = QStringLiteral(
        "<SPLR4 Word2SPLID=\"r\"><General Word2SPLID=\"g\">"
        "<Title Word2SPLID=\"t\" ConstraintDataType=\"File\">%1</Title><Code Word2SPLID=\"c\" ConstraintDataType=\"File\">%2</Code>"
        "</General></SPLR4>")
                                 .arg(in.file("Label Image.JPG"), in.file("missing.jpg"));
    const xml::Document target = build(
        entry("General", "SPLR4/General", "doc/head",
              value("Title", "title") + value("Code", "code", " Attribute=\"code\"")),
        settings, out.file("label.xml"));

    EXPECT_EQ(target.selectSingleNode("doc/head/title").text(), "label_image.jpg");
    EXPECT_EQ(readTextFile(out.file("label_image.jpg")), "picture");
    EXPECT_TRUE(logHas("Information", "Copying File 'label_image.jpg' to Folder '" + out.path() + "/'"));
    EXPECT_TRUE(logText().contains("Copy file 'missing.jpg' to Folder '" + out.path() + "/' failed: "));
    EXPECT_EQ(target.selectSingleNode("doc/head/code").getAttribute("code"), "missing.jpg");
}

} // namespace
