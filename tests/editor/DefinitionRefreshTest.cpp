#include "editor/document/DefinitionDocument.h"
#include "platform/xml/tree/Document.h"
#include "support/XmlDocument.h"

#include <gtest/gtest.h>

using namespace veldra;
using veldra::test::documentFrom;

namespace {

const QString Definition = QStringLiteral(
    "<SPLR4 ConstraintExample='root'>"
    "<GeneralData><Title ConstraintLengthMax='10' AllowMultiLineText='1' Word2SPLID='from-definition'/></GeneralData>"
    "</SPLR4>");

} // namespace

TEST(DefinitionRefresh, ElementsCarryExactlyTheConstraintsOfTheirDefinition)
{
    const xml::Document definition = documentFrom(Definition);
    const xml::Document settings = documentFrom(QStringLiteral(
        "<SPLR4 Word2SPLID='r' ConstraintExample='mine'>"
        "<GeneralData Word2SPLID='g'>"
        "<Title Word2SPLID='t' ConstraintLengthMax='20' ConstraintExample='x' AllowMultiLineText='0' Color='255'"
        " constraintNote='n' MyConstraint='m'>T</Title>"
        "<Unknown Word2SPLID='u' ConstraintValues='a;b' Color='65535' lang='en'/>"
        "<![CDATA[raw]]><?note keep?><!-- comment -->"
        "</GeneralData></SPLR4>"));

    UpdateConstraintsFromTemplate(settings.documentElement(), definition);

    // Title: its length comes from the definition, constraints the definition lacks go, other
    // definition attributes overwrite, and what the definition lacks stays. It keeps its own id even
    // when the definition (wrongly) carries one. The node handed in is not refreshed itself.
    EXPECT_NODE(settings.documentElement(),
                "<SPLR4 Word2SPLID='r' ConstraintExample='mine'>"
                "<GeneralData Word2SPLID='g'>"
                "<Title Word2SPLID='t' ConstraintLengthMax='10' AllowMultiLineText='1' Color='255'"
                " constraintNote='n'>T</Title>"
                "<Unknown Word2SPLID='u' Color='65535' lang='en'/>"
                "<![CDATA[raw]]><?note keep?><!-- comment -->"
                "</GeneralData></SPLR4>");
}

TEST(DefinitionRefresh, FirstDefinitionElementAtAPathCountsAndNamespacedContentFindsItsPath)
{
    const xml::Document definition = documentFrom(QStringLiteral(
        "<SPLR4><Section><component ConstraintDataType='SPLFile'/></Section>"
        "<Section><component ConstraintDataType='File'/></Section></SPLR4>"));
    const xml::Document settings = documentFrom(QStringLiteral(
        "<SPLR4><Section><component xmlns='urn:hl7-org:v3'><section ConstraintValues='x'/></component></Section></SPLR4>"));

    UpdateConstraintsFromTemplate(settings.documentElement(), definition);

    const xml::Node component = settings.selectSingleNode(QStringLiteral("//component"));
    EXPECT_EQ(component.getAttribute(QStringLiteral("ConstraintDataType")), QStringLiteral("SPLFile"));
    EXPECT_FALSE(settings.selectSingleNode(QStringLiteral("//section")).hasAttribute(QStringLiteral("ConstraintValues")));
}
