#include "app/MainMenu.h"

#include <QAction>
#include <QKeySequence>
#include <QMenu>
#include <QMenuBar>

namespace veldra {

namespace {

QMenu* namedMenu(QMenu* menu, const char* name)
{
    menu->setObjectName(QLatin1String(name));
    menu->menuAction()->setObjectName(QLatin1String(name));
    return menu;
}

QMenu* addMenu(QMenuBar* bar, const char* name, const QString& caption)
{
    return namedMenu(bar->addMenu(caption), name);
}

QMenu* addSubMenu(QMenu* parent, const char* name, const QString& caption)
{
    return namedMenu(parent->addMenu(caption), name);
}

QAction* addItem(QMenu* menu, const char* name, const QString& caption, const QKeySequence& shortcut = {})
{
    QAction* item = menu->addAction(caption);
    item->setObjectName(QLatin1String(name));
    item->setShortcut(shortcut);
    return item;
}

QAction* addSeparator(QMenu* menu, const char* name)
{
    QAction* line = menu->addSeparator();
    line->setObjectName(QLatin1String(name));
    return line;
}

// A menu that stays out of the menu bar (and its items out of reach of the keyboard).
void hideMenu(QMenu* menu, bool disable)
{
    menu->menuAction()->setVisible(false);
    if (disable)
        menu->menuAction()->setEnabled(false);
}

} // namespace

void MainMenu::buildMenu(QMenuBar* bar)
{
    mnuFile = addMenu(bar, "mnuFile", QStringLiteral("&File"));
    mnuFileSaveLog = addItem(mnuFile, "mnuFileSaveLog", QStringLiteral("Save &Information Text to File"),
                             QKeySequence(Qt::CTRL | Qt::Key_I));
    mnuFileLoadXMLFile = addItem(mnuFile, "mnuFileLoadXMLFile", QStringLiteral("Review SPL File (XML)..."));
    mnuSPLR4Preview = addItem(mnuFile, "mnuSPLR4Preview", QStringLiteral("Preview SPL File in Browser..."));
    mnuFileCreateWordLabelTemplate =
        addItem(mnuFile, "mnuFileCreateWordLabelTemplate", QStringLiteral("Create Word Label Template..."));
    mnuFileExit = addItem(mnuFile, "mnuFileExit", QStringLiteral("&Exit"));

    mnuProductLabel = addMenu(bar, "mnuProductLabel", QStringLiteral("Product Label"));
    mnuFileConvert = addItem(mnuProductLabel, "mnuFileConvert", QStringLiteral("&Build Structured Product Label..."));
    mnuFileSaveSettings = addItem(mnuProductLabel, "mnuFileSaveSettings", QStringLiteral("&Save Settings"));
    mnuFileLoadSettings = addItem(mnuProductLabel, "mnuFileLoadSettings", QStringLiteral("Load Settings"));
    mnuFileAddLOINCCodes = addItem(mnuProductLabel, "mnuFileAddLOINCCodes", QStringLiteral("&Add LOINC Codes to SPL"));
    hideMenu(mnuProductLabel, true);

    mnuSPLR4 = addMenu(bar, "mnuSPLR4", QStringLiteral("SPL Document"));
    mnuNewSPLR4 = addItem(mnuSPLR4, "mnuNewSPLR4", QStringLiteral("Create New"), QKeySequence(Qt::CTRL | Qt::Key_N));
    mnuOpenSPLR4 = addItem(mnuSPLR4, "mnuOpenSPLR4", QStringLiteral("Open"), QKeySequence(Qt::CTRL | Qt::Key_O));
    mnuSPLOpenFolder = addItem(mnuSPLR4, "mnuSPLOpenFolder", QStringLiteral("Open Folder"));
    mnuSaveSPLR4 = addItem(mnuSPLR4, "mnuSaveSPLR4", QStringLiteral("Save Settings"), QKeySequence(Qt::CTRL | Qt::Key_S));
    mnuSaveSPLR4As = addItem(mnuSPLR4, "mnuSaveSPLR4As", QStringLiteral("Save Settings As..."));
    mnuSPLR4Separator06 = addSeparator(mnuSPLR4, "mnuSPLR4Separator06");
    mnuSPLR4CreateDocumentReport =
        addItem(mnuSPLR4, "mnuSPLR4CreateDocumentReport", QStringLiteral("Create Document Report..."));
    mnuSPLCrossCheck = addItem(mnuSPLR4, "mnuSPLCrossCheck", QStringLiteral("Compare SPL Files..."));

    mnuSPLR4Popup = addSubMenu(mnuSPLR4, "mnuSPLR4Popup", QStringLiteral("Popup"));
    mnuSPLR4EditNode = addItem(mnuSPLR4Popup, "mnuSPLR4EditNode", QStringLiteral("Edit"));
    mnuPopupSetColor = addItem(mnuSPLR4Popup, "mnuPopupSetColor", QStringLiteral("Set Color..."));
    mnuSPLR4PopupOpenFile = addItem(mnuSPLR4Popup, "mnuSPLR4PopupOpenFile", QStringLiteral("Open File/Folder"));
    mnuSPLR4PopupAnalyzeWordDocumentFormatting = addItem(
        mnuSPLR4Popup, "mnuSPLR4PopupAnalyzeWordDocumentFormatting", QStringLiteral("Analyze Document Formatting"));
    mnuSPLR4Separator05 = addSeparator(mnuSPLR4Popup, "mnuSPLR4Separator05");
    mnuSPLR4Clone = addItem(mnuSPLR4Popup, "mnuSPLR4Clone", QStringLiteral("Clone"));
    mnuPopUpChangeSortOrder = addItem(mnuSPLR4Popup, "mnuPopUpChangeSortOrder", QStringLiteral("Change Sort Order"));
    mnuSPLR4Separator10 = addSeparator(mnuSPLR4Popup, "mnuSPLR4Separator10");
    mnuSPLR4AddNode = addItem(mnuSPLR4Popup, "mnuSPLR4AddNode", QStringLiteral("Add Information..."));
    mnuPopupCreateIDGUIDs = addItem(mnuSPLR4Popup, "mnuPopupCreateIDGUIDs", QStringLiteral("Create IDs and GUIDs"));
    mnuSPLR4ReverseTransform =
        addItem(mnuSPLR4Popup, "mnuSPLR4ReverseTransform", QStringLiteral("Import Data from Existing SPL File..."));
    mnuSPLR4ProductLabelAddSectionNumbers = addItem(mnuSPLR4Popup, "mnuSPLR4ProductLabelAddSectionNumbers",
                                                    QStringLiteral("Add Section Numbering to Product Label"));
    mnuSPLR4Separator04 = addSeparator(mnuSPLR4Popup, "mnuSPLR4Separator04");
    mnuSPLR4CopySelection = addItem(mnuSPLR4Popup, "mnuSPLR4CopySelection", QStringLiteral("Copy Selection"));
    mnuSPLR4ExpandAll = addItem(mnuSPLR4Popup, "mnuSPLR4ExpandAll", QStringLiteral("Expand All"));
    mnuSPLR4CollapseAll = addItem(mnuSPLR4Popup, "mnuSPLR4CollapseAll", QStringLiteral("Collapse All"));
    mnuSPLR4Separator03 = addSeparator(mnuSPLR4Popup, "mnuSPLR4Separator03");
    mnuSPLR4RemoveDataElement =
        addItem(mnuSPLR4Popup, "mnuSPLR4RemoveDataElement", QStringLiteral("Remove Data Element"));
    hideMenu(mnuSPLR4Popup, false);

    mnumnuSaveSPLR4Separator2 = addSeparator(mnuSPLR4, "mnumnuSaveSPLR4Separator2");
    mnuSPLR4Search = addItem(mnuSPLR4, "mnuSPLR4Search", QStringLiteral("Search"), QKeySequence(Qt::CTRL | Qt::Key_F));
    mnuSPLR4Replace = addItem(mnuSPLR4, "mnuSPLR4Replace", QStringLiteral("Replace"), QKeySequence(Qt::CTRL | Qt::Key_H));
    mnuSPLR4Separator4 = addSeparator(mnuSPLR4, "mnuSPLR4Separator4");
    mnuSPLR4ImportProductLabel =
        addItem(mnuSPLR4, "mnuSPLR4ImportProductLabel", QStringLiteral("Import Product Label from Word..."));
    mnuSPLR4ImportFromExcel = addItem(mnuSPLR4, "mnuSPLR4ImportFromExcel", QStringLiteral("Import Data From Excel..."));
    mnuSPLR4AddLOINCCodesToProductLabel = addItem(mnuSPLR4, "mnuSPLR4AddLOINCCodesToProductLabel",
                                                  QStringLiteral("Add LOINC Codes to Product Label..."));
    mnuSPLR4Separator6 = addSeparator(mnuSPLR4, "mnuSPLR4Separator6");
    MenuSPLR4QuickPreview =
        addItem(mnuSPLR4, "MenuSPLR4QuickPreview", QStringLiteral("Preview SPL"), QKeySequence(Qt::Key_F5));
    mnuSPLR4TransformSPL = addItem(mnuSPLR4, "mnuSPLR4TransformSPL", QStringLiteral("Build SPL..."), QKeySequence(Qt::Key_F6));
    mnuSPLValidate = addItem(mnuSPLR4, "mnuSPLValidate", QStringLiteral("Validate SPL"), QKeySequence(Qt::Key_F7));
    mnuSPLR4Separator7 = addSeparator(mnuSPLR4, "mnuSPLR4Separator7");
    mnuShowLogging = addItem(mnuSPLR4, "mnuShowLogging", QStringLiteral("Show Log"));
    mnuShowLogging->setCheckable(true);
    mnuShowLogging->setChecked(true);

    mnuWizards = addMenu(bar, "mnuWizards", QStringLiteral("Wizards"));
    QAction* templateItem = addItem(mnuWizards, "mnuWizard", QStringLiteral("Wizard"));
    templateItem->setVisible(false);
    mnuWizard = {templateItem};

    mnuWindow = addMenu(bar, "mnuWindow", QStringLiteral("Window"));
    mnuWindowTileHorizontally = addItem(mnuWindow, "mnuWindowTileHorizontally", QStringLiteral("Tile Horizontally"));
    mnuWindowTileVertically = addItem(mnuWindow, "mnuWindowTileVertically", QStringLiteral("Tile Vertically"));
    mnuWindowCascade = addItem(mnuWindow, "mnuWindowCascade", QStringLiteral("Cascade"));
    mnuWindowArrangeIcons = addItem(mnuWindow, "mnuWindowArrangeIcons", QStringLiteral("Arrange Icons"));
    mnuWindowList = addItem(mnuWindow, "mnuWindowList", QStringLiteral("List"));

    mnuHelp = addMenu(bar, "mnuHelp", QStringLiteral("&Help"));
    mnuHelpUserManual = addItem(mnuHelp, "mnuHelpUserManual", QStringLiteral("&User Manual"), QKeySequence(Qt::Key_F1));
    mnuVeldra = addItem(mnuHelp, "mnuVeldra", QStringLiteral("FDA SPL Resources Online"), QKeySequence(Qt::Key_F2));
    mnuHelpDailyMed = addItem(mnuHelp, "mnuHelpDailyMed", QStringLiteral("DailyMed Website"), QKeySequence(Qt::Key_F3));
    mnuHelpSPLOnlineValidator = addItem(mnuHelp, "mnuHelpSPLOnlineValidator", QStringLiteral("Pragmatic Data Validator"),
                                        QKeySequence(Qt::Key_F4));
    mnuHelpAbout = addItem(mnuHelp, "mnuHelpAbout", QStringLiteral("&About"));

    mnuDebug = addMenu(bar, "mnuDebug", QStringLiteral("Debug"));
    mnuDebugProcess = addItem(mnuDebug, "mnuDebugProcess", QStringLiteral("Code"));
    mnuDebugXML = addItem(mnuDebug, "mnuDebugXML", QStringLiteral("XML"));
    hideMenu(mnuDebug, true);
}

} // namespace veldra
