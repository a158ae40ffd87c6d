// The composition root: each subsystem above the application core fills its
// members of the hook table (app/Hooks.h) here, before the program starts.
#include "app/Startup.h"
#include "codesystems/CodeSystemHooks.h"
#include "editor/InstallEditorHooks.h"

int main(int argc, char** argv)
{
    veldra::installEditorHooks();
    veldra::installCodeSystemHooks();
    return veldra::runVeldra(argc, argv);
}
