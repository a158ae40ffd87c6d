#pragma once

#include "app/CancellableJob.h"
#include "app/window/MainMenu.h"
#include "platform/ui/CommonDialog.h"

#include <QMainWindow>
#include <QPointer>
#include <memory>

class QCheckBox;
class QComboBox;
class QLabel;
class QLineEdit;
class QMdiArea;
class QMdiSubWindow;
class QMimeData;
class QPushButton;

namespace veldra {

namespace xml {
class Document;
}

class EditorWindow;
class MainStatusBar;
class SearchPanel;

// The single MDI main window. Other windows reach the shared state through its
// public members: the running jobs, the current editor, the shared file dialog,
// the search panel's controls, the status bar and the menus.
class frmMain : public QMainWindow, public MainMenu {
    Q_OBJECT
public:
    explicit frmMain(QWidget* parent = nullptr);
    ~frmMain() override;

    QMdiArea* mdiArea() const { return mdiArea_; }

    // Long jobs in progress; Esc in the log cancels them through these.
    std::shared_ptr<CancellableJob> TargetWord;
    std::shared_ptr<CancellableJob> TargetLOINC;
    std::shared_ptr<CancellableJob> TargetNCI;
    std::shared_ptr<CancellableJob> TargetUNII;

    // The current editor: the editor window most recently loaded, clicked in its
    // tree, or saved. When it closes, the editor opened last of those still open takes
    // its place; with none left it is empty.
    QPointer<QWidget> SourceXMLEditor;
    // SourceXMLEditor as an editor, or nullptr when there is none.
    EditorWindow* currentEditor() const;

    // The one common dialog that the main window's commands and other windows share.
    ui::CommonDialog Dialog;

    // The code-search panel and its controls.
    SearchPanel* PicContainer = nullptr;
    QLabel* picLogo = nullptr;
    QLineEdit* txtSearchCodeOrName = nullptr;
    QComboBox* cboCodeSystem = nullptr;
    QPushButton* cmdSearchCodeSystem = nullptr;
    QPushButton* cmdClearSearchResult = nullptr;
    QCheckBox* chkCodeSystemWholeWord = nullptr;

    MainStatusBar* StatusBar = nullptr;

    // Public operations.
    // The document goes by handle: the pass lets events run, and its editor may close meanwhile.
    void AddLOINCCodes(xml::Document document);
    void InstallLoincDatabase();
    void SaveLog();

    // Adds one wizard to the Wizards menu; a click runs it by its caption.
    QAction* addWizardMenuItem(const QString& caption);
    // Shows a child window of the MDI area in front; a window that is not yet in the MDI area
    // is put there first (addChildWindow). A minimised window is restored; the states of the
    // other windows, a maximised one included, stay as they are.
    void showChildWindow(QWidget* window);
    // Puts a window into the MDI area without showing it. A window that was given a size of
    // its own keeps it, as far as the area shown holds it; one without (an editor, a preview) takes the MDI area less a few
    // cascade steps, placed one step further down and right than the window before it.
    QMdiSubWindow* addChildWindow(QWidget* window);

    // Window events.
    void MDIForm_Resize();
    void MDIForm_OLEDragDrop(const QMimeData* data);
    // Asks the exit question; returns true when the close is to be cancelled.
    bool MDIForm_QueryUnload();

    // File menu.
    void mnuFileSaveLog_Click();
    void mnuFileLoadXMLFile_Click();
    void mnuSPLR4Preview_Click();
    void mnuFileCreateWordLabelTemplate_Click();
    void mnuFileExit_Click();
    // Product Label menu.
    void mnuFileConvert_Click();
    void mnuFileSaveSettings_Click();
    void mnuFileLoadSettings_Click();
    void mnuFileAddLOINCCodes_Click();
    // SPL Document menu.
    void mnuNewSPLR4_Click();
    void mnuOpenSPLR4_Click();
    void mnuSPLOpenFolder_Click();
    void mnuSaveSPLR4_Click();
    void mnuSaveSPLR4As_Click();
    void mnuSPLR4CreateDocumentReport_Click();
    void mnuSPLCrossCheck_Click();
    void mnuSPLR4Search_Click();
    void mnuSPLR4Replace_Click();
    void mnuSPLR4ImportProductLabel_Click();
    void mnuSPLR4ImportFromExcel_Click();
    void mnuSPLR4AddLOINCCodesToProductLabel_Click();
    void MenuSPLR4QuickPreview_Click();
    void mnuSPLR4TransformSPL_Click();
    void mnuSPLValidate_Click();
    void mnuShowLogging_Click();
    // The editor's pop-up menu.
    void mnuSPLR4EditNode_Click();
    void mnuPopupSetColor_Click();
    void mnuSPLR4PopupOpenFile_Click();
    void mnuSPLR4PopupAnalyzeWordDocumentFormatting_Click();
    void mnuSPLR4Clone_Click();
    void mnuPopUpChangeSortOrder_Click();
    void mnuSPLR4AddNode_Click();
    void mnuPopupCreateIDGUIDs_Click();
    void mnuSPLR4ReverseTransform_Click();
    void mnuSPLR4ProductLabelAddSectionNumbers_Click();
    void mnuSPLR4CopySelection_Click();
    void mnuSPLR4ExpandAll_Click();
    void mnuSPLR4CollapseAll_Click();
    void mnuSPLR4RemoveDataElement_Click();
    // Wizards menu.
    void mnuWizard_Click(int index);
    // Window menu.
    void mnuWindowCascade_Click();
    void mnuWindowTileHorizontally_Click();
    void mnuWindowTileVertically_Click();
    void mnuWindowArrangeIcons_Click();
    // Asks which open window to bring to the front.
    void mnuWindowList_Click();
    // Help menu.
    void mnuHelpUserManual_Click();
    void mnuVeldra_Click();
    void mnuHelpDailyMed_Click();
    void mnuHelpSPLOnlineValidator_Click();
    void mnuHelpAbout_Click();
    // Debug menu.
    void mnuDebugProcess_Click();

    // Moves the section titled "RECENT MAJOR CHANGES" of the current editor's
    // document in front of the first section.
    void MoveRecentMajorChangesFirst();

protected:
    void resizeEvent(QResizeEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    void dragEnterEvent(QDragEnterEvent* event) override;
    void dropEvent(QDropEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void createSearchPanel();
    // Makes the menu bar from mainMenuEntries(), each item wired to its command.
    void buildMenu();
    void fillWindowList();
    // The child windows shown, in the order they were opened.
    QList<QMdiSubWindow*> openChildWindows() const;
    // The commands that need an editor window (menu_state::NeedsEditor) are enabled while one is open.
    QList<QAction*> editorCommands() const;
    void updateEditorCommands(const QObject* leaving = nullptr);
    // The captions of the editor windows whose documents have unsaved changes.
    QStringList unsavedDocuments() const;
    // Shows the shared dialog with "cancel raises an error" set; false on Cancel.
    bool showOpenDialog();
    bool showSaveDialog();
    // The pass of "Add LOINC Codes" on the current editor, which then counts as changed.
    void addLoincCodesToCurrentEditor();
    // True, once the user is told, when the current editor holds no settings document (it
    // shows an XML file for review only) for `command` to act on. False with no editor: the
    // command then does nothing, as there is nothing to act on.
    bool refusesDocumentCommand(const QString& command) const;

    QMdiArea* mdiArea_ = nullptr;
    QList<QAction*> windowListItems_;
};

// The main window while it exists, else nullptr (for example in tests of a
// window on its own).
frmMain* mainForm();

} // namespace veldra
