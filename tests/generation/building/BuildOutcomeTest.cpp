#include "generation/CheckingTestSupport.h"

#include "app/log/Log.h"
#include "editor/window/EditorHooks.h"
#include "generation/InstallGenerationHooks.h"
#include "generation/building/SchemaErrorTrace.h"
#include "platform/xml/tree/Document.h"
#include "platform/xml/resources/ResourceResolver.h"
#include "splbuilder/ValidateAgainstSchema.h"
#include "support/Fixtures.h"

#include <QFile>
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
    EXPECT_EQ(test::messageTexts(ui), QStringList{QStringLiteral("Build SPL completed, SPL File: \r\n\r\n") + built});

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
