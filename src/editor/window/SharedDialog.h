#pragma once

namespace veldra {

namespace ui {
class CommonDialog;
}

// The common dialog the editor borrows: the main window's `Dialog`, so that properties a
// use leaves unset keep the values of the previous use across all windows. Without a main
// window (an editor on its own) a dialog of the editor's own plays that part.
ui::CommonDialog& sharedDialog();

} // namespace veldra
