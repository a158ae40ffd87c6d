#include "editor/window/SharedDialog.h"

#include "app/window/frmMain.h"
#include "platform/ui/CommonDialog.h"

namespace veldra {

ui::CommonDialog& sharedDialog()
{
    if (frmMain* main = mainForm())
        return main->Dialog;
    static ui::CommonDialog ownDialog;
    return ownDialog;
}

} // namespace veldra
