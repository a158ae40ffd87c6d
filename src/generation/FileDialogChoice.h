#pragma once

namespace veldra {

namespace ui {
class CommonDialog;
}

// Shows the shared common dialog's open dialog with the properties it has. Returns false
// when the user cancels, whether or not the dialog is set to raise an error on cancel.
bool chooseFileToOpen(ui::CommonDialog& dialog);

} // namespace veldra
