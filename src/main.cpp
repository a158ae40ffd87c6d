// The program: every subsystem fills its hooks, then the main window starts.
#include "app/startup/Startup.h"
#include "program/InstallHooks.h"

int main(int argc, char** argv)
{
    veldra::installAllHooks();
    return veldra::runVeldra(argc, argv);
}
