#pragma once

#include "app/window/Captions.h"

#include <QColor>
#include <QHash>
#include <QIcon>
#include <QString>
#include <QTreeWidget>
#include <functional>

namespace veldra {

// The tree control of an editor window. Every node of a settings document carries a key
// (the element's Word2SPLID); the control finds nodes by key through a hash, so rebuilds and
// the operations that select "the node whose key is ..." never walk the tree per lookup.
class EditorTreeView : public QTreeWidget {
    Q_OBJECT
public:
    explicit EditorTreeView(QWidget* parent = nullptr);
    ~EditorTreeView() override;

    // The node the user works on (the one selected node of the tree), or nullptr.
    QTreeWidgetItem* selectedNode() const;
    // Makes `node` the selected node and scrolls it into view; nullptr clears the selection.
    void selectNode(QTreeWidgetItem* node);
    // Selects `node` without opening collapsed groups above it; the tree scrolls to it only
    // when it can be seen.
    void selectNodeInPlace(QTreeWidgetItem* node);
    // Scrolls to `node` when no collapsed group hides it.
    void scrollToNodeInPlace(QTreeWidgetItem* node);
    // Removes the selection highlight but keeps the node as the one the user works on,
    // so that its back colour shows.
    void deselectNode();

    // The first top-level node (the document element of a settings document), or nullptr.
    QTreeWidgetItem* rootNode() const;
    // The node with `key`, or nullptr.
    QTreeWidgetItem* nodeByKey(const QString& key) const;

    // Removes every node.
    void removeAllNodes();
    // Makes fully built, detached nodes the tree's only content. `index` maps the keys of
    // the nodes to the nodes (it becomes the control's key index).
    void setContent(const QList<QTreeWidgetItem*>& topLevel, QHash<QString, QTreeWidgetItem*> index);

    // Visits every node in the order in which the nodes were added (document order).
    void forEachNode(const std::function<void(QTreeWidgetItem*)>& visit) const;
    int nodeCount() const;

    // The key of the node a drag started from while that drag runs (empty otherwise).
    QString draggedKey;

    // The node pictures, keyed by the lower-case element name (see TreeViewImages.h).
    // Replaced as a whole when the pictures are loaded again.
    TreeImageList* ImageList = nullptr;
    void replaceImageList(const QHash<QString, QIcon>& pictures);

private:
    void invalidateIndex();
    void rebuildIndex() const;

    mutable QHash<QString, QTreeWidgetItem*> index_;
    mutable bool indexValid_ = true;
};

// The key of a node: the Word2SPLID of its element; empty for a node without key
// (the text nodes of a "View" window). Kept under the item data role NodeKeyRole.
inline constexpr int NodeKeyRole = Qt::UserRole;
QString nodeKey(const QTreeWidgetItem* node);
void setNodeKey(QTreeWidgetItem* node, const QString& key);

// The node's caption.
QString nodeCaption(const QTreeWidgetItem* node);
void setNodeCaption(QTreeWidgetItem* node, const QString& caption);

// Makes the node's caption bold, in the font it has.
void makeNodeBold(QTreeWidgetItem* node);

// The root of the tree that holds `node` (the node itself for a top-level node).
QTreeWidgetItem* treeRootOf(QTreeWidgetItem* node);

// True when the node counts as the tree's root: its tree root has the same caption.
bool isRootByCaption(QTreeWidgetItem* node);

// Back colours. A node without a colour of its own is white.
QColor nodeBackColor(const QTreeWidgetItem* node);
void setNodeBackColor(QTreeWidgetItem* node, const QColor& color);

// Colour numbers of the window system: red + 256 * green + 65536 * blue.
long colorNumber(const QColor& color);
QColor colorFromNumber(long number);
inline constexpr long WhiteColorNumber = 16777215;

} // namespace veldra
