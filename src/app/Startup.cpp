#include "app/Startup.h"

#include "platform/core/AppInfo.h"

#include <QApplication>
#include <QMainWindow>
#include <QMdiArea>

namespace veldra {

int runVeldra(int argc, char** argv)
{
    QApplication app(argc, argv);
    QApplication::setApplicationName(app_info::title());
    QApplication::setOrganizationName(app_info::title());
    QMainWindow window;
    window.setWindowTitle(app_info::title());
    window.setCentralWidget(new QMdiArea(&window));
    window.showMaximized();
    return app.exec();
}

} // namespace veldra
