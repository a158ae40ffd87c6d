#include "generation/CheckingTestSupport.h"

#include "app/Hooks.h"
#include "app/window/frmMain.h"
#include "editor/window/EditorHooks.h"
#include "generation/InstallCheckingHooks.h"
#include "generation/ProgramWindows.h"
#include "generation/crosscheck/frmSPLCrossCheck.h"

#include <QAction>
#include <gtest/gtest.h>

using namespace veldra;

namespace {

// The main window's and the editor's commands reach the checking subsystem through its hooks.
class CheckingHooksTest : public test::CheckingTest {
protected:
    CheckingHooksTest() : savedHooks_(hooks()), savedEditorHooks_(editorHooks()) { installCheckingHooks(); }
    ~CheckingHooksTest() override
    {
        hooks() = savedHooks_;
        editorHooks() = savedEditorHooks_;
    }

private:
    Hooks savedHooks_;
    EditorHooks savedEditorHooks_;
};

TEST_F(CheckingHooksTest, MenuCommandsOpenTheCheckingDialogs)
{
    frmXMLEditor* editor = openEditor(QStringLiteral("<SPLR4><GeneralData><DocumentID>d</DocumentID></GeneralData></SPLR4>"));
    select(editor, QStringLiteral("General Data"));

    main->mnuSPLR4Preview->trigger();
    editor->ReverseTransformNode();
    main->mnuSPLCrossCheck->trigger();

    ASSERT_EQ(ui.fileRequests.size(), 2);
    EXPECT_EQ(ui.fileRequests[0].title, QStringLiteral("Preview SPL File"));
    EXPECT_EQ(ui.fileRequests[1].filter, QStringLiteral("Existing SPL File (*.xml)"));
    int crossChecks = 0;
    for (QWidget* window : programWindows())
        crossChecks += qobject_cast<frmSPLCrossCheck*>(window) ? 1 : 0;
    EXPECT_EQ(crossChecks, 1);
}

} // namespace
