// The composition root: each subsystem above the application core fills its
// members of the hook table (app/Hooks.h) here, before the program starts.
#include "app/Startup.h"
#include "codesystems/CodeSystemHooks.h"
#include "dialogs/InstallDialogHooks.h"
#include "editor/InstallEditorHooks.h"
#include "generation/InstallGenerationHooks.h"
#include "splbuilder/InstallSplBuilderHooks.h"

int main(int argc, char** argv)
{
    veldra::installEditorHooks();
    veldra::installGenerationHooks();
    veldra::installCodeSystemHooks();
    veldra::installDialogHooks();
    veldra::installSplBuilderHooks();
    return veldra::runVeldra(argc, argv);
}
