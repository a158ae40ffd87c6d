#include "app/startup/Startup.h"

#include "app/startup/FirstPaintExit.h"
#include "app/startup/ProcessSetup.h"
#include "app/HookCall.h"
#include "app/Hooks.h"
#include "app/window/MainStatusBar.h"
#include "app/search/SearchPanel.h"
#include "app/window/WindowHelpers.h"
#include "app/window/frmMain.h"
#include "platform/core/AppInfo.h"
#include "platform/core/AppPaths.h"
#include "platform/core/Skip.h"
#include "platform/ui/Ui.h"

#include <QApplication>

namespace veldra {

namespace {

constexpr int firstPanelTwips = 2000;
constexpr int secondPanelTwips = 2000;

} // namespace

void ShowMainForm()
{
    frmMain* main = mainForm();
    if (!main)
        return;
    callHook(hooks().LoadWizardMenu);
    skip([&] { SetFormLogo(main->picLogo); });
    skip([&] { FillCodeSystemCombo(main->cboCodeSystem); });
    skip([&] { main->StatusBar->setPanelWidths(firstPanelTwips, secondPanelTwips); });
    main->showMaximized();
    main->raise();
    main->activateWindow();
    skip([] { ui::pumpMessages(); });
}

void Main()
{
    ShowMainForm();
    // The id generator seeds itself from the system's entropy on first use.
    callHook(hooks().LoadSettingsFile, app_paths::inProgram(QStringLiteral("LastSettings.xml")));
}

int runVeldra(int argc, char** argv)
{
    prepareProcess();
    // The browser engine and its shared OpenGL context are loaded when the first preview or
    // validation window needs them (web::createBrowserControl), not here.
    QApplication app(argc, argv);
    QApplication::setApplicationName(app_info::title());
    QApplication::setOrganizationName(app_info::title());
    frmMain window;
    exitAfterFirstPaintWhenAsked(window);
    Main();
    return app.exec();
}

} // namespace veldra
