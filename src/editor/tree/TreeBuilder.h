#pragma once

#include <QHash>
#include <QList>
#include <QString>

class QTreeWidgetItem;

namespace veldra {

namespace xml {
class NodeList;
}
class frmXMLEditor;
class TreeImageList;

// The nodes of an editor tree, detached from any tree control, and the index of their keys.
struct TreeNodes {
    QList<QTreeWidgetItem*> topLevel;
    QHash<QString, QTreeWidgetItem*> index;
};

// The nodes of a document's top-level nodes as `editor` shows them. Every element's node is
// keyed by its Word2SPLID; an element without one gets a new id (written into a settings
// document), and an element whose key an earlier one holds joins that node. A settings
// document's nodes show their names as words with their values, their pictures from `images`
// (none when it is null) and their emphasis; a "View" window's show names and every attribute,
// with the text as nodes of their own.
TreeNodes buildTreeNodes(const frmXMLEditor& editor, const xml::NodeList& topLevel, const TreeImageList* images);

} // namespace veldra
