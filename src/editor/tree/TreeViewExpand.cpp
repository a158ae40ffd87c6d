#include "editor/window/frmXMLEditor.h"

#include "editor/tree/TreeView.h"

namespace veldra {

void frmXMLEditor::TreeViewExpandAll(bool Expand)
{
    DrawRefresh(false);
    if (Expand)
        TreeView->expandAll();
    else
        TreeView->collapseAll();
    if (QTreeWidgetItem* root = TreeView->rootNode())
        root->setExpanded(true);
    // The selected node stays in sight: its ancestors open and the tree scrolls to it.
    if (QTreeWidgetItem* selected = TreeView->selectedNode()) {
        for (QTreeWidgetItem* up = selected->parent(); up; up = up->parent())
            up->setExpanded(true);
        TreeView->scrollToItem(selected);
    }
    DrawRefresh(true);
}

} // namespace veldra
