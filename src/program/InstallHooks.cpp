#include "program/InstallHooks.h"

#include "buildform/InstallBuildFormHooks.h"
#include "codesystems/CodeSystemHooks.h"
#include "dialogs/InstallDialogHooks.h"
#include "editor/window/InstallEditorHooks.h"
#include "generation/InstallCheckingHooks.h"
#include "generation/InstallGenerationHooks.h"
#include "splbuilder/InstallSplBuilderHooks.h"
#include "wordimport/InstallWordToolHooks.h"
#include "wordimport/InstallWordImportHooks.h"

namespace veldra {

void installAllHooks()
{
    installEditorHooks();
    installGenerationHooks();
    installCheckingHooks();
    installCodeSystemHooks();
    installDialogHooks();
    installSplBuilderHooks();
    installBuildFormHooks();
    installWordToolHooks();
    installWordImportHooks();
}

} // namespace veldra
