#include "generation/BuildTestSupport.h"

#include "generation/building/DocumentCleaning.h"
#include "platform/core/VbError.h"
#include "support/HostileValues.h"

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
    const xml::Document doc = documentFrom(
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

// The operations of each firm go below the organisation whose id is the firm's DUNS number.
const QString operationsByDuns = QStringLiteral(
    "<Word2SPLTransform><PostProcessing><Name>Operations</Name><Definition>"
    "<TemplateFile>\\f.xml</TemplateFile><Source>SPLR4/Firms/Firm</Source><FilterSource>Duns</FilterSource>"
    "<TemplateTarget>fragment/op</TemplateTarget><Target>doc/org[id/@extension=\"$FilterValue\"]</Target></Definition>"
    "<Value><Source>Code</Source><Target>code</Target></Value></PostProcessing></Word2SPLTransform>");

class DocumentCleaningTest : public BuildLogTest {
protected:
    const xml::Document settings = documentFrom(
        "<SPLR4 Word2SPLID=\"r\"><Firms Word2SPLID=\"fs\"><Firm Word2SPLID=\"f\"><Duns Word2SPLID=\"d\">123</Duns></Firm></Firms></SPLR4>");
};

TEST_F(DocumentCleaningTest, EntryTargetsThatNothingFilledGoButNeverTheDocumentElement)
{
    const xml::Document target = documentFrom(
        "<doc xmlns=\"urn:hl7-org:v3\"><list><item Word2SPLID=\"Item a\"><name/></item><item><name/></item>"
        "<item><name Word2SPLID=\"Name n\">x</name></item></list><keep><item/></keep></doc>");
    const xml::Document transformation = documentFrom(
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
    const xml::Document target = documentFrom(
        "<doc xmlns=\"urn:hl7-org:v3\"><product Word2SPLID=\"Product p\"><code Word2SPLID=\"Code c\"/>"
        "<subjectOf><approval><id/><code/></approval></subjectOf><part><wrapper><item><leaf/></item></wrapper></part>"
        "<nest><x><x/></x></nest></product></doc>");
    const xml::Document transformation = documentFrom(
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
    const xml::Document target = documentFrom(
        "<doc xmlns=\"urn:hl7-org:v3\"><org><id extension=\"123\"/><op><code/></op><op><code Word2SPLID=\"Code c\"/></op></org>"
        "<org><id extension=\"999\"/><op><code/></op></org></doc>");
    const xml::Document transformation = documentFrom(operationsByDuns);

    CleanTargetDocument(settings, transformation, target);

    // The second firm's group held nothing filled: the walk up from its operation took it too.
    EXPECT_EQ(target.selectNodes("doc/org").length(), 1);
    EXPECT_EQ(target.selectNodes("doc/org/op").length(), 1);
    EXPECT_EQ(target.selectSingleNode("doc/org/id").getAttribute("extension"), "123");
}

// The filter value is read from the settings: quotes and query text in it are compared as one
// text, so the entry pass still finds only the firm's own group.
TEST_F(DocumentCleaningTest, AFilterValueHoldingQuotesAndQueryTextIsComparedAsOneText)
{
    for (const QString& duns : hostileQueryValues()) {
        SCOPED_TRACE(duns.toStdString());
        const QString escaped = duns.toHtmlEscaped();
        const xml::Document firms = documentFrom("<SPLR4 Word2SPLID=\"r\"><Firms Word2SPLID=\"fs\"><Firm Word2SPLID=\"f\">"
                                                 "<Duns Word2SPLID=\"d\">" + escaped + "</Duns></Firm></Firms></SPLR4>");
        const xml::Document target = documentFrom(
            "<doc xmlns=\"urn:hl7-org:v3\"><org><id extension=\"" + escaped + "\"/><op><code/></op><op><code Word2SPLID=\"Code c\"/></op>"
            "</org><org><id extension=\"999\"/><op><code Word2SPLID=\"Code d\"/></op></org><empty/></doc>");

        CleanTargetDocument(firms, documentFrom(operationsByDuns), target);

        EXPECT_EQ(target.selectNodes("doc/org").length(), 2);
        EXPECT_EQ(target.selectNodes("doc/org/op").length(), 2);
        EXPECT_EQ(target.selectNodes("doc/org/id").length(), 2);
        EXPECT_FALSE(target.selectSingleNode("doc/empty").isNull()) << "no entry targets it";
    }
}

TEST_F(DocumentCleaningTest, CopiesMadeForGroupsThatGaveNoValueGoWithTheWrappersTheyLeaveEmpty)
{
    const xml::Document groups = documentFrom(
        "<SPLR4 Word2SPLID=\"r\"><Products Word2SPLID=\"ps\">"
        "<Product Word2SPLID=\"p1\"><Ingredient Word2SPLID=\"i1\"/></Product>"
        "<Product Word2SPLID=\"p2\"><Ingredient Word2SPLID=\"i2\"/><Ingredient Word2SPLID=\"i3\"/></Product>"
        "<Product Word2SPLID=\"p3\"/></Products>"
        "<Firm Word2SPLID=\"f\"><Site Word2SPLID=\"s1\"/></Firm></SPLR4>");
    const xml::Document target = documentFrom(
        "<doc xmlns=\"urn:hl7-org:v3\"><section><id Word2SPLID=\"SectionID x\"/>"
        "<subject Word2SPLID=\"Product p1\"><product><name Word2SPLID=\"Name n\">A</name>"
        "<ingredient Word2SPLID=\"Ingredient i1\"><substance/></ingredient></product></subject>"
        "<subject Word2SPLID=\"Product p2\"><product><name/><ingredient Word2SPLID=\"Ingredient i2\"><substance/></ingredient>"
        "<ingredient Word2SPLID=\"Ingredient i3\"><substance/></ingredient></product></subject>"
        "<subject Word2SPLID=\"Product p3\"><product><name/><text Word2SPLID=\"t7\">copied whole</text></product></subject>"
        "</section>"
        "<registrant><org><name/><site Word2SPLID=\"Site s1\"><name/></site></org></registrant></doc>");
    const auto cloning = [](const QString& name, const QString& source, const QString& target, const QString& value) {
        return "<Transform><Name>" + name + "</Name><Definition><Source>" + source + "</Source><Target AllowClone=\"1.0\">"
            + target + "</Target><ParentNode/></Definition><Value><Source>V</Source><Target>" + value + "</Target></Value></Transform>";
    };
    const xml::Document transformation = documentFrom(
        "<Word2SPLTransform>"
        + cloning("Product", "SPLR4/Products/Product", "doc/section/subject", "product/name")
        + cloning("Ingredient", "SPLR4/Products/Product/Ingredient", "doc/section/subject/product/ingredient", "substance")
        + "<Transform><Name>Firm</Name><Definition><Source>SPLR4/Firm</Source><Target>doc/registrant</Target></Definition>"
          "<Value><Source>V</Source><Target>org/name</Target></Value></Transform>"
        + cloning("Site", "SPLR4/Firm/Site", "doc/registrant/org/site", "name") + "</Word2SPLTransform>");

    CleanTargetDocument(groups, transformation, target);

    // Kept: the product with a name (its empty ingredient gone) and the one holding a copied
    // settings element. Gone: the product with only empty ingredients, and the registrant
    // whose only content was a site that gave no value.
    const xml::NodeList subjects = target.selectNodes("doc/section/subject");
    ASSERT_EQ(subjects.length(), 2);
    EXPECT_EQ(subjects.item(0).selectSingleNode("product/name").text(), "A");
    EXPECT_TRUE(subjects.item(0).selectSingleNode("product/ingredient").isNull());
    EXPECT_EQ(subjects.item(1).getAttribute("Word2SPLID"), "Product p3");
    EXPECT_TRUE(target.selectSingleNode("doc/registrant").isNull());
    EXPECT_FALSE(target.selectSingleNode("doc/section/id").isNull());
}

TEST_F(DocumentCleaningTest, AnEntryWithValuesButWithoutTargetOrFilterMatchEndsTheCleaning)
{
    const xml::Document target = documentFrom("<doc/>");
    const xml::Document noTarget = documentFrom(
        "<Word2SPLTransform><Transform><Name>T</Name><Definition><Source>SPLR4</Source></Definition>"
        "<Value><Source>A</Source><Target>b</Target></Value></Transform></Word2SPLTransform>");
    EXPECT_THROW(CleanTargetDocument(settings, noTarget, target), VbError);

    const xml::Document badFilter = documentFrom(
        "<Word2SPLTransform><PostProcessing><Name>P</Name><Definition><Source>SPLR4/Firms/Firm</Source>"
        "<FilterSource>Missing</FilterSource><TemplateTarget>f/x</TemplateTarget><Target>doc[@a=\"$FilterValue\"]</Target>"
        "</Definition><Value><Source>A</Source><Target>b</Target></Value></PostProcessing></Word2SPLTransform>");
    EXPECT_THROW(CleanTargetDocument(settings, badFilter, target), VbError);
}

} // namespace
