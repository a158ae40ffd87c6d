#include "generation/CheckingTestSupport.h"

#include "app/Hooks.h"
#include "app/log/Log.h"
#include "app/window/frmMain.h"
#include "editor/window/EditorHooks.h"
#include "generation/InstallCheckingHooks.h"
#include "generation/ProgramWindows.h"
#include "generation/crosscheck/frmSPLCrossCheck.h"

#include <QAction>
#include <QDir>
#include <QFileInfo>
#include <functional>
#include <gtest/gtest.h>

using namespace veldra;

namespace {

const QString Settings = QStringLiteral(
    "<SPLR4 Word2SPLID=\"k0\"><GeneralData Word2SPLID=\"k1\"><DocumentID Word2SPLID=\"k2\">d</DocumentID>"
    "</GeneralData></SPLR4>");

// The file dialogs of the menu commands, which share one dialog.
class FileDialogsTest : public test::CheckingTest {
protected:
    FileDialogsTest() : savedHooks_(hooks()), savedEditorHooks_(editorHooks()) { installCheckingHooks(); }
    ~FileDialogsTest() override
    {
        hooks() = savedHooks_;
        editorHooks() = savedEditorHooks_;
    }

    frmSPLCrossCheck* openCrossCheck()
    {
        main->mnuSPLCrossCheck->trigger();
        for (QWidget* window : programWindows())
            if (auto* form = qobject_cast<frmSPLCrossCheck*>(window))
                return form;
        return nullptr;
    }

private:
    Hooks savedHooks_;
    EditorHooks savedEditorHooks_;
};

// Each command opens the dialog with its own title, filter and file name, whatever the command
// before it left there.
TEST_F(FileDialogsTest, EveryCommandSetsItsOwnTitleFilterAndFileName)
{
    frmXMLEditor* editor = openEditor(Settings);
    select(editor, QStringLiteral("General Data"));
    WriteLog(QStringLiteral("Information"), QStringLiteral("something to save"));
    ui.saveFiles.push_back(dir.file(QStringLiteral("comparelog.rtf")));
    main->SaveLog();
    frmSPLCrossCheck* crossCheck = openCrossCheck();
    ASSERT_NE(crossCheck, nullptr);

    struct Step {
        QString title;
        QString filter;
        std::function<void()> command;
    };
    const std::vector<Step> steps = {
        {"Import Data from Existing SPL File", "Existing SPL File (*.xml)", [&] { editor->ReverseTransformNode(); }},
        {"Create Document Report", "HTML Files (*.html)", [&] { main->mnuSPLR4CreateDocumentReport->trigger(); }},
        {"Select SPL File 1", "SPL XML Files (*.xml)", [&] { crossCheck->cmdBrowseFile1_Click(); }},
        {"Save Information to RTF File", "Rich Text Format (*.rtf)", [&] { main->SaveLog(); }},
        {"Preview SPL File", "XML Files (*.xml)", [&] { main->mnuSPLR4Preview->trigger(); }},
    };
    for (const Step& step : steps) {
        SCOPED_TRACE(step.title.toStdString());
        ui.fileRequests.clear();
        step.command();  // cancelled
        ASSERT_EQ(ui.fileRequests.size(), 1);
        EXPECT_EQ(ui.fileRequests[0].title, step.title);
        EXPECT_EQ(ui.fileRequests[0].filter, step.filter);
        EXPECT_EQ(ui.fileRequests[0].fileName, QString());
    }
}

// A name typed without an extension gets the one of the dialog's filter, so that the file is
// found again under that filter.
TEST_F(FileDialogsTest, SavedFilesGetTheExtensionOfTheFilter)
{
    frmXMLEditor* editor = openEditor(Settings);
    WriteLog(QStringLiteral("Information"), QStringLiteral("something to save"));
    struct Case {
        QString typed;
        QString written;
        std::function<void()> command;
    };
    const std::vector<Case> cases = {
        {"mylabel", "mylabel.xml", [&] { editor->SaveXMLDoc(true); }},
        {"mylog", "mylog.rtf", [&] { main->SaveLog(); }},
        {"myreport", "myreport.html", [&] { main->mnuSPLR4CreateDocumentReport->trigger(); }},
        {"my.notes", "my.notes", [&] { main->SaveLog(); }},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.typed.toStdString());
        ui.fileRequests.clear();
        ui.saveFiles.push_back(dir.file(c.typed));
        c.command();
        ASSERT_EQ(ui.fileRequests.size(), 1);
        EXPECT_TRUE(QFileInfo::exists(dir.file(c.written)));
        if (c.typed != c.written) {
            EXPECT_FALSE(QFileInfo::exists(dir.file(c.typed)));
        }
    }
    EXPECT_EQ(editor->XMLFileName, dir.file(QStringLiteral("mylabel.xml")));
}

} // namespace

namespace {

// When the desktop has no program for a file the program opens for the user (the manual, a
// report just written), the user is told where the file is.
TEST_F(FileDialogsTest, AFileTheDesktopCannotOpenIsNamedWithItsFullPath)
{
    openEditor(Settings);
    ui.shellOpenSucceeds = false;
    struct Case {
        QString opened;
        std::function<void()> command;
    };
    const std::vector<Case> cases = {
        {program.file(QStringLiteral("Help/Help.html")), [&] { main->mnuHelpUserManual->trigger(); }},
        {dir.file(QStringLiteral("report.html")), [&] {
             ui.saveFiles.push_back(dir.file(QStringLiteral("report.html")));
             main->mnuSPLR4CreateDocumentReport->trigger();
         }},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.opened.toStdString());
        ui.messages.clear();
        ui.opened.clear();
        c.command();
        EXPECT_EQ(ui.opened, QStringList{c.opened});
        ASSERT_EQ(ui.messages.size(), 1);
        EXPECT_TRUE(ui.messages[0].text.contains(QDir::toNativeSeparators(c.opened))) << ui.messages[0].text.toStdString();
    }
}

} // namespace
