#include "editor/tree/Reorder.h"

#include "editor/window/BusyCursor.h"
#include "editor/tree/SelectionRequired.h"
#include "editor/tree/TreePaths.h"
#include "editor/tree/TreeView.h"
#include "editor/window/frmXMLEditor.h"
#include "platform/ui/Ui.h"
#include "platform/xml/tree/Document.h"


namespace veldra {

namespace {

// Moves each element, from the last to the first, behind its parent's last child.
void moveToEndInReverse(const xml::NodeList& elements)
{
    for (int i = elements.length() - 1; i >= 0; --i) {
        const xml::Node element = elements.item(i);
        element.parentNode().appendChild(element);
    }
}

} // namespace

void ReverseSortOrder(frmXMLEditor& editor, EditorTreeView& tree)
{
    if (!editor.XMLDoc || !selectionOrSay(tree))
        return;
    BusyCursor hourglass;
    try {
        QTreeWidgetItem* selected = tree.selectedNode();
        moveToEndInReverse(editor.XMLDoc->selectNodes(BuildXPathFromTreeView(selected, QStringLiteral("View"))));
        editor.RefreshXML(true);
        if (QTreeWidgetItem* moved = nodeOfElement(tree, elementBehind(tree.selectedNode(), *editor.XMLDoc)))
            tree.selectNode(moved);
        editor.Saved = false;
    } catch (const std::exception& e) {
        ui::showError(toVbError(e, QStringLiteral("ReverseSortOrder")));
    }
}

} // namespace veldra
