#include "app/window/MainMenu.h"

#include "app/window/frmMain.h"
#include "platform/core/Skip.h"

#include <QAction>
#include <QKeySequence>
#include <QMenu>
#include <QMenuBar>
#include <array>

namespace veldra {

namespace {

using M = MainMenu;
using F = frmMain;
using namespace menu_state;

constexpr QKeyCombination noKey = QKeyCombination::fromCombined(0);

constexpr MenuEntry menu(QMenu* M::*parent, QMenu* M::*member, const char* name, const char* caption,
                         unsigned state = Shown)
{
    return {parent, name, caption, noKey, state, member, nullptr, nullptr};
}

constexpr MenuEntry item(QMenu* M::*parent, QAction* M::*member, const char* name, const char* caption,
                         QKeyCombination shortcut, unsigned state, void (F::*command)())
{
    return {parent, name, caption, shortcut, state, nullptr, member, command};
}

constexpr MenuEntry separator(QMenu* M::*parent, QAction* M::*member, const char* name)
{
    return {parent, name, nullptr, noKey, Shown, nullptr, member, nullptr};
}

constexpr auto ctrl(Qt::Key key)
{
    return Qt::CTRL | key;
}

constexpr std::array entries = {
    menu(nullptr, &M::mnuFile, "mnuFile", "&File"),
    item(&M::mnuFile, &M::mnuFileSaveLog, "mnuFileSaveLog", "Save &Information Text to File", ctrl(Qt::Key_I), Shown,
         &F::mnuFileSaveLog_Click),
    item(&M::mnuFile, &M::mnuFileLoadXMLFile, "mnuFileLoadXMLFile", "Review SPL File (XML)...", noKey, Shown,
         &F::mnuFileLoadXMLFile_Click),
    item(&M::mnuFile, &M::mnuSPLR4Preview, "mnuSPLR4Preview", "Preview SPL File in Browser...", noKey, Shown,
         &F::mnuSPLR4Preview_Click),
    item(&M::mnuFile, &M::mnuFileCreateWordLabelTemplate, "mnuFileCreateWordLabelTemplate",
         "Create Word Label Template...", noKey, Shown, &F::mnuFileCreateWordLabelTemplate_Click),
    item(&M::mnuFile, &M::mnuFileExit, "mnuFileExit", "&Exit", noKey, Shown, &F::mnuFileExit_Click),

    menu(nullptr, &M::mnuProductLabel, "mnuProductLabel", "Product Label", Hidden | Disabled),
    item(&M::mnuProductLabel, &M::mnuFileConvert, "mnuFileConvert", "&Build Structured Product Label...", noKey, Shown,
         &F::mnuFileConvert_Click),
    item(&M::mnuProductLabel, &M::mnuFileSaveSettings, "mnuFileSaveSettings", "&Save Settings", noKey, Shown,
         &F::mnuFileSaveSettings_Click),
    item(&M::mnuProductLabel, &M::mnuFileLoadSettings, "mnuFileLoadSettings", "Load Settings", noKey, Shown,
         &F::mnuFileLoadSettings_Click),
    item(&M::mnuProductLabel, &M::mnuFileAddLOINCCodes, "mnuFileAddLOINCCodes", "&Add LOINC Codes to SPL",
         noKey, NeedsDocument, &F::mnuFileAddLOINCCodes_Click),

    menu(nullptr, &M::mnuSPLR4, "mnuSPLR4", "SPL Document"),
    item(&M::mnuSPLR4, &M::mnuNewSPLR4, "mnuNewSPLR4", "Create New", ctrl(Qt::Key_N), Shown, &F::mnuNewSPLR4_Click),
    item(&M::mnuSPLR4, &M::mnuOpenSPLR4, "mnuOpenSPLR4", "Open", ctrl(Qt::Key_O), Shown, &F::mnuOpenSPLR4_Click),
    item(&M::mnuSPLR4, &M::mnuSPLOpenFolder, "mnuSPLOpenFolder", "Open Folder", noKey, NeedsEditor,
         &F::mnuSPLOpenFolder_Click),
    item(&M::mnuSPLR4, &M::mnuSaveSPLR4, "mnuSaveSPLR4", "Save Settings", ctrl(Qt::Key_S), NeedsEditor | NeedsDocument,
         &F::mnuSaveSPLR4_Click),
    item(&M::mnuSPLR4, &M::mnuSaveSPLR4As, "mnuSaveSPLR4As", "Save Settings As...", noKey, NeedsEditor | NeedsDocument,
         &F::mnuSaveSPLR4As_Click),
    separator(&M::mnuSPLR4, &M::mnuSPLR4Separator06, "mnuSPLR4Separator06"),
    item(&M::mnuSPLR4, &M::mnuSPLR4CreateDocumentReport, "mnuSPLR4CreateDocumentReport", "Create Document Report...",
         noKey, NeedsEditor | NeedsDocument, &F::mnuSPLR4CreateDocumentReport_Click),
    item(&M::mnuSPLR4, &M::mnuSPLCrossCheck, "mnuSPLCrossCheck", "Compare SPL Files...", noKey, Shown,
         &F::mnuSPLCrossCheck_Click),

    menu(&M::mnuSPLR4, &M::mnuSPLR4Popup, "mnuSPLR4Popup", "Popup", Hidden),
    item(&M::mnuSPLR4Popup, &M::mnuSPLR4EditNode, "mnuSPLR4EditNode", "Edit",
         noKey, NeedsDocument, &F::mnuSPLR4EditNode_Click),
    item(&M::mnuSPLR4Popup, &M::mnuPopupSetColor, "mnuPopupSetColor", "Set Color...", noKey, NeedsDocument,
         &F::mnuPopupSetColor_Click),
    item(&M::mnuSPLR4Popup, &M::mnuSPLR4PopupOpenFile, "mnuSPLR4PopupOpenFile", "Open File/Folder",
         noKey, NeedsDocument, &F::mnuSPLR4PopupOpenFile_Click),
    item(&M::mnuSPLR4Popup, &M::mnuSPLR4PopupAnalyzeWordDocumentFormatting,
         "mnuSPLR4PopupAnalyzeWordDocumentFormatting", "Analyze Document Formatting", noKey, NeedsDocument,
         &F::mnuSPLR4PopupAnalyzeWordDocumentFormatting_Click),
    separator(&M::mnuSPLR4Popup, &M::mnuSPLR4Separator05, "mnuSPLR4Separator05"),
    item(&M::mnuSPLR4Popup, &M::mnuSPLR4Clone, "mnuSPLR4Clone", "Clone", noKey, NeedsDocument, &F::mnuSPLR4Clone_Click),
    item(&M::mnuSPLR4Popup, &M::mnuPopUpChangeSortOrder, "mnuPopUpChangeSortOrder", "Change Sort Order",
         noKey, NeedsDocument, &F::mnuPopUpChangeSortOrder_Click),
    separator(&M::mnuSPLR4Popup, &M::mnuSPLR4Separator10, "mnuSPLR4Separator10"),
    item(&M::mnuSPLR4Popup, &M::mnuSPLR4AddNode, "mnuSPLR4AddNode", "Add Information...", noKey, NeedsDocument,
         &F::mnuSPLR4AddNode_Click),
    item(&M::mnuSPLR4Popup, &M::mnuPopupCreateIDGUIDs, "mnuPopupCreateIDGUIDs", "Create IDs and GUIDs",
         noKey, NeedsDocument, &F::mnuPopupCreateIDGUIDs_Click),
    item(&M::mnuSPLR4Popup, &M::mnuSPLR4ReverseTransform, "mnuSPLR4ReverseTransform",
         "Import Data from Existing SPL File...", noKey, NeedsDocument, &F::mnuSPLR4ReverseTransform_Click),
    item(&M::mnuSPLR4Popup, &M::mnuSPLR4ProductLabelAddSectionNumbers, "mnuSPLR4ProductLabelAddSectionNumbers",
         "Add Section Numbering to Product Label",
         noKey, NeedsDocument, &F::mnuSPLR4ProductLabelAddSectionNumbers_Click),
    separator(&M::mnuSPLR4Popup, &M::mnuSPLR4Separator04, "mnuSPLR4Separator04"),
    item(&M::mnuSPLR4Popup, &M::mnuSPLR4CopySelection, "mnuSPLR4CopySelection", "Copy Selection", noKey, Shown,
         &F::mnuSPLR4CopySelection_Click),
    item(&M::mnuSPLR4Popup, &M::mnuSPLR4ExpandAll, "mnuSPLR4ExpandAll", "Expand All", noKey, Shown,
         &F::mnuSPLR4ExpandAll_Click),
    item(&M::mnuSPLR4Popup, &M::mnuSPLR4CollapseAll, "mnuSPLR4CollapseAll", "Collapse All", noKey, Shown,
         &F::mnuSPLR4CollapseAll_Click),
    separator(&M::mnuSPLR4Popup, &M::mnuSPLR4Separator03, "mnuSPLR4Separator03"),
    item(&M::mnuSPLR4Popup, &M::mnuSPLR4RemoveDataElement, "mnuSPLR4RemoveDataElement", "Remove Data Element", noKey,
         NeedsDocument, &F::mnuSPLR4RemoveDataElement_Click),

    separator(&M::mnuSPLR4, &M::mnumnuSaveSPLR4Separator2, "mnumnuSaveSPLR4Separator2"),
    item(&M::mnuSPLR4, &M::mnuSPLR4Search, "mnuSPLR4Search", "Search", ctrl(Qt::Key_F), NeedsEditor,
         &F::mnuSPLR4Search_Click),
    item(&M::mnuSPLR4, &M::mnuSPLR4Replace, "mnuSPLR4Replace", "Replace", ctrl(Qt::Key_H), NeedsEditor | NeedsDocument,
         &F::mnuSPLR4Replace_Click),
    separator(&M::mnuSPLR4, &M::mnuSPLR4Separator4, "mnuSPLR4Separator4"),
    item(&M::mnuSPLR4, &M::mnuSPLR4ImportProductLabel, "mnuSPLR4ImportProductLabel", "Import Product Label from Word...",
         noKey, NeedsEditor | NeedsDocument, &F::mnuSPLR4ImportProductLabel_Click),
    item(&M::mnuSPLR4, &M::mnuSPLR4ImportFromExcel, "mnuSPLR4ImportFromExcel", "Import Data From Excel...", noKey,
         NeedsEditor | NeedsDocument, &F::mnuSPLR4ImportFromExcel_Click),
    item(&M::mnuSPLR4, &M::mnuSPLR4AddLOINCCodesToProductLabel, "mnuSPLR4AddLOINCCodesToProductLabel",
         "Add LOINC Codes to Product Label...",
         noKey, NeedsEditor | NeedsDocument, &F::mnuSPLR4AddLOINCCodesToProductLabel_Click),
    separator(&M::mnuSPLR4, &M::mnuSPLR4Separator6, "mnuSPLR4Separator6"),
    item(&M::mnuSPLR4, &M::MenuSPLR4QuickPreview, "MenuSPLR4QuickPreview", "Preview SPL",
         Qt::Key_F5, NeedsEditor | NeedsDocument, &F::MenuSPLR4QuickPreview_Click),
    item(&M::mnuSPLR4, &M::mnuSPLR4TransformSPL, "mnuSPLR4TransformSPL", "Build SPL...",
         Qt::Key_F6, NeedsEditor | NeedsDocument, &F::mnuSPLR4TransformSPL_Click),
    item(&M::mnuSPLR4, &M::mnuSPLValidate, "mnuSPLValidate", "Validate SPL", Qt::Key_F7, Shown, &F::mnuSPLValidate_Click),
    separator(&M::mnuSPLR4, &M::mnuSPLR4Separator7, "mnuSPLR4Separator7"),
    item(&M::mnuSPLR4, &M::mnuShowLogging, "mnuShowLogging", "Show Log", noKey, Checked, &F::mnuShowLogging_Click),

    menu(nullptr, &M::mnuWizards, "mnuWizards", "Wizards"),

    menu(nullptr, &M::mnuWindow, "mnuWindow", "Window"),
    item(&M::mnuWindow, &M::mnuWindowTileHorizontally, "mnuWindowTileHorizontally", "Tile Horizontally", noKey, Shown,
         &F::mnuWindowTileHorizontally_Click),
    item(&M::mnuWindow, &M::mnuWindowTileVertically, "mnuWindowTileVertically", "Tile Vertically", noKey, Shown,
         &F::mnuWindowTileVertically_Click),
    item(&M::mnuWindow, &M::mnuWindowCascade, "mnuWindowCascade", "Cascade", noKey, Shown, &F::mnuWindowCascade_Click),
    item(&M::mnuWindow, &M::mnuWindowArrangeIcons, "mnuWindowArrangeIcons", "Arrange Icons", noKey, Shown,
         &F::mnuWindowArrangeIcons_Click),
    item(&M::mnuWindow, &M::mnuWindowList, "mnuWindowList", "List", noKey, Shown, &F::mnuWindowList_Click),

    menu(nullptr, &M::mnuHelp, "mnuHelp", "&Help"),
    item(&M::mnuHelp, &M::mnuHelpUserManual, "mnuHelpUserManual", "&User Manual", Qt::Key_F1, Shown,
         &F::mnuHelpUserManual_Click),
    item(&M::mnuHelp, &M::mnuVeldra, "mnuVeldra", "FDA SPL Resources Online", Qt::Key_F2, Shown, &F::mnuVeldra_Click),
    item(&M::mnuHelp, &M::mnuHelpDailyMed, "mnuHelpDailyMed", "DailyMed Website", Qt::Key_F3, Shown,
         &F::mnuHelpDailyMed_Click),
    item(&M::mnuHelp, &M::mnuHelpSPLOnlineValidator, "mnuHelpSPLOnlineValidator", "Pragmatic Data Validator",
         Qt::Key_F4, Shown, &F::mnuHelpSPLOnlineValidator_Click),
    item(&M::mnuHelp, &M::mnuHelpAbout, "mnuHelpAbout", "&About", noKey, Shown, &F::mnuHelpAbout_Click),

    menu(nullptr, &M::mnuDebug, "mnuDebug", "Debug", Hidden | Disabled),
    item(&M::mnuDebug, &M::mnuDebugProcess, "mnuDebugProcess", "Code", noKey, NeedsDocument, &F::mnuDebugProcess_Click),
    item(&M::mnuDebug, &M::mnuDebugXML, "mnuDebugXML", "XML", noKey, Shown, nullptr),
};

void applyState(QAction* action, const MenuEntry& entry)
{
    action->setObjectName(QLatin1String(entry.name));
    if (entry.state & Hidden)
        action->setVisible(false);
    if (entry.state & Disabled)
        action->setEnabled(false);
    if (entry.state & Checked) {
        action->setCheckable(true);
        action->setChecked(true);
    }
}

// How a message names a command: its caption without the access key's mark or the dots that
// promise a dialog ("Save Settings As...": "Save Settings As").
QString commandName(QString caption)
{
    caption.remove(QLatin1Char('&'));
    while (caption.endsWith(QLatin1Char('.')))
        caption.chop(1);
    return caption;
}

} // namespace

std::span<const MenuEntry> mainMenuEntries()
{
    return entries;
}

void frmMain::buildMenu()
{
    for (const MenuEntry& entry : entries) {
        QMenu* parent = entry.parent ? this->*entry.parent : nullptr;
        const QString caption = QString::fromLatin1(entry.caption);
        if (entry.menu) {
            QMenu* made = parent ? parent->addMenu(caption) : menuBar()->addMenu(caption);
            made->setObjectName(QLatin1String(entry.name));
            applyState(made->menuAction(), entry);
            this->*entry.menu = made;
            continue;
        }
        QAction* made = entry.caption ? parent->addAction(caption) : parent->addSeparator();
        made->setShortcut(QKeySequence(entry.shortcut));
        applyState(made, entry);
        this->*entry.item = made;
        if (const auto command = entry.command) {
            const QString refusedAs = entry.state & NeedsDocument ? commandName(caption) : QString();
            connect(made, &QAction::triggered, this, [this, command, refusedAs] {
                if (refusedAs.isEmpty() || !refusesDocumentCommand(refusedAs))
                    skip([&] { (this->*command)(); });
            });
        }
    }
    // The Wizards menu holds a hidden template item that the wizard loader's items follow.
    addWizardMenuItem(QStringLiteral("Wizard"))->setVisible(false);
}

QList<QAction*> frmMain::editorCommands() const
{
    QList<QAction*> commands;
    for (const MenuEntry& entry : entries)
        if (entry.state & NeedsEditor)
            commands << this->*entry.item;
    return commands;
}

} // namespace veldra
