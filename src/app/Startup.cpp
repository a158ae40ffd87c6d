#include "app/Startup.h"

#include "app/frmMain.h"
#include "platform/core/AppInfo.h"

#include <QApplication>

namespace veldra {

int runVeldra(int argc, char** argv)
{
    QApplication app(argc, argv);
    QApplication::setApplicationName(app_info::title());
    QApplication::setOrganizationName(app_info::title());
    frmMain window;
    window.showMaximized();
    return app.exec();
}

} // namespace veldra
