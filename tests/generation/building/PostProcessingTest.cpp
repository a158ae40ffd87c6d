#include "generation/BuildTestSupport.h"

#include "generation/building/PostProcessing.h"
#include "platform/core/AppPaths.h"
#include "support/Fixtures.h"
#include "support/HostileValues.h"
#include "support/TempDir.h"

#include <QDir>

using namespace veldra;
using namespace veldra::test;

namespace {

const QString fragmentText = QStringLiteral(
    "<fragment xmlns=\"urn:hl7-org:v3\"><section><title>Packages</title><text><paragraph><content/>"
    "<content styleCode=\"bold\" code=\"\"/></paragraph></text></section></fragment>");

const QString settingsText = QStringLiteral(
    "<SPLR4 Word2SPLID=\"r\"><Products Word2SPLID=\"ps\">"
    "<Product Word2SPLID=\"p1\"><Kind Word2SPLID=\"k1\">A</Kind>"
    "<Package Word2SPLID=\"a1\"><Code Word2SPLID=\"c1\">0001-01</Code><Form Word2SPLID=\"f1\">BOTTLE</Form></Package>"
    "<Package Word2SPLID=\"a2\"><Code Word2SPLID=\"c2\">0001-02</Code><Form Word2SPLID=\"f2\">BOX</Form></Package></Product>"
    "<Product Word2SPLID=\"p2\"><Kind Word2SPLID=\"k2\">B</Kind>"
    "<Package Word2SPLID=\"a3\"><Code Word2SPLID=\"c3\">0002-01</Code></Package></Product>"
    "</Products></SPLR4>");

const QString targetText = QStringLiteral(
    "<doc xmlns=\"urn:hl7-org:v3\"><body><group kind=\"A\"/><group kind=\"B\"/></body></doc>");

QString postProcessing(const QString& definitionExtra, const QString& values,
                       const QString& target = QStringLiteral("doc/body"))
{
    return QStringLiteral("<PostProcessing><Name>Package Label</Name><Definition><TemplateFile>\\Frag\\f.xml</TemplateFile>"
                          "<Source>SPLR4/Products/Product/Package</Source><TemplateTarget>fragment/section</TemplateTarget>"
                          "<Target>%1</Target>%2</Definition>%3</PostProcessing>")
        .arg(target, definitionExtra, values);
}

const QString codeAndForm = QStringLiteral(
    "<Value><Source>Code</Source><Target Prefix=\"NDC \">text/paragraph/content</Target></Value>"
    "<Value><Source>Form</Source><Target Attribute=\"code\">text/paragraph/content[1]</Target></Value>");

class PostProcessingTest : public BuildLogTest {
protected:
    PostProcessingTest()
    {
        QDir().mkpath(folder.file("Frag"));
        writeTextFile(folder.file("Frag/f.xml"), fragmentText);
        app_paths::setProgramFolderForTesting(folder.path());
    }
    ~PostProcessingTest() override { app_paths::setProgramFolderForTesting(QString()); }

    xml::Document run(const QString& entries)
    {
        const xml::Document target = documentFrom(targetText);
        RunPostProcessing(documentFrom(settingsText), documentFrom("<Word2SPLTransform>" + entries + "</Word2SPLTransform>"), target);
        return target;
    }

