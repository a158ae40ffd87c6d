#include "buildform/InstallBuildFormHooks.h"

#include "app/Hooks.h"
#include "buildform/SettingsFile.h"
#include "buildform/frmBuildSPL.h"
#include "platform/core/AppPaths.h"

namespace veldra {

void installBuildFormHooks()
{
    Hooks& table = hooks();
    table.BuildSPLForm = [] { return static_cast<QWidget*>(buildform::buildForm()); };
    table.SaveSettingsFile = [](const QString& path) { buildform::SaveSettingsFile(path); };
    // The start procedure restores the program folder's "LastSettings.xml"; that restore
    // prefers the per-user copy and never stops the start with a message box.
    table.LoadSettingsFile = [](const QString& path) {
        if (path == app_paths::inProgram(QStringLiteral("LastSettings.xml")))
            buildform::RestoreLastSettings(*buildform::buildForm(), path);
        else
            buildform::LoadSettingsFile(path);
    };
}

} // namespace veldra
