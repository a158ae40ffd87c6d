#include "editor/tree/TreeView.h"

#include <QBrush>
#include <QFont>
#include <QHeaderView>
#include <QTreeWidgetItemIterator>

namespace veldra {

EditorTreeView::EditorTreeView(QWidget* parent) : QTreeWidget(parent)
{
    setColumnCount(1);
    setHeaderHidden(true);
    setSelectionMode(QAbstractItemView::SingleSelection);
    setFont(QFont(QStringLiteral("Verdana"), 8));
    setUniformRowHeights(true);
    setIconSize(QSize(16, 16));
    ImageList = new TreeImageList(this);
    header()->setSectionResizeMode(QHeaderView::ResizeToContents);
    header()->setStretchLastSection(false);

    // Any change of the node set outside setContent() makes the key index stale; it is
    // rebuilt in one walk at the next lookup.
    connect(model(), &QAbstractItemModel::rowsInserted, this, &EditorTreeView::invalidateIndex);
    connect(model(), &QAbstractItemModel::rowsRemoved, this, &EditorTreeView::invalidateIndex);
    connect(model(), &QAbstractItemModel::modelReset, this, &EditorTreeView::invalidateIndex);
    connect(model(), &QAbstractItemModel::rowsMoved, this, &EditorTreeView::invalidateIndex);
}

// The model is a child of the view: it is destroyed after this destructor has run, and it
// resets itself while it goes. None of its signals may reach the view by then.
EditorTreeView::~EditorTreeView()
{
    disconnect(model(), nullptr, this, nullptr);
}

QTreeWidgetItem* EditorTreeView::selectedNode() const
{
    return currentItem();
}

void EditorTreeView::selectNode(QTreeWidgetItem* node)
{
    if (!node) {
        clearSelection();
        setCurrentItem(nullptr);
        return;
    }
    setCurrentItem(node);
    node->setSelected(true);
    scrollToItem(node);
}

void EditorTreeView::selectNodeInPlace(QTreeWidgetItem* node)
{
    const bool scrolls = hasAutoScroll();
    setAutoScroll(false);
    setCurrentItem(node);
    node->setSelected(true);
    setAutoScroll(scrolls);
    scrollToNodeInPlace(node);
}

void EditorTreeView::scrollToNodeInPlace(QTreeWidgetItem* node)
{
    for (QTreeWidgetItem* up = node->parent(); up; up = up->parent())
        if (!up->isExpanded())
            return;
    scrollToItem(node);
}

void EditorTreeView::deselectNode()
{
    clearSelection();
}

QTreeWidgetItem* EditorTreeView::rootNode() const
{
    return topLevelItemCount() > 0 ? topLevelItem(0) : nullptr;
}

QTreeWidgetItem* EditorTreeView::nodeByKey(const QString& key) const
{
    if (key.isEmpty())
        return nullptr;
    if (!indexValid_)
        rebuildIndex();
    return index_.value(key, nullptr);
}

void EditorTreeView::removeAllNodes()
{
    clear();
    index_.clear();
    indexValid_ = true;
}

void EditorTreeView::setContent(const QList<QTreeWidgetItem*>& topLevel, QHash<QString, QTreeWidgetItem*> index)
{
    removeAllNodes();
    addTopLevelItems(topLevel);
    index_ = std::move(index);
    indexValid_ = true;
}

void EditorTreeView::forEachNode(const std::function<void(QTreeWidgetItem*)>& visit) const
{
    for (QTreeWidgetItemIterator it(const_cast<EditorTreeView*>(this)); *it; ++it)
        visit(*it);
}

int EditorTreeView::nodeCount() const
{
    int count = 0;
    forEachNode([&count](QTreeWidgetItem*) { ++count; });
    return count;
}

void EditorTreeView::replaceImageList(const QHash<QString, QIcon>& pictures)
{
    delete ImageList;
    ImageList = new TreeImageList(this);
    for (auto it = pictures.cbegin(); it != pictures.cend(); ++it)
        ImageList->add(it.key(), it.value());
}

void EditorTreeView::invalidateIndex()
{
    indexValid_ = false;
}

void EditorTreeView::rebuildIndex() const
{
    index_.clear();
    forEachNode([this](QTreeWidgetItem* node) {
        const QString key = nodeKey(node);
        if (!key.isEmpty() && !index_.contains(key))
            index_.insert(key, node);
    });
    indexValid_ = true;
}

QString nodeKey(const QTreeWidgetItem* node)
{
    return node ? node->data(0, NodeKeyRole).toString() : QString();
}

void setNodeKey(QTreeWidgetItem* node, const QString& key)
{
    node->setData(0, NodeKeyRole, key);
}

QString nodeCaption(const QTreeWidgetItem* node)
{
    return node ? node->text(0) : QString();
}

void setNodeCaption(QTreeWidgetItem* node, const QString& caption)
{
    node->setText(0, caption);
}

void makeNodeBold(QTreeWidgetItem* node)
{
    QFont font = node->font(0);
    font.setBold(true);
    node->setFont(0, font);
}

QTreeWidgetItem* treeRootOf(QTreeWidgetItem* node)
{
    while (node && node->parent())
        node = node->parent();
    return node;
}

bool isRootByCaption(QTreeWidgetItem* node)
{
    QTreeWidgetItem* root = treeRootOf(node);
    return node && root && nodeCaption(root) == nodeCaption(node);
}

QColor nodeBackColor(const QTreeWidgetItem* node)
{
    const QBrush brush = node->background(0);
    return brush.style() == Qt::NoBrush ? QColor(Qt::white) : brush.color();
}

void setNodeBackColor(QTreeWidgetItem* node, const QColor& color)
{
    node->setBackground(0, QBrush(color));
}

long colorNumber(const QColor& color)
{
    return long(color.red()) + 256L * color.green() + 65536L * color.blue();
}

QColor colorFromNumber(long number)
{
    return QColor(int(number & 0xFF), int((number >> 8) & 0xFF), int((number >> 16) & 0xFF));
}

} // namespace veldra
