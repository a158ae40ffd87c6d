#include "dialogs/InstallDialogHooks.h"

#include "app/Hooks.h"
#include "dialogs/ShowFieldDialog.h"
#include "dialogs/modWizard.h"
#include "editor/window/FieldDialogs.h"

namespace veldra {

void installDialogHooks()
{
    Hooks& table = hooks();
    table.LoadWizardMenu = [] { LoadWizardMenu(); };
    table.RunWizard = [](const QString& wizardName) { RunWizard(wizardName); };
    fieldDialogLauncher() = [](const FieldDialogRequest& request) { ShowFieldDialog(request); };
}

} // namespace veldra
