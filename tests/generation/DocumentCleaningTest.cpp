#include "BuildTestSupport.h"

#include "generation/DocumentCleaning.h"
#include "platform/core/VbError.h"

using namespace veldra;
using namespace veldra::test;

namespace {

bool hasMark(const xml::Node& node)
{
    bool found = false;
    SubtreeHasWord2SPLID(node, found);
    return found;
}

TEST(SubtreeHasWord2SPLIDTest, FindsAMarkAtAnyDepthPastTextCommentsCdataAndInstructions)
{
    const xml::Document doc = parseXml(
        "<r><a>text<!--c--><![CDATA[x < y]]><?pi data?><b><c Word2SPLID=\"m\"/></b></a>"
        "<e>text<![CDATA[z]]><?pi?><f/></e></r>");

    EXPECT_TRUE(hasMark(doc.selectSingleNode("r/a")));
    EXPECT_TRUE(hasMark(doc.selectSingleNode("r/a/b/c")));
    EXPECT_FALSE(hasMark(doc.selectSingleNode("r/e")));
    EXPECT_FALSE(hasMark(xml::Node()));
    EXPECT_FALSE(hasMark(doc.selectSingleNode("r/a/text()")));

    bool found = true;
    SubtreeHasWord2SPLID(doc.selectSingleNode("r/e"), found);
    EXPECT_TRUE(found);
}

class DocumentCleaningTest : public BuildLogTest {
protected:
    const xml::Document settings = parseXml(
        "<SPLR4 Word2SPLID=\"r\"><Firms Word2SPLID=\"fs\"><Firm Word2SPLID=\"f\"><Duns Word2SPLID=\"d\">123</Duns></Firm></Firms></SPLR4>");
};

TEST_F(DocumentCleaningTest, EntryTargetsThatNothingFilledGoButNeverTheDocumentElement)
{
    const xml::Document target = parseXml(
        "<doc xmlns=\"urn:hl7-org:v3\"><list><item Word2SPLID=\"Item a\"><name/></item><item><name/></item>"
        "<item><name Word2SPLID=\"Name n\">x</name></item></list><keep><item/></keep></doc>");
    const xml::Document transformation = parseXml(
        "<Word2SPLTransform>"
        "<Transform><Name>Item</Name><Definition><Source>SPLR4/Item</Source><Target>doc/list/item</Target></Definition>"
        "<Value><Source>Name</Source><Target>name</Target></Value></Transform>"
        "<Transform><Name>Root</Name><Definition><Source>SPLR4</Source><Target>doc</Target></Definition>"
        "<Value><Source>X</Source><Target>missing</Target></Value></Transform>"
        "<Transform><Name>No values</Name><Definition><Source>SPLR4</Source><Target>doc/keep/item</Target></Definition></Transform>"
        "</Word2SPLTransform>");

    CleanTargetDocument(settings, transformation, target);

    EXPECT_EQ(target.selectNodes("doc/list/item").length(), 2);
    EXPECT_FALSE(target.selectSingleNode("doc").isNull());
    EXPECT_EQ(target.selectNodes("doc/keep/item").length(), 1);
    EXPECT_TRUE(logHas("Information", "Start Document Cleaning"));
}

TEST_F(DocumentCleaningTest, ValueTargetsTakeTheirEmptyWrappersWithThemUpToAFilledAncestor)
{
    const xml::Document target = parseXml(
        "<doc xmlns=\"urn:hl7-org:v3\"><product Word2SPLID=\"Product p\"><code Word2SPLID=\"Code c\"/>"
        "<subjectOf><approval><id/><code/></approval></subjectOf><part><wrapper><item><leaf/></item></wrapper></part>"
        "<nest><x><x/></x></nest></product></doc>");
    const xml::Document transformation = parseXml(
        "<Word2SPLTransform><Transform><Name>Product</Name><Definition><Source>SPLR4/Product</Source>"
        "<Target>doc/product</Target></Definition>"
        "<Value><Source>A</Source><Target>subjectOf/approval/id</Target></Value>"
        "<Value><Source>B</Source><Target>part/wrapper</Target></Value>"
        "<Value><Source>C</Source><Target>part/wrapper/item/leaf</Target></Value>"
        "<Value><Source>D</Source><Target>nest//x</Target></Value>"
        "</Transform></Word2SPLTransform>");

    CleanTargetDocument(settings, transformation, target);

    EXPECT_TRUE(target.selectSingleNode("doc/product/subjectOf").isNull());
    EXPECT_TRUE(target.selectSingleNode("doc/product/part").isNull());
    EXPECT_TRUE(target.selectSingleNode("doc/product/nest").isNull());
    EXPECT_FALSE(target.selectSingleNode("doc/product/code").isNull());
    EXPECT_FALSE(logText().contains("Error"));
}

TEST_F(DocumentCleaningTest, AFilterValueNarrowsTheEntryPassAndTheValuePassSpansAllGroups)
{
    const xml::Document target = parseXml(
        "<doc xmlns=\"urn:hl7-org:v3\"><org><id extension=\"123\"/><op><code/></op><op><code Word2SPLID=\"Code c\"/></op></org>"
        "<org><id extension=\"999\"/><op><code/></op></org></doc>");
    const xml::Document transformation = parseXml(
        "<Word2SPLTransform><PostProcessing><Name>Operations</Name><Definition>"
        "<TemplateFile>\\f.xml</TemplateFile><Source>SPLR4/Firms/Firm</Source><FilterSource>Duns</FilterSource>"
        "<TemplateTarget>fragment/op</TemplateTarget><Target>doc/org[id/@extension=\"$FilterValue\"]</Target></Definition>"
        "<Value><Source>Code</Source><Target>code</Target></Value></PostProcessing></Word2SPLTransform>");

    CleanTargetDocument(settings, transformation, target);

    // The second firm's group held nothing filled: the walk up from its operation took it too.
    EXPECT_EQ(target.selectNodes("doc/org").length(), 1);
    EXPECT_EQ(target.selectNodes("doc/org/op").length(), 1);
    EXPECT_EQ(target.selectSingleNode("doc/org/id").getAttribute("extension"), "123");
}

TEST_F(DocumentCleaningTest, AnEntryWithValuesButWithoutTargetOrFilterMatchEndsTheCleaning)
{
    const xml::Document target = parseXml("<doc/>");
    const xml::Document noTarget = parseXml(
        "<Word2SPLTransform><Transform><Name>T</Name><Definition><Source>SPLR4</Source></Definition>"
        "<Value><Source>A</Source><Target>b</Target></Value></Transform></Word2SPLTransform>");
    EXPECT_THROW(CleanTargetDocument(settings, noTarget, target), VbError);

    const xml::Document badFilter = parseXml(
        "<Word2SPLTransform><PostProcessing><Name>P</Name><Definition><Source>SPLR4/Firms/Firm</Source>"
        "<FilterSource>Missing</FilterSource><TemplateTarget>f/x</TemplateTarget><Target>doc[@a=\"$FilterValue\"]</Target>"
        "</Definition><Value><Source>A</Source><Target>b</Target></Value></PostProcessing></Word2SPLTransform>");
    EXPECT_THROW(CleanTargetDocument(settings, badFilter, target), VbError);
}

} // namespace
