#include "editor/DefinitionDocument.h"
#include "platform/xml/Document.h"

#include <gtest/gtest.h>

using namespace veldra;

namespace {

xml::Document parse(const QString& text)
{
    xml::Document doc;
    EXPECT_TRUE(doc.loadXml(text)) << doc.parseError().reason.toStdString();
    return doc;
}

const QString Definition = QStringLiteral(
    "<SPLR4 ConstraintExample='root'>"
    "<GeneralData><Title ConstraintLengthMax='10' AllowMultiLineText='1' Word2SPLID='from-definition'/></GeneralData>"
    "</SPLR4>");

} // namespace

TEST(DefinitionRefresh, ElementsCarryExactlyTheConstraintsOfTheirDefinition)
{
    const xml::Document definition = parse(Definition);
    const xml::Document settings = parse(QStringLiteral(
        "<SPLR4 Word2SPLID='r' ConstraintExample='mine'>"
        "<GeneralData Word2SPLID='g'>"
        "<Title Word2SPLID='t' ConstraintLengthMax='20' ConstraintExample='x' AllowMultiLineText='0' Color='255'"
        " constraintNote='n' MyConstraint='m'>T</Title>"
        "<Unknown Word2SPLID='u' ConstraintValues='a;b' Color='65535' lang='en'/>"
        "<![CDATA[raw]]><?note keep?><!-- comment -->"
        "</GeneralData></SPLR4>"));

    UpdateConstraintsFromTemplate(settings.documentElement(), definition);

    const xml::Node title = settings.selectSingleNode(QStringLiteral("//Title"));
    EXPECT_EQ(title.getAttribute(QStringLiteral("ConstraintLengthMax")), QStringLiteral("10"));
    EXPECT_FALSE(title.hasAttribute(QStringLiteral("ConstraintExample")));
    EXPECT_FALSE(title.hasAttribute(QStringLiteral("MyConstraint")));
    EXPECT_EQ(title.getAttribute(QStringLiteral("constraintNote")), QStringLiteral("n"));
    // Other definition attributes overwrite; what the definition lacks stays.
    EXPECT_EQ(title.getAttribute(QStringLiteral("AllowMultiLineText")), QStringLiteral("1"));
    EXPECT_EQ(title.getAttribute(QStringLiteral("Color")), QStringLiteral("255"));
    // The element keeps its own id even when the definition (wrongly) carries one.
    EXPECT_EQ(title.getAttribute(QStringLiteral("Word2SPLID")), QStringLiteral("t"));
    EXPECT_EQ(title.text(), QStringLiteral("T"));

    const xml::Node unknown = settings.selectSingleNode(QStringLiteral("//Unknown"));
    EXPECT_FALSE(unknown.hasAttribute(QStringLiteral("ConstraintValues")));
    EXPECT_EQ(unknown.getAttribute(QStringLiteral("Word2SPLID")), QStringLiteral("u"));
    EXPECT_EQ(unknown.getAttribute(QStringLiteral("Color")), QStringLiteral("65535"));
    EXPECT_EQ(unknown.getAttribute(QStringLiteral("lang")), QStringLiteral("en"));

    // The node handed in is not refreshed itself.
    EXPECT_EQ(settings.documentElement().getAttribute(QStringLiteral("ConstraintExample")), QStringLiteral("mine"));
}

TEST(DefinitionRefresh, FirstDefinitionElementAtAPathCountsAndNamespacedContentFindsItsPath)
{
    const xml::Document definition = parse(QStringLiteral(
        "<SPLR4><Section><component ConstraintDataType='SPLFile'/></Section>"
        "<Section><component ConstraintDataType='File'/></Section></SPLR4>"));
    const xml::Document settings = parse(QStringLiteral(
        "<SPLR4><Section><component xmlns='urn:hl7-org:v3'><section ConstraintValues='x'/></component></Section></SPLR4>"));

    UpdateConstraintsFromTemplate(settings.documentElement(), definition);

    const xml::Node component = settings.selectSingleNode(QStringLiteral("//component"));
    EXPECT_EQ(component.getAttribute(QStringLiteral("ConstraintDataType")), QStringLiteral("SPLFile"));
    EXPECT_FALSE(settings.selectSingleNode(QStringLiteral("//section")).hasAttribute(QStringLiteral("ConstraintValues")));
}
