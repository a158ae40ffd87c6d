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
    // How many elements of a settings document had their Word2SPLID replaced (repeated or
    // holding "_"); ids written where there were none are not counted.
    int renewedIds = 0;
};

// The nodes of a document's top-level nodes as `editor` shows them. Every element's node is
// keyed by its Word2SPLID. An element whose id is missing, taken by an earlier element or holds
// "_" gets a new one (written into a settings document), so that every node names exactly one
// element. A settings
// document's nodes show their names as words with their values, their pictures from `images`
// (none when it is null) and their emphasis; a "View" window's show names and every attribute,
// with the text as nodes of their own.
TreeNodes buildTreeNodes(const frmXMLEditor& editor, const xml::NodeList& topLevel, const TreeImageList* images);

} // namespace veldra
