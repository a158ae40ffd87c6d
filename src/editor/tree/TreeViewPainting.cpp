// Freezing the tree's painting while it is rebuilt or walked: the user sees a still picture
// of the tree until the work is done.

#include "editor/window/frmXMLEditor.h"

#include "editor/tree/TreeView.h"
#include "platform/ui/Ui.h"

#include <QHeaderView>
#include <QLabel>

namespace veldra {

// Freezing hides the tree behind a picture of itself, so that it neither paints nor lays
// itself out while its nodes change; the column keeps its width until the release.
void frmXMLEditor::DrawRefresh(bool Release)
{
    if (!Release && !treeFrozen_) {
        treeFrozen_ = true;
        // The tree counts as focused when its window would give it the keys on activation:
        // after a dialog the window system hands activation back some time later, and a
        // hidden tree would then lose the keys to the window's next control for good.
        treeHadFocus_ = TreeView->hasFocus() || TreeView->window()->focusWidget() == TreeView;
        if (TreeView->isVisible()) {
            picTreeView->setGeometry(TreeView->geometry());
            picTreeView->setPixmap(TreeView->grab());
            picTreeView->show();
            picTreeView->raise();
        }
        TreeView->header()->setSectionResizeMode(QHeaderView::Interactive);
        TreeView->hide();
    } else if (Release && treeFrozen_) {
        treeFrozen_ = false;
        TreeView->show();
        TreeView->header()->setSectionResizeMode(QHeaderView::ResizeToContents);
        if (QTreeWidgetItem* selected = TreeView->selectedNode())
            TreeView->scrollToNodeInPlace(selected);
        if (treeHadFocus_)
            TreeView->setFocus();
        picTreeView->hide();
        picTreeView->clear();
    }
    ui::pumpMessages();
}

} // namespace veldra
