#pragma once

#include <QKeyCombination>
#include <QList>
#include <span>

class QAction;
class QMenu;

namespace veldra {

class frmMain;

// The main window's menu bar: every menu and item under its own name, in display
// order. Separators are items too (caption "-"). The "Product Label" and "Debug"
// menus and the editor's "Popup" submenu are never shown in the menu bar; the
// editor window shows the popup at the mouse. The main window makes them all from
// mainMenuEntries().
struct MainMenu {
    QMenu* mnuFile = nullptr;
    QAction* mnuFileSaveLog = nullptr;
    QAction* mnuFileLoadXMLFile = nullptr;
    QAction* mnuSPLR4Preview = nullptr;
    QAction* mnuFileCreateWordLabelTemplate = nullptr;
    QAction* mnuFileExit = nullptr;

    QMenu* mnuProductLabel = nullptr;
    QAction* mnuFileConvert = nullptr;
    QAction* mnuFileSaveSettings = nullptr;
    QAction* mnuFileLoadSettings = nullptr;
    QAction* mnuFileAddLOINCCodes = nullptr;

    QMenu* mnuSPLR4 = nullptr;
    QAction* mnuNewSPLR4 = nullptr;
    QAction* mnuOpenSPLR4 = nullptr;
    QAction* mnuSPLOpenFolder = nullptr;
    QAction* mnuSaveSPLR4 = nullptr;
    QAction* mnuSaveSPLR4As = nullptr;
    QAction* mnuSPLR4Separator06 = nullptr;
    QAction* mnuSPLR4CreateDocumentReport = nullptr;
    QAction* mnuSPLCrossCheck = nullptr;
    QMenu* mnuSPLR4Popup = nullptr;
    QAction* mnuSPLR4EditNode = nullptr;
    QAction* mnuPopupSetColor = nullptr;
    QAction* mnuSPLR4PopupOpenFile = nullptr;
    QAction* mnuSPLR4PopupAnalyzeWordDocumentFormatting = nullptr;
    QAction* mnuSPLR4Separator05 = nullptr;
    QAction* mnuSPLR4Clone = nullptr;
    QAction* mnuPopUpChangeSortOrder = nullptr;
    QAction* mnuSPLR4Separator10 = nullptr;
    QAction* mnuSPLR4AddNode = nullptr;
    QAction* mnuPopupCreateIDGUIDs = nullptr;
    QAction* mnuSPLR4ReverseTransform = nullptr;
    QAction* mnuSPLR4ProductLabelAddSectionNumbers = nullptr;
    QAction* mnuSPLR4Separator04 = nullptr;
    QAction* mnuSPLR4CopySelection = nullptr;
    QAction* mnuSPLR4ExpandAll = nullptr;
    QAction* mnuSPLR4CollapseAll = nullptr;
    QAction* mnuSPLR4Separator03 = nullptr;
    QAction* mnuSPLR4RemoveDataElement = nullptr;
    QAction* mnumnuSaveSPLR4Separator2 = nullptr;
    QAction* mnuSPLR4Search = nullptr;
    QAction* mnuSPLR4Replace = nullptr;
    QAction* mnuSPLR4Separator4 = nullptr;
    QAction* mnuSPLR4ImportProductLabel = nullptr;
    QAction* mnuSPLR4ImportFromExcel = nullptr;
    QAction* mnuSPLR4AddLOINCCodesToProductLabel = nullptr;
    QAction* mnuSPLR4Separator6 = nullptr;
    QAction* MenuSPLR4QuickPreview = nullptr;
    QAction* mnuSPLR4TransformSPL = nullptr;
    QAction* mnuSPLValidate = nullptr;
    QAction* mnuSPLR4Separator7 = nullptr;
    QAction* mnuShowLogging = nullptr;

    QMenu* mnuWizards = nullptr;
    // Item 0 is the hidden template item "Wizard"; the wizard loader adds one item per wizard.
    QList<QAction*> mnuWizard;

    QMenu* mnuWindow = nullptr;
    QAction* mnuWindowTileHorizontally = nullptr;
    QAction* mnuWindowTileVertically = nullptr;
    QAction* mnuWindowCascade = nullptr;
    QAction* mnuWindowArrangeIcons = nullptr;
    // The open child windows are listed below this item.
    QAction* mnuWindowList = nullptr;

    QMenu* mnuHelp = nullptr;
    QAction* mnuHelpUserManual = nullptr;
    QAction* mnuVeldra = nullptr;
    QAction* mnuHelpDailyMed = nullptr;
    QAction* mnuHelpSPLOnlineValidator = nullptr;
    QAction* mnuHelpAbout = nullptr;

    QMenu* mnuDebug = nullptr;
    QAction* mnuDebugProcess = nullptr;
    QAction* mnuDebugXML = nullptr;
};

// How an entry of the menu bar starts out; flags combine.
namespace menu_state {
enum : unsigned {
    Shown = 0,
    Hidden = 1,       // out of the menu bar
    Disabled = 2,     // out of reach of the keyboard as well
    Checked = 4,      // carries a check mark, which each click inverts
    NeedsEditor = 8,  // enabled only while an editor window is open
    // Acts on the current editor's settings document. In an editor window that has none (one
    // that shows an XML file for review only) it says so, rather than doing nothing.
    NeedsDocument = 16,
};
}

// One entry of the menu bar: a menu (`menu` set), an item (`item` and usually `command`
// set) or a separator (an item without caption).
struct MenuEntry {
    QMenu* MainMenu::*parent;  // nullptr: the menu bar itself
    const char* name;
    const char* caption;
    QKeyCombination shortcut;
    unsigned state;  // menu_state flags
    QMenu* MainMenu::*menu;
    QAction* MainMenu::*item;
    void (frmMain::*command)();
};

// The whole menu bar in display order, each submenu's items right after its own entry.
// The Wizards menu's items are not among them: the main window adds the hidden template
// item, the wizard loader one item per wizard.
std::span<const MenuEntry> mainMenuEntries();

} // namespace veldra
