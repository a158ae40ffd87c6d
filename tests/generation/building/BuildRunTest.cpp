// The whole build run on a small set of definition files of its own.
#include "generation/BuildTestSupport.h"

#include "generation/building/AddSPLFromFile.h"
#include "generation/building/FinishSPLDocument.h"
#include "generation/building/SchemaErrorTrace.h"
#include "generation/building/TransformSPLR4ToSPL.h"
#include "platform/core/AppPaths.h"
#include "platform/ui/WorkProgress.h"
#include "support/Fixtures.h"
#include "support/TempDir.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>

#include <functional>
#include <utility>

using namespace veldra;
using namespace veldra::test;

namespace {

QString templateText(const QString& documentCode)
{
    return QStringLiteral(
               "<?xml version=\"1.0\" encoding=\"ISO-8859-1\"?>\n"
               "<!-- the skeleton -->\n"
               "<document xmlns=\"urn:hl7-org:v3\" xmlns:xsi=\"http://www.w3.org/2001/XMLSchema-instance\" "
               "xsi:schemaLocation=\"urn:hl7-org:v3 http://www.accessdata.fda.gov/spl/schema/spl.xsd\">\n"
               "  <id root=\"00000000-0000-0000-0000-000000000000\"/>\n"
               "  <code code=\"%1\" codeSystem=\"2.16.840.1.113883.6.1\"/>\n"
               "  <title>Title</title>\n"
               "  <effectiveTime value=\"20000101\"/>\n"
               "  <component><structuredBody>\n"
               "    <component><section><id root=\"AAAAAAAA-0000-0000-0000-000000000000\"/><title>Keep</title></section></component>\n"
               "    <component><section ID=\"S\"><id root=\"00000000-0000-0000-0000-000000000000\"/><!-- pattern -->"
               "<title>Section</title><text><paragraph>Text</paragraph></text></section></component>\n"
               "  </structuredBody></component>\n"
               "</document>\n")
        .arg(documentCode);
}

const QString transformationText = QStringLiteral(
    "<Word2SPLTransform>"
    "<Transform><Name>General Data</Name><Definition><Source>SPLR4/GeneralData</Source><Target>document</Target></Definition>"
    "<Value><Source>DocumentID</Source><Target Attribute=\"root\">id</Target></Value>"
    "<Value><Source>EffectiveTime[.!='']</Source><Target Attribute=\"value\">effectiveTime</Target></Value>"
    "<Value><Source>Title</Source><Target>title</Target></Value></Transform>"
    "<Transform><Name>Section</Name><Definition><Source>SPLR4/Sections/Section</Source>"
    "<Target AllowClone=\"1\" DirectCopy=\"1\">document/component/structuredBody/component[section/@ID]</Target><ParentNode/></Definition>"
    "<Value><Source>SectionID</Source><Target Attribute=\"root\">section/id</Target></Value>"
    "<Value><Source>SectionID</Source><Target Attribute=\"ID\" Prefix=\"ID_\">section</Target></Value>"
    "<Value><Source>Title</Source><Target>section/title</Target></Value>"
    "<Value><Source>Text</Source><Target>section/text/paragraph</Target></Value></Transform>"
    "%1"
    "<PostProcessing><Name>Extra</Name><Definition><TemplateFile>\\SPLR4Definitions\\Fragment.xml</TemplateFile>"
    "<Source>SPLR4/Sections/Section</Source><TemplateTarget>f/component</TemplateTarget>"
    "<Target>document/component/structuredBody</Target></Definition></PostProcessing>"
    "</Word2SPLTransform>");

const QString fragmentText = QStringLiteral(
    "<f xmlns=\"urn:hl7-org:v3\"><component><section><id root=\"BBBBBBBB-0000-0000-0000-000000000000\"/>"
    "<title>Post-processed</title></section></component></f>");

QString settingsText(const QString& extra = {}, const QString& title = QStringLiteral("First&#10;Second"),
                     const QString& effectiveTime = QStringLiteral("20240115"))
{
    return QStringLiteral(
               "<?xml version=\"1.0\"?>"
               "<SPLR4 Word2SPLID=\"r\"><GeneralData Word2SPLID=\"g\">"
               "<DocumentID Word2SPLID=\"d\">11111111-2222-3333-4444-555555555555</DocumentID>"
               "<EffectiveTime Word2SPLID=\"e\">%2</EffectiveTime>"
               "<Title Word2SPLID=\"t\" AllowMultiLineText=\"1\">%1</Title></GeneralData>"
               "<Sections Word2SPLID=\"ss\">"
               "<Section Word2SPLID=\"s1\"><SectionID Word2SPLID=\"s1i\">aaaaaaaa-0000-0000-0000-000000000001</SectionID>"
               "<Title Word2SPLID=\"s1t\">One</Title><Text Word2SPLID=\"s1x\">first text</Text></Section>"
               "<Section Word2SPLID=\"s2\"><SectionID Word2SPLID=\"s2i\">aaaaaaaa-0000-0000-0000-000000000002</SectionID>"
               "<Title Word2SPLID=\"s2t\">Two</Title></Section>"
               "</Sections>%3</SPLR4>")
        .arg(title, effectiveTime, extra);
}

QString modification(const QString& condition, const QString& action, const QString& target)
{
    return QStringLiteral("<TargetModification><TargetCondition>%1</TargetCondition><Action>%2</Action>"
                          "<Description>tidy up</Description><Target>%3</Target></TargetModification>")
        .arg(condition, action, target);
}

class BuildRunTest : public BuildLogTest {
protected:
    void SetUp() override
    {
        BuildLogTest::SetUp();
        QDir().mkpath(program.file("SPLR4Definitions"));
        writeDefinitions();
        app_paths::setProgramFolderForTesting(program.path());
    }