    TempDir folder;
};

TEST_F(PostProcessingTest, EachSourceNodeGetsAFilledFragmentBelowTheTarget)
{
    const xml::Document target = run(postProcessing({}, codeAndForm));

    const xml::NodeList sections = target.selectNodes("doc/body/section");
    ASSERT_EQ(sections.length(), 3);
    EXPECT_EQ(sections.item(0).selectSingleNode("text/paragraph/content").text(), "NDC 0001-01");
    EXPECT_EQ(sections.item(0).selectSingleNode("text/paragraph/content").getAttribute("Word2SPLID"), "Code c1");
    EXPECT_EQ(sections.item(1).selectSingleNode("text/paragraph/content[1]").getAttribute("code"), "BOX");
    EXPECT_TRUE(logHas("Information", "Postprocessing: Package Label"));
    EXPECT_TRUE(logHas("Information", "Postprocessing: Package"));
    EXPECT_TRUE(logHas("Postprocessing:", "Package Label - Code > content = 0001-01"));
    EXPECT_TRUE(logHas("Warning", "Form - Source Value not found"));
}

TEST_F(PostProcessingTest, AFilterValuePlacesEachFragmentUnderItsOwnGroup)
{
    const xml::Document target = run(postProcessing("<FilterSource>../Kind</FilterSource>", codeAndForm,
                                                    "doc/body/group[@kind=\"$FilterValue\"]"));

    EXPECT_EQ(target.selectNodes("doc/body/group[@kind='A']/section").length(), 2);
    EXPECT_EQ(target.selectNodes("doc/body/group[@kind='B']/section").length(), 1);
}

// The kind is read from the settings: quotes and query text in it are compared as one text, so
// each fragment still goes under its own group and nowhere else.
TEST_F(PostProcessingTest, AFilterValueHoldingQuotesAndQueryTextIsComparedAsOneText)
{
    for (const QString& kind : hostileQueryValues()) {
        SCOPED_TRACE(kind.toStdString());
        const QString escaped = kind.toHtmlEscaped();
        const xml::Document target = documentFrom(QString(targetText).replace("kind=\"A\"", "kind=\"" + escaped + "\""));
        RunPostProcessing(documentFrom(QString(settingsText).replace(">A</Kind>", ">" + escaped + "</Kind>")),
                          documentFrom("<Word2SPLTransform>"
                                       + postProcessing("<FilterSource>../Kind</FilterSource>", codeAndForm,
                                                        "doc/body/group[@kind=\"$FilterValue\"]")
                                       + "</Word2SPLTransform>"),
                          target);

        EXPECT_EQ(target.selectNodes("//section").length(), 3);
        EXPECT_EQ(target.selectNodes("doc/body/group[0]/section").length(), 2);
        EXPECT_EQ(target.selectSingleNode("doc/body/group[0]").getAttribute("kind"), kind);
        EXPECT_EQ(target.selectNodes("doc/body/group[@kind='B']/section").length(), 1);
    }
}

TEST_F(PostProcessingTest, ARepeatTargetCollectsTheRepeatedPartsInOneFrame)
{
    const xml::Document target = run(postProcessing(
        "<RepeatTarget>section/text/paragraph</RepeatTarget><RepeatSource>text/paragraph</RepeatSource>", codeAndForm));

    EXPECT_EQ(target.selectNodes("doc/body/section").length(), 1);
    QStringList codes;
    for (const xml::Node& content : target.selectNodes("doc/body/section/text/paragraph/content[0]"))
        codes << content.text();
    EXPECT_EQ(codes, QStringList({"NDC 0001-01", "NDC 0001-02", "NDC 0002-01"}));
}

TEST_F(PostProcessingTest, AFragmentThatCannotBePlacedIsReportedAndTheNextSourceNodeFollows)
{
    const xml::Document target = run(postProcessing("<FilterSource>../Kind</FilterSource>", codeAndForm,
                                                    "doc/body/group[@kind=\"$FilterValue\"][@extra]"));

    EXPECT_EQ(target.selectNodes("//section").length(), 0);
    EXPECT_EQ(logCount("Adding Data to Target Failed"), 3);
}

TEST_F(PostProcessingTest, AValueWithNeitherSourceNorTargetIsSkippedAndTheRunGoesOn)
{
    const xml::Document target = run(
        postProcessing({}, "<Value><Source>Nothing</Source><Target>nowhere</Target></Value>" + codeAndForm)
        + postProcessing({}, codeAndForm).replace("Package Label", "Second"));

    EXPECT_TRUE(logHas("Warning", "Nothing - Source Value not found"));
    EXPECT_TRUE(logHas("Warning", "nowhere - Target not found - check Postprocessing definition"));
    EXPECT_EQ(target.selectNodes("doc/body/section").length(), 6);
}

TEST_F(PostProcessingTest, AMissingFragmentTemplateOrAttributeEndsThePostProcessing)
{
    xml::Document target = run(postProcessing({}, codeAndForm).replace("\\Frag\\f.xml", "\\Frag\\none.xml")
                               + postProcessing({}, codeAndForm));
    EXPECT_EQ(target.selectNodes("//section").length(), 0);
    EXPECT_TRUE(logText().contains("Postprocessing: RunPostProcessing"));

    closeLog();
    target = run(postProcessing({}, "<Value><Source>Code</Source><Target Attribute=\"none\">text</Target></Value>"));
    EXPECT_EQ(target.selectNodes("//section").length(), 0);
    EXPECT_TRUE(logText().contains("has no attribute none"));
}

} // namespace
