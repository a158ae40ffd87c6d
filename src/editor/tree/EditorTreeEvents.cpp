// Mouse, keyboard and drag-and-drop events of the editor window and its tree.

#include "editor/window/frmXMLEditor.h"

#include "app/window/frmMain.h"
#include "editor/tree/TreeView.h"
#include "editor/document/ValueChecks.h"
#include "platform/core/Skip.h"
#include "platform/xml/tree/Document.h"
#include "platform/ui/Ui.h"

#include <QApplication>
#include <QDrag>
#include <QKeyEvent>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMimeData>
#include <QMouseEvent>

namespace veldra {

namespace {

// Key codes of the window system for the keys the editor handles.
int vbKeyCode(int qtKey)
{
    switch (qtKey) {
    case Qt::Key_F5: return 116;
    case Qt::Key_Escape: return 27;
    case Qt::Key_F11: return 122;
    case Qt::Key_F9: return 120;
    case Qt::Key_Delete: return 46;
    default: return 0;
    }
}

QPoint positionOf(const QMouseEvent* event)
{
    return event->position().toPoint();
}

} // namespace

void frmXMLEditor::Form_KeyUp(int keyCode)
{
    switch (keyCode) {
    case 116:
    case 27:
        RefreshXML(false);
        break;
    case 122:
        if (XMLDoc) {
            const std::optional<EditorCommandRunning> running = startEditorCommand(*this);
            if (!running)
                break;
            skip([this] { FillTestValues(*XMLDoc); });
            Saved = false;
            RefreshXML(false);
        }
        break;
    case 120:
        BuildDebugXPATH();
        break;
    case 46:
        DeleteNode();
        break;
    default:
        break;
    }
}

bool frmXMLEditor::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == TreeView || watched == TreeView->viewport())
        return filterTreeEvent(event);
    return QWidget::eventFilter(watched, event);
}

bool frmXMLEditor::filterTreeEvent(QEvent* event)
{
    switch (event->type()) {
    case QEvent::KeyPress:
        TreeView_KeyPress(static_cast<QKeyEvent*>(event));
        return false;
    case QEvent::KeyRelease: {
        auto* key = static_cast<QKeyEvent*>(event);
        if (!key->isAutoRepeat()) {
            Form_KeyUp(vbKeyCode(key->key()));  // the window sees its keys first
            skip([this] { RenderStatusBarInfo(); });
        }
        return false;
    }
    case QEvent::MouseButtonPress:
        TreeView_MouseDown(static_cast<QMouseEvent*>(event));
        return static_cast<QMouseEvent*>(event)->button() != Qt::LeftButton;
    case QEvent::MouseButtonRelease:
        TreeView_MouseUp(static_cast<QMouseEvent*>(event));
        return static_cast<QMouseEvent*>(event)->button() == Qt::RightButton;
    case QEvent::MouseButtonDblClick:
        if (static_cast<QMouseEvent*>(event)->button() == Qt::LeftButton)
            TreeView_DblClick();
        return false;
    case QEvent::MouseMove:
        TreeView_MouseMove(static_cast<QMouseEvent*>(event));
        return false;
    case QEvent::DragEnter: {
        auto* drag = static_cast<QDragEnterEvent*>(event);
        if (drag->mimeData()->hasUrls() || drag->mimeData()->hasText())
            drag->acceptProposedAction();
        return true;
    }
    case QEvent::DragMove:
        TreeView_DragOver(static_cast<QDragMoveEvent*>(event));
        return true;
    case QEvent::Drop: {
        auto* drop = static_cast<QDropEvent*>(event);
        drop->acceptProposedAction();
        const auto* sourceTree = qobject_cast<const EditorTreeView*>(drop->source());
        QTreeWidgetItem* target = TreeView->itemAt(drop->position().toPoint());
        TreeView_OLEDragDrop(*drop->mimeData(), target, sourceTree);
        return true;
    }
    default:
        return false;
    }
}

void frmXMLEditor::TreeView_MouseDown(QMouseEvent* event)
{
    makeCurrentEditor();
    // A right press selects the row under the pointer too, so that the context menu that
    // follows on release acts on the row the user clicked.
    if (event->button() == Qt::LeftButton || event->button() == Qt::RightButton) {
        QTreeWidgetItem* node = TreeView->itemAt(positionOf(event));
        if (node)
            TreeView->selectNode(node);
        dragStart_ = positionOf(event);
        dragArmed_ = node != nullptr && event->button() == Qt::LeftButton;
    }
    skip([this] { RenderStatusBarInfo(); });
}

void frmXMLEditor::TreeView_MouseUp(QMouseEvent* event)
{
    dragArmed_ = false;
    if (event->button() != Qt::RightButton)
        return;
    if (isSettingsMode()) {
        skip([this] { RenderPopupMenu(); });
        return;
    }
    QTreeWidgetItem* selected = TreeView->selectedNode();
    if (!selected)
        return;
    ui::backend().setClipboardText(nodeCaption(selected));
    if (isRootByCaption(selected))
        TreeViewExpandAll(true);
}

void frmXMLEditor::TreeView_DblClick()
{
    skip([this] { RenderStatusBarInfo(); });
    skip([this] { DataEdit(); });
}

void frmXMLEditor::TreeView_KeyPress(QKeyEvent* event)
{
    if (event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter)
        skip([this] { DataEdit(); });
    skip([this] { RenderStatusBarInfo(); });
}

// A drag started in the tree carries the dragged node's caption as text.
void frmXMLEditor::TreeView_MouseMove(QMouseEvent* event)
{
    if (!dragArmed_ || !(event->buttons() & Qt::LeftButton))
        return;
    if ((positionOf(event) - dragStart_).manhattanLength() < QApplication::startDragDistance())
        return;
    dragArmed_ = false;
    QTreeWidgetItem* node = TreeView->selectedNode();
    if (!node)
        return;
    auto* data = new QMimeData;
    data->setText(nodeCaption(node));
    auto* drag = new QDrag(TreeView);
    drag->setMimeData(data);
    TreeView->draggedKey = nodeKey(node);
    drag->exec(Qt::CopyAction);
    TreeView->draggedKey.clear();
}

void frmXMLEditor::TreeView_DragOver(QDragMoveEvent* event)
{
    if (auto* frame = qobject_cast<QMdiSubWindow*>(parentWidget()); frame && frame->mdiArea())
        frame->mdiArea()->setActiveSubWindow(frame);
    else
        raise();
    if (event->buttons() & Qt::RightButton)
        if (QTreeWidgetItem* node = TreeView->itemAt(event->position().toPoint()))
            TreeView->selectNode(node);
    if (event->mimeData()->hasUrls() || event->mimeData()->hasText())
        event->acceptProposedAction();
}

} // namespace veldra
