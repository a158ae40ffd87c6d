#include "app/frmMain.h"

#include "platform/core/AppInfo.h"

#include <QMdiArea>

namespace veldra {

namespace {
frmMain* current = nullptr;
}

frmMain::frmMain(QWidget* parent)
    : QMainWindow(parent), mdiArea_(new QMdiArea(this))
{
    setWindowTitle(app_info::title());
    setCentralWidget(mdiArea_);
    current = this;
}

frmMain::~frmMain()
{
    if (current == this)
        current = nullptr;
}

frmMain* mainForm()
{
    return current;
}

} // namespace veldra
