#include "editor/tree/SelectionRequired.h"

#include "editor/tree/TreeView.h"
#include "platform/ui/Ui.h"

namespace veldra {

bool selectionOrSay(const EditorTreeView& tree)
{
    if (tree.selectedNode())
        return true;
    ui::msgBox(QString::fromLatin1(kSelectElementFirst), ui::Buttons::OK, ui::Icon::Information);
    return false;
}

} // namespace veldra
