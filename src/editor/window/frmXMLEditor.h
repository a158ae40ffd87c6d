#pragma once

#include "app/EditorCommandRunning.h"
#include "app/EditorWindow.h"
#include "editor/window/FileIdentity.h"

#include <QPoint>
#include <QPointer>
#include <QString>
#include <QWidget>
#include <memory>

class QLabel;
class QMimeData;
class QTreeWidgetItem;

namespace veldra {

namespace xml {
class Document;
class Node;
class NodeList;
}

class EditorTreeView;
class TreeImageList;

// The tree-editor window: one settings document (mode "SPLR4") or one XML file shown
// for reading (mode "View"), as a tree inside the main window's MDI area.
//
// The window deletes itself when it closes. Its close question may keep it open: close()
// then returns false. So does a command of the window that is still running (a build, a
// preview, an import, a rebuild of the tree): those let events run, and the window must not
// go while they use it; the user is told so.
class frmXMLEditor : public QWidget, public EditorWindow {
    Q_OBJECT
public:
    explicit frmXMLEditor(QWidget* parent = nullptr);
    ~frmXMLEditor() override;

    // "SPLR4" (settings document, editable) or "View" (read-only review).
    QString Mode;
    // The document shown; empty in mode "View" and when the file did not load.
    std::unique_ptr<xml::Document> XMLDoc;
    // Full path of the document's file; empty for a new document not yet saved.
    QString XMLFileName;
    // True when the document has no unsaved change.
    bool Saved = true;

    // Controls.
    EditorTreeView* TreeView = nullptr;
    QLabel* picTreeView = nullptr;  // a still picture of the tree while it is rebuilt

    // The tree of the document (TreeViewFill.cpp, TreeViewColors.cpp, TreeViewImages.cpp,
    // TreeViewPainting.cpp). The load returns false, after saying why, when the file gave no
    // tree: it does not parse, is too large, or (mode "SPLR4") is no settings document.
    bool XMLOnTreeView(EditorTreeView* TargetTreeView, const QString& XMLFile, const QString& Action,
                       bool UpdateConstraintsFromTemplate);
    void RefreshXML(bool KeepColor) override;
    void RenderTreeviewColor();
    void DrawRefresh(bool Release);
    void LoadTreeViewImages();
    QString BuildAttributeString(const xml::Node& SourceNode) const;
    QString GenerateTreeViewKey(const xml::Node& SourceNode) const;

    // Commands of the window.
    void BuildDebugXPATH();
    void CloneNode() override;
    void OpenContainingFolder() override;
    void PreviewSPLQuick() override;
    void ReverseTransformNode() override;
    void AddNode() override;
    void CopySelection() override;
    void DataEdit() override;
    void DeleteNode() override;
    void RenderPopupMenu();
    void RenderStatusBarInfo();
    // Returns true when the document was written.
    bool SaveXMLDoc(bool SaveAs) override;

    // Search and replace (SearchReplace.cpp), colours (TreeViewColors.cpp), build launch
    // (BuildLaunch.cpp), expand and collapse (TreeViewExpand.cpp).
    void SearchNode(bool ReplaceValue) override;
    void SetColor() override;
    void TransformSPL() override;
    void TreeViewExpandAll(bool Expand) override;

    // Key released in the window (key codes of the window system: F5 116, Esc 27,
    // F11 122, F9 120, Del 46).
    void Form_KeyUp(int keyCode);
    // A drop on the tree: `data` dropped on `target` (the node under the pointer);
    // `sourceTree` is the tree the drag started in, if it was an editor tree.
    void TreeView_OLEDragDrop(const QMimeData& data, QTreeWidgetItem* target, const EditorTreeView* sourceTree);

    // True in mode "SPLR4" (a settings document).
    bool isSettingsMode() const;

    // EditorWindow
    xml::Document* settingsDocument() override;
    void setSaved(bool saved) override;
    bool hasUnsavedChanges() override;
    void setMode(const QString& mode) override;
    bool XMLOnTreeView(const QString& XMLFile, const QString& Action, bool UpdateConstraintsFromTemplate) override;
    QString selectedNodeValue() override;

    // The editor window that holds `tree`, or nullptr.
    static frmXMLEditor* ofTree(const EditorTreeView* tree);

protected:
    void closeEvent(QCloseEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    bool Form_QueryUnload();
    void makeCurrentEditor();
    bool loadForReview(EditorTreeView* target, const QString& file, xml::Document& document);
    bool loadSettings(EditorTreeView* target, const QString& file, bool newDocument, bool refreshDefinition,
                      xml::Document& document);
    int fillTree(EditorTreeView* target, const xml::NodeList& topLevel);
    void reportRenewedIds(int renewed);
    void closeAfterFailedOpen();
    void refreshDefinitionAttributes();
    void setEditCaption(const QString& fileName);

    bool filterTreeEvent(QEvent* event);
    void TreeView_MouseDown(QMouseEvent* event);
    void TreeView_MouseUp(QMouseEvent* event);
    void TreeView_MouseMove(QMouseEvent* event);
    void TreeView_DblClick();
    void TreeView_KeyPress(QKeyEvent* event);
    void TreeView_DragOver(QDragMoveEvent* event);

    // The document's file as this window last read or wrote it, and through which link if any:
    // a save asks before it replaces a file changed since, and never follows a link that was
    // not there then or named another file.
    FileIdentity fileOnDisk_;
    // The current editor when this window opened: it is current again if this one's file fails
    // to open.
    QPointer<QWidget> previousEditor_;
    bool unloaded_ = false;
    bool treeFrozen_ = false;
    bool treeHadFocus_ = false;
    QPoint dragStart_;
    bool dragArmed_ = false;
};

// A new editor window, shown in the main window's MDI area (on its own when there is no
// main window); it is the current editor from now on.
frmXMLEditor* ShowNewXMLEditor();

// The caption a new editor window starts with.
inline const QString NewEditorCaption = QStringLiteral("View XML");

} // namespace veldra
