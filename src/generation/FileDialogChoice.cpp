#include "generation/FileDialogChoice.h"

#include "platform/core/VbError.h"
#include "platform/ui/CommonDialog.h"

namespace veldra {

bool chooseFileToOpen(ui::CommonDialog& dialog)
{
    try {
        return dialog.showOpen();
    } catch (const VbError& e) {
        if (e.number() == ui::CommonDialog::cancelErrorNumber)
            return false;
        throw;
    }
}

} // namespace veldra
