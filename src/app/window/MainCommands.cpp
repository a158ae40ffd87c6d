// The main window's menu commands on files, windows and help (Save among them, which saves
// the current editor's document as the other document commands act on it), and the main
// window's public operations.

#include "app/window/frmMain.h"

#include "app/EditorWindow.h"
#include "app/window/FormLaunchers.h"
#include "app/HookCall.h"
#include "app/Hooks.h"
#include "app/log/Log.h"
#include "app/window/RememberedFolders.h"
#include "app/shared/SharedProcedures.h"
#include "app/window/WebAddresses.h"
#include "app/window/WindowArrange.h"
#include "app/window/WindowListDialog.h"
#include "platform/core/AppPaths.h"
#include "platform/core/Skip.h"
#include "platform/ui/Ui.h"
#include "platform/xml/tree/Document.h"

#include <QAction>
#include <QMdiArea>
#include <QMdiSubWindow>

namespace veldra {

// File menu

void frmMain::mnuFileSaveLog_Click()
{
    SaveLog();
}

void frmMain::mnuFileLoadXMLFile_Click()
{
    LoadXMLFileForReview();
}

void frmMain::mnuSPLR4Preview_Click()
{
    callHook(hooks().PreviewSPLFile);
}

void frmMain::mnuFileCreateWordLabelTemplate_Click()
{
    callHook(hooks().CreateEmptyProductLabelTemplate);
}

void frmMain::mnuFileExit_Click()
{
    close();
}

// Product Label menu (not shown in the menu bar)

void frmMain::mnuFileConvert_Click()
{
    ShowBuildSPLForm();
}

void frmMain::mnuFileSaveSettings_Click()
{
    if (!hooks().SaveSettingsFile)
        return;
    Dialog.prepareFile(QStringLiteral("Save Settings"), QStringLiteral("XML Files (*.xml) | *.xml"));
    Dialog.overwritePrompt = true;
    if (showSaveDialog())
        callHook(hooks().SaveSettingsFile, Dialog.fileName);
}

void frmMain::mnuFileLoadSettings_Click()
{
    if (!hooks().LoadSettingsFile)
        return;
    Dialog.prepareFile(QStringLiteral("Load Settings"), QStringLiteral("XML Files (*.xml) | *.xml"));
    if (showOpenDialog())
        callHook(hooks().LoadSettingsFile, Dialog.fileName);
}

// SPL Document menu, commands on files and windows

void frmMain::mnuNewSPLR4_Click()
{
    callHook(hooks().OpenSettingsDocument, QString());
}

void frmMain::mnuOpenSPLR4_Click()
{
    if (!hooks().OpenSettingsDocument)
        return;
    Dialog.prepareFile(QStringLiteral("Open Settings File"), QStringLiteral("XML Files | *.xml"));
    skip([&] { Dialog.initDir = GetLastFolder(QStringLiteral("Settings")); });
    if (!showOpenDialog())
        return;
    const QString path = Dialog.fileName;
    skip([&] { SaveLastFolder(QStringLiteral("Settings"), path); });
    callHook(hooks().OpenSettingsDocument, path);
}

void frmMain::mnuSaveSPLR4_Click()
{
    if (EditorWindow* editor = currentEditor())
        skip([&] { editor->SaveXMLDoc(false); });
}

void frmMain::mnuSaveSPLR4As_Click()
{
    if (EditorWindow* editor = currentEditor())
        skip([&] { editor->SaveXMLDoc(true); });
}

void frmMain::mnuSPLR4CreateDocumentReport_Click()
{
    if (!hooks().CreateDocumentReport)
        return;
    Dialog.prepareFile(QStringLiteral("Create Document Report"), QStringLiteral("HTML Files | *.html"));
    Dialog.overwritePrompt = true;
    if (showSaveDialog())
        callHook(hooks().CreateDocumentReport, Dialog.fileName);
}

void frmMain::mnuSPLCrossCheck_Click()
{
    ShowSPLCrossCheckForm();
}

void frmMain::mnuSPLValidate_Click()
{
    callHook(hooks().ValidateOnline);
}

void frmMain::mnuShowLogging_Click()
{
    // The item's check mark has just been inverted by the click.
    NoLogging = !mnuShowLogging->isChecked();
}

// Wizards menu

void frmMain::mnuWizard_Click(int index)
{
    if (index >= 0 && index < mnuWizard.size())
        callHook(hooks().RunWizard, mnuWizard.at(index)->text());
}

// Window menu

void frmMain::mnuWindowCascade_Click()
{
    mdiArea_->cascadeSubWindows();
}

void frmMain::mnuWindowTileHorizontally_Click()
{
    tileSubWindows(mdiArea_, Qt::Horizontal);
}

void frmMain::mnuWindowTileVertically_Click()
{
    tileSubWindows(mdiArea_, Qt::Vertical);
}

void frmMain::mnuWindowArrangeIcons_Click()
{
    arrangeIcons(mdiArea_);
}

void frmMain::mnuWindowList_Click()
{
    const QList<QMdiSubWindow*> windows = openChildWindows();
    if (windows.isEmpty()) {
        ui::msgBox(QStringLiteral("No window is open."), ui::Buttons::OK, ui::Icon::Information);
        return;
    }
    QStringList captions;
    for (QMdiSubWindow* window : windows)
        captions << window->windowTitle();
    const QList<QPointer<QMdiSubWindow>> targets(windows.begin(), windows.end());
    const int chosen = chooseWindow(this, captions, int(windows.indexOf(mdiArea_->currentSubWindow())));
    if (chosen >= 0 && targets.at(chosen))
        showChildWindow(targets.at(chosen)->widget());
}

// Help menu

void frmMain::mnuHelpUserManual_Click()
{
    ShellOpenFile(app_paths::inProgram(QStringLiteral("Help/Help.html")));
}

void frmMain::mnuVeldra_Click()
{
    ShellOpenAddress(web::FdaSplResources);
}

void frmMain::mnuHelpDailyMed_Click()
{
    ShellOpenAddress(web::DailyMed);
}

void frmMain::mnuHelpSPLOnlineValidator_Click()
{
    ShellOpenAddress(web::SplOnlineValidator);
}

void frmMain::mnuHelpAbout_Click()
{
    ShowAboutBox();
}

// Debug menu (not shown in the menu bar)

void frmMain::mnuDebugProcess_Click()
{
    MoveRecentMajorChangesFirst();
}

// Public operations

void frmMain::AddLOINCCodes(xml::Document document)
{
    if (!hooks().ProcessLoincCodes)
        return;
    try {
        ShowLogWindow(true);
        WriteLog(log_category::Processing, QStringLiteral("Start Adding Loinc Codes "), false);
        if (!hooks().ProcessLoincCodes(document)) {
            ui::msgBox(QStringLiteral("The operation has been cancelled: the sections not coded by then got the "
                                      "unclassified section code. Please check the Log for more information."),
                       ui::Buttons::OK, ui::Icon::Warning);
            return;
        }
        WriteLog(log_category::Processing, QStringLiteral("Adding Loinc Codes Completed "), false);
        ui::msgBox(QStringLiteral("The operation has been completed. Please check the Log for more information."),
                   ui::Buttons::OK, ui::Icon::Information);
    } catch (const VbError& error) {
        ui::showError(error);
    } catch (const std::exception& error) {
        ui::showError(toVbError(error, QStringLiteral("AddLOINCCodes")));
    }
}

void frmMain::InstallLoincDatabase()
{
    Dialog.prepareFile(QStringLiteral("Install LOINC Database"), QStringLiteral("MS Access Database (*.mdb) | *.mdb"));
    if (showOpenDialog())
        InstallLoincDatabaseFile(Dialog.fileName);
}

void frmMain::SaveLog()
{
    Dialog.prepareFile(QStringLiteral("Save Information to RTF File"), QStringLiteral("Rich Text Format (*.rtf) | *.rtf"));
    Dialog.overwritePrompt = true;
    if (showSaveDialog())
        SaveLogToFile(Dialog.fileName);
}

} // namespace veldra
