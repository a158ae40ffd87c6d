#pragma once

// For test programs that link the editor: finding and selecting tree nodes by caption.
#include "editor/tree/TreeView.h"
#include "editor/window/frmXMLEditor.h"

#include <QStringList>
#include <QTreeWidgetItem>

namespace veldra::test {

// The first node (tree order) captioned `caption`, else the first whose caption starts with it.
inline QTreeWidgetItem* nodeByCaption(const frmXMLEditor* editor, const QString& caption)
{
    QTreeWidgetItem* exact = nullptr;
    QTreeWidgetItem* prefixed = nullptr;
    editor->TreeView->forEachNode([&](QTreeWidgetItem* item) {
        const QString text = nodeCaption(item);
        if (!exact && text == caption)
            exact = item;
        if (!prefixed && text.startsWith(caption))
            prefixed = item;
    });
    return exact ? exact : prefixed;
}

// The first node (tree order) whose caption starts with `caption`.
inline QTreeWidgetItem* firstNodeStartingWith(const frmXMLEditor* editor, const QString& caption)
{
    QTreeWidgetItem* found = nullptr;
    editor->TreeView->forEachNode([&](QTreeWidgetItem* item) {
        if (!found && nodeCaption(item).startsWith(caption))
            found = item;
    });
    return found;
}

// Selects `found` in the editor's tree; returns it.
inline QTreeWidgetItem* selectNode(frmXMLEditor* editor, QTreeWidgetItem* found)
{
    editor->TreeView->selectNode(found);
    return found;
}

inline QStringList allCaptions(const frmXMLEditor* editor)
{
    QStringList all;
    editor->TreeView->forEachNode([&](QTreeWidgetItem* item) { all << nodeCaption(item); });
    return all;
}

} // namespace veldra::test