    void TearDown() override
    {
        app_paths::setProgramFolderForTesting({});
        BuildLogTest::TearDown();
    }

    void writeDefinitions(const QString& modifications = {})
    {
        const QString folder = program.file("SPLR4Definitions/");
        writeTextFile(folder + "TemplateSPLR4_FDA_DrugProduct.xml", templateText("34391-3"));
        writeTextFile(folder + "TemplateSPLR4_FDA_KitAssembly.xml", templateText("34390-5"));
        writeTextFile(folder + "TransformSPLR4_DrugProduct.xml", transformationText.arg(modifications));
        writeTextFile(folder + "TransformSPLR4_KitAssembly.xml", transformationText.arg(modifications));
        writeTextFile(folder + "Fragment.xml", fragmentText);
        writeTextFile(folder + "DefinitionSPLR4.xml",
                      "<SPLR4><Products><KitAssembly><Part>1</Part><Name/></KitAssembly></Products></SPLR4>");
    }

    xml::Document build(const QString& settings)
    {
        TransformSPLR4ToSPL(documentFrom(settings), splFile);
        xml::Document built;
        if (QFileInfo::exists(splFile))
            built.load(splFile);
        return built;
    }

    bool completed() const { return logText().contains("Operation Completed "); }

    TempDir program;
    TempDir out;
    const QString splFile = out.file("label.xml");
};

TEST_F(BuildRunTest, ASettingsDocumentBecomesAFinishedValidatedSPLFile)
{
    const xml::Document built = build(settingsText());

    ASSERT_FALSE(built.documentElement().isNull()) << logText().toStdString();
    const QString saved = readTextFile(splFile);
    EXPECT_TRUE(saved.startsWith("<?xml version=\"1.0\" encoding=\"UTF-8\"?>"));
    EXPECT_FALSE(saved.contains("Word2SPLID"));
    EXPECT_FALSE(saved.contains("<!--"));
    EXPECT_FALSE(saved.contains("xmlns=\"\""));
    // The title made from multi-line text takes the SPL namespace and replaces the unfilled one.
    const xml::NodeList titles = built.selectNodes("document/title");
    ASSERT_EQ(titles.length(), 1);
    EXPECT_EQ(titles.item(0).namespaceURI(), "urn:hl7-org:v3");
    EXPECT_EQ(titles.item(0).selectNodes("br").length(), 1);
    EXPECT_EQ(built.selectSingleNode("document/effectiveTime").getAttribute("value"), "20240115");
    // Copies in settings order, the pattern cleaned away, the untouched section kept.
    QStringList sections;
    for (const xml::Node& title : built.selectNodes("document/component/structuredBody/component/section/title"))
        sections << title.text();
    EXPECT_EQ(sections, QStringList({"Keep", "One", "Two"}));
    EXPECT_TRUE(built.selectSingleNode("//section[title='Two']/text").isNull());

    EXPECT_TRUE(logHas("Information", "Loading SPL Template"));
    EXPECT_TRUE(logHas("Information", "Saving SPL File: " + splFile));
    EXPECT_TRUE(logHas("Information", "XML File is valid against FDA SPL Schema.")) << logText().toStdString();
    EXPECT_FALSE(logText().contains("Check"));
    EXPECT_TRUE(completed());
    EXPECT_FALSE(logText().contains("Postprocessing"));
}

TEST_F(BuildRunTest, ATemplateThatCannotBeLoadedEndsTheBuildWithoutAFileOrACompletedLine)
{
    writeTextFile(splFile, "the user's earlier file");
    writeTextFile(program.file("SPLR4Definitions/TemplateSPLR4_FDA_DrugProduct.xml"), "<document>");
    build(settingsText());

    EXPECT_EQ(readTextFile(splFile), "the user's earlier file");
    EXPECT_TRUE(logText().contains("TemplateSPLR4_FDA_DrugProduct.xml' cannot be loaded"));
    EXPECT_FALSE(completed());

    closeLog();
    writeDefinitions();
    QFile::remove(program.file("SPLR4Definitions/TransformSPLR4_DrugProduct.xml"));
    build(settingsText());
    EXPECT_TRUE(logText().contains("TransformSPLR4_DrugProduct.xml' cannot be loaded"));
    EXPECT_FALSE(completed());
}

TEST_F(BuildRunTest, OnlyAKitAssemblyWithAFilledValueTakesTheKitPair)
{
    const QString kit = "<Products Word2SPLID=\"p\"><KitAssembly Word2SPLID=\"k\"><Part Word2SPLID=\"kp\">%1</Part>"
                        "<Name Word2SPLID=\"kn\">%2</Name></KitAssembly></Products>";
    // Empty, or holding only what a new document starts with: no kit.
    for (const auto& [part, name] : {std::pair{"", ""}, std::pair{"1", " "}}) {
        closeLog();
        EXPECT_EQ(build(settingsText(QString(kit).arg(part, name))).selectSingleNode("document/code").getAttribute("code"),
                  "34391-3") << part;
    }
    for (const auto& [part, name] : {std::pair{"2", ""}, std::pair{"1", "Kit"}}) {
        closeLog();
        EXPECT_EQ(build(settingsText(QString(kit).arg(part, name))).selectSingleNode("document/code").getAttribute("code"),
                  "34390-5") << part << name;
    }
}

TEST_F(BuildRunTest, PostProcessingRunsOnlyWhenTheDocumentSaysExactlyYes)
{
    const QString option = "<ProductLabel Word2SPLID=\"pl\"><WordDocument Word2SPLID=\"wd\">"
                           "<PostprocessProductLabel Word2SPLID=\"pp\">%1</PostprocessProductLabel></WordDocument></ProductLabel>";
    for (const char* no : {"yes", " Yes", "No"}) {
        closeLog();
        const xml::Document built = build(settingsText(QString(option).arg(no)));
        EXPECT_TRUE(built.selectSingleNode("//section[title='Post-processed']").isNull()) << no;
        EXPECT_FALSE(logText().contains("Postprocessing: Extra")) << no;
    }
    closeLog();
    const xml::Document built = build(settingsText(QString(option).arg("Yes")));
    EXPECT_EQ(built.selectNodes("//section[title='Post-processed']").length(), 2);
    EXPECT_TRUE(logHas("Information", "Postprocessing: Extra"));
}

TEST_F(BuildRunTest, TargetModificationsDeleteTheFirstTargetWhenTheirConditionHolds)
{
    writeDefinitions(modification("//section[title='Keep']", "delete", "document/component/structuredBody/component")
                     + modification("//section[title='Nowhere']", "DELETE", "document/title")
                     + modification("//section", "REPLACE", "document/title"));
    const xml::Document built = build(settingsText());

    QStringList sections;
    for (const xml::Node& title : built.selectNodes("document/component/structuredBody/component/section/title"))
        sections << title.text();
    EXPECT_EQ(sections, QStringList({"One", "Two"}));
    EXPECT_FALSE(built.selectSingleNode("document/title").isNull());
    EXPECT_EQ(logCount("TargetModification: tidy up"), 1);
}

TEST_F(BuildRunTest, AFailingStepEndsTheRunWithAnErrorLineAndNoFile)
{
    writeDefinitions(modification("//section", "DELETE", "document/nothing"));
    build(settingsText());

    EXPECT_FALSE(QFileInfo::exists(splFile));
    EXPECT_TRUE(logText().contains("TargetModification"));
    EXPECT_TRUE(logText().contains("selects nothing"));
    EXPECT_FALSE(completed());
}

TEST_F(BuildRunTest, ASchemaErrorIsTracedBackToTheSettingsElementsBehindIt)
{
    build(settingsText({}, "Title", "January"));

    EXPECT_TRUE(QFileInfo::exists(splFile));
    EXPECT_TRUE(logText().contains("XML File is not valid against FDA SPL Schema:"));
    // The error is shown where it stands in the saved file, not where the tree's nodes were read.
    const QStringList lines = readTextFile(splFile).split('\n');
    const qsizetype at = lines.indexOf(QRegularExpression(".*value=\"January\".*"));
    ASSERT_GE(at, 0);
    EXPECT_TRUE(logText().contains("Line: " + QString::number(at + 1) + "\n")) << logText().toStdString();
    EXPECT_TRUE(logText().contains("Source: " + lines[at])) << logText().toStdString();
    EXPECT_TRUE(logHas("Check", "General Data - Effective Time"));
    EXPECT_EQ(logCount("Check "), 1);
    EXPECT_TRUE(completed());
}

TEST_F(BuildRunTest, OnlyTheFirstExistingSPLElementSaysWhichFileToMerge)
{
    const QString merge = "<ProductLabelFromExistingSPL Word2SPLID=\"m\"><SPLFileName Word2SPLID=\"f\"/></ProductLabelFromExistingSPL>";
    const xml::Document built = build(settingsText(merge));

    EXPECT_FALSE(logText().contains("Adding SPL from File"));
    EXPECT_EQ(built.selectSingleNode("//section[title='Keep']/id").getAttribute("root"), "AAAAAAAA-0000-0000-0000-000000000000");

    // Only the first element in the document says which file to merge, however deep it lies.
    const QString named = "<ProductLabelFromExistingSPL><SPLFileName>%1</SPLFileName></ProductLabelFromExistingSPL>";
    const QString first = out.file("first.xml");
    const struct {
        QString settings;
        QString merged;  // the file named in the log, or empty
    } rows[] = {
        {"<ProductLabel><Deep>" + named.arg(first) + "</Deep></ProductLabel>" + named.arg(""), first},
        {named.arg(first) + "<ProductLabel><Deep>" + named.arg("") + "</Deep></ProductLabel>" + named.arg(""), first},
        {"<ProductLabel><Deep>" + named.arg("") + "</Deep></ProductLabel>" + named.arg(out.file("later.xml")), {}},
    };
    for (const auto& row : rows) {
        closeLog();
        build(settingsText(row.settings));
        EXPECT_EQ(logText().contains("Adding SPL from File: " + row.merged), !row.merged.isEmpty()) << logText().toStdString();
    }
}

// Adding an SPL file runs behind the progress window. Stopped there, or past the cap on the
// nodes it copies (here 7 + 4 for the sections and 6 for the media, counted at the edge), the
// build ends before it saves, and the media file the merge copied goes again.
TEST_F(BuildRunTest, AddingAnSPLFileStoppedOrPastItsCapLeavesTheSPLFileAsItWas)
{
    const TempDir source;
    writeTextFile(source.file("m.jpg"), "picture");
    writeTextFile(source.file("label.xml"),
                  "<document xmlns=\"urn:hl7-org:v3\"><component><structuredBody>"
                  "<component><section><title>A</title><text><renderMultiMedia referencedObject=\"M1\"/></text>"
                  "<component><observationMedia ID=\"M1\"><value><reference value=\"m.jpg\"/></value></observationMedia>"
                  "</component></section></component>"
                  "<component><section><title>B</title></section></component>"
                  "</structuredBody></component></document>");
    const QString settings = settingsText("<ProductLabelFromExistingSPL><SPLFileName>" + source.file("label.xml")
                                          + "</SPLFileName></ProductLabelFromExistingSPL>");
    const QString stopped = "The build was stopped before the SPL File was saved. The SPL File is not changed: " + splFile;
    const struct {
        int stopAtStep;  // 0: never; the steps are the media taken, two sections, the media placed
        qint64 cap;
        bool saved;
    } rows[] = {{1, 0, false}, {2, 0, false}, {4, 0, false}, {0, 17, true}, {0, 16, false}};
    for (const auto& row : rows) {
        SCOPED_TRACE(testing::Message() << row.stopAtStep << " " << row.cap);
        closeLog();
        QFile::remove(out.file("m.jpg"));
        writeTextFile(splFile, "previous");
        int steps = 0;
        ui::WorkProgress::setStopHook([&] { return ++steps == row.stopAtStep; });
        setCopiedNodeCapForTesting(row.cap);
        const BuildOutcome outcome = TransformSPLR4ToSPL(documentFrom(settings), splFile);
        ui::WorkProgress::setStopHook({});
        setCopiedNodeCapForTesting(0);

        EXPECT_EQ(outcome.written, row.saved) << logText().toStdString();
        EXPECT_EQ(readTextFile(splFile) == "previous", !row.saved);
        EXPECT_EQ(QFileInfo::exists(out.file("m.jpg")), row.saved);
        EXPECT_EQ(logHas("Information", stopped), row.stopAtStep > 0);
        EXPECT_EQ(outcome.failure.contains("more than 16 nodes"), row.cap == 16) << outcome.failure.toStdString();
        EXPECT_EQ(completed(), row.saved);
    }
}

// Pending events let through during a build may ask for another one.
class ReentrantUi : public ScriptedUi {
public:
    std::function<void()> onPump;
    void pumpMessages() override
    {
        ScriptedUi::pumpMessages();
        if (onPump)
            std::exchange(onPump, nullptr)();
    }
};

TEST_F(BuildRunTest, ABuildAskedForWhileOneRunsIsRefused)
{
    writeDefinitions("<Transform><Name>Drug Product Packaging</Name><Definition><Source>SPLR4/GeneralData</Source>"
                     "<Target>document</Target></Definition></Transform>");
    ReentrantUi reentrant;
    const QString secondFile = out.file("second.xml");
    reentrant.onPump = [&] { TransformSPLR4ToSPL(documentFrom(settingsText()), secondFile); };
    build(settingsText());

    ASSERT_EQ(reentrant.messages.size(), 1);
    EXPECT_EQ(reentrant.messages[0].icon, ui::Icon::Warning);
    EXPECT_FALSE(QFileInfo::exists(secondFile));
    EXPECT_TRUE(QFileInfo::exists(splFile));
    EXPECT_TRUE(logHas("Information", "Loading SPL Template"));
    EXPECT_TRUE(completed());
    closeLog();
    build(settingsText()); // the guard is released when the run ends
    EXPECT_TRUE(completed());
}

TEST_F(BuildLogTest, TracingASchemaErrorNamesTheValuesWhoseTargetEndsInTheElement)
{
    const xml::Document transformation = documentFrom(
        "<Word2SPLTransform><Transform><Name>P</Name><Definition><Source>SPLR4/Products/Product</Source><Target>t</Target></Definition>"
        "<Value><Source>DosageFormCode[.!='']</Source><Target Attribute=\"code\">product/formCode</Target></Value>"
        "<Value><Source>NDCProductCode</Source><Target Attribute=\"code\">product/code</Target></Value>"
        "<Value><Source>Name</Source><Target>code/name</Target></Value></Transform>"
        "<PostProcessing><Name>X</Name><Definition><Source>SPLR4/X</Source></Definition>"
        "<Value><Source>Y</Source><Target>code</Target></Value></PostProcessing></Word2SPLTransform>");

    EXPECT_EQ(schemaErrorElementName("\t\t<code code=\"x\">"), "code");
    EXPECT_EQ(schemaErrorElementName("<br/>"), "br/");
    TraceSchemaError("\t<code code=\"x\">", QString(), transformation);
    EXPECT_TRUE(logHas("Check", "Product - NDC Product Code"));
    EXPECT_EQ(logCount("Check "), 1);

    closeLog();
    TraceSchemaError(QString(), QString(), transformation);
    TraceSchemaError("   plain text of a paragraph", QString(), transformation);
    TraceSchemaError("<unknown a=\"1\">", QString(), transformation);
    EXPECT_EQ(logCount("Check "), 3);
    EXPECT_TRUE(logHas("Check", "No settings element could be found behind the schema error."));
    EXPECT_TRUE(logHas("Check", "No settings element could be found behind the SPL element 'unknown' of the schema error."));
}

TEST(FinishSPLDocumentTest, TheFinishedDocumentHoldsNoBuildMarksCommentsOrEditorAttributes)
{
    xml::Document target = documentFrom(
        "<?xml version=\"1.0\" encoding=\"ISO-8859-1\"?><!-- top --><document xmlns=\"urn:hl7-org:v3\">"
        "<title Word2SPLID=\"Title t\">T<!-- inside --></title>"
        "<component><section><text Word2SPLID=\"7\" Color=\"255\"><paragraph AllowMultiLineText=\"1\">x</paragraph></text>"
        "</section></component></document>");
    // An element made without a namespace, as the multi-line text makes them.
    target.selectSingleNode("document/component/section").appendChild(target.createElement("title"));

    FinishSPLDocument(target);

    const QString text = target.xml();
    for (const char* gone : {"Word2SPLID", "Color", "AllowMultiLineText", "<!--", "xmlns=\"\""})
        EXPECT_FALSE(text.contains(gone)) << gone;
    EXPECT_TRUE(text.startsWith("<?xml version=\"1.0\" encoding=\"UTF-8\"?>"));
    EXPECT_EQ(target.selectSingleNode("document/component/section/title").namespaceURI(), "urn:hl7-org:v3");
    EXPECT_EQ(target.selectSingleNode("document/component/section/text/paragraph").text(), "x");
}

} // namespace
