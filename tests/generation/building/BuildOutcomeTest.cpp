#include "generation/CheckingTestSupport.h"
#include "generation/SettingsFromSPL.h"

#include "app/log/Log.h"
#include "editor/window/EditorHooks.h"
#include "generation/InstallGenerationHooks.h"
#include "generation/building/SchemaErrorTrace.h"
#include "platform/xml/tree/Document.h"
#include "platform/xml/resources/ResourceResolver.h"
#include "splbuilder/ValidateAgainstSchema.h"
#include "support/Fixtures.h"

#include <QFile>
#include <QRegularExpression>
#include <gtest/gtest.h>

using namespace veldra;

namespace {

const QString Settings = QStringLiteral(R"(<?xml version="1.0" encoding="UTF-8"?>
<SPLR4 Word2SPLID="k0">
  <GeneralData Word2SPLID="k1"><DocumentID Word2SPLID="k2">doc-1</DocumentID><Title Word2SPLID="k3">Title</Title><EffectiveTime Word2SPLID="k4">20240115</EffectiveTime></GeneralData>
</SPLR4>)");

// What the build command tells the user, with the real build behind it.
class BuildOutcomeTest : public test::CheckingTest {
protected:
    BuildOutcomeTest() : savedHooks_(editorHooks()) { installGenerationHooks(); }
    ~BuildOutcomeTest() override { editorHooks() = savedHooks_; }

private:
    EditorHooks savedHooks_;
};

// With logging off the message box is the only report: the completion box only when the file
// was written, otherwise the failure. The save dialog starts in the document's folder when no
// build folder is remembered yet.
TEST_F(BuildOutcomeTest, WithLoggingOffTheBoxTellsWhetherTheFileWasWritten)
{
    frmXMLEditor* editor = openEditor(Settings, QStringLiteral("labels/Settings.xml"));
    NoLogging = true;

    const QString built = dir.file(QStringLiteral("built.xml"));
    ui.saveFiles.push_back(built);
    editor->TransformSPL();
    ASSERT_EQ(ui.fileRequests.size(), 1);
    EXPECT_EQ(ui.fileRequests[0].initialFolder, dir.file(QStringLiteral("labels")));
    EXPECT_EQ(ui.fileRequests[0].fileName, QStringLiteral("doc-1.xml"));
    EXPECT_TRUE(QFile::exists(built));
    ASSERT_EQ(ui.messages.size(), 1);
    EXPECT_TRUE(ui.messages[0].text.startsWith(QStringLiteral("Build SPL completed, SPL File: \r\n\r\n") + built))
        << ui.messages[0].text.toStdString();

    program.write(QStringLiteral("SPLR4Definitions/TemplateSPLR4_FDA_DrugProduct.xml"), QStringLiteral("<broken"));
    ui.messages.clear();
    const QString second = dir.file(QStringLiteral("second.xml"));
    ui.saveFiles.push_back(second);
    editor->TransformSPL();
    EXPECT_FALSE(QFile::exists(second));
    ASSERT_EQ(ui.messages.size(), 1);
    EXPECT_EQ(ui.messages[0].icon, ui::Icon::Critical);
    EXPECT_TRUE(ui.messages[0].text.contains(QStringLiteral("TemplateSPLR4_FDA_DrugProduct.xml")))
        << ui.messages[0].text.toStdString();
}

// With logging off, a file written but not valid, or missing its pictures, is no plain
// success: the box says so, with as many warnings and errors as the same build logs with
// logging on.
TEST_F(BuildOutcomeTest, WithLoggingOffTheBoxTellsWhatTheLogWouldHaveSaid)
{
    program.useShippedDefinitions();
    const xml::Document settings =
        test::settingsFromSPL(test::fixture(QStringLiteral("spl-documents/openfda-lipitor-rx/lipitor-orig.xml")));
    settings.selectSingleNode(QStringLiteral("SPLR4/GeneralData/EffectiveTime")).setText(QString());
    frmXMLEditor* editor = openEditor(settings.xml(), QStringLiteral("labels/Settings.xml"));

    const QString built = dir.file(QStringLiteral("lipitor.xml"));
    ui.saveFiles.push_back(built);
    editor->TransformSPL();
    ASSERT_TRUE(ui.messages.isEmpty());
    const QString log = logText();
    // The lines of a category, less the notes of values without a source or a target, which
    // a build without a log does not look for.
    const auto linesOf = [&](const QString& category) {
        return log.count(QRegularExpression(QStringLiteral("(^|\n)%1 +(?!.*Data Element not found)\\S").arg(category)));
    };
    const qsizetype pictures = log.count(QStringLiteral("is not beside the SPL File"));
    ASSERT_GE(pictures, 5);
    ASSERT_TRUE(log.contains(QStringLiteral("not valid"))) << log.toStdString();

    NoLogging = true;
    ui.saveFiles.push_back(built);
    editor->TransformSPL();
    ASSERT_EQ(ui.messages.size(), 1);
    EXPECT_EQ(ui.messages[0].icon, ui::Icon::Warning);
    const QString text = ui.messages[0].text;
    EXPECT_TRUE(text.startsWith(QStringLiteral("Build SPL completed, SPL File: \r\n\r\n") + built)) << text.toStdString();
    EXPECT_TRUE(text.contains(QStringLiteral("The SPL File is not valid against the FDA SPL Schema."))) << text.toStdString();
    EXPECT_TRUE(text.contains(QStringLiteral("%1 picture file(s) that the SPL File refers to are not beside it.").arg(pictures)))
        << text.toStdString();
    EXPECT_TRUE(text.contains(QStringLiteral("The build found %1 warnings and %2 error").arg(linesOf(QStringLiteral("Warning"))).arg(linesOf(QStringLiteral("Error")))))
        << text.toStdString();
}

// A label without its effective time fails the schema at the set id that follows the gap; the
// trace names the settings element of the missing effective time, not the set id.
TEST_F(BuildOutcomeTest, ASchemaErrorIsTracedToTheMissingElement)
{
    QString label = test::readTextFile(test::fixture(QStringLiteral("spl-documents/openfda-cough-otc/cough.xml")));
    label.remove(QStringLiteral("<effectiveTime value=\"20110426\"/>"));
    const QString file = writeFile(QStringLiteral("label.xml"), label);
    xml::Document transformation;
    ASSERT_TRUE(transformation.load(test::sourceDataDir() + QStringLiteral("/SPLR4Definitions/TransformSPLR4_DrugProduct.xml")));

    xml::SchemaCheck check;
    const QString sourceLine = ValidateAgainstSchema(file, &check);
    ASSERT_TRUE(sourceLine.contains(QStringLiteral("setId"))) << sourceLine.toStdString();
    TraceSchemaError(sourceLine, check.reason, transformation);

    EXPECT_TRUE(logHas(QStringLiteral("Check"), QStringLiteral("General Data - Effective Time"))) << logText().toStdString();
    EXPECT_FALSE(logText().contains(QStringLiteral("Set ID")));
}

} // namespace
