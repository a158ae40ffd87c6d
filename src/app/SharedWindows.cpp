#include "app/SharedProcedures.h"

#include "platform/ui/Ui.h"

#include <QWidget>

namespace veldra {

void ShellOpen(const QString& target)
{
    ui::shellOpen(target);
}

void SetWindowOnTop(QWidget* window, bool onTop)
{
    ui::pumpMessages();
    if (window) {
        // Changing a window's flags hides it and may move it: put both back.
        const QRect geometry = window->geometry();
        const bool visible = window->isVisible();
        window->setWindowFlag(Qt::WindowStaysOnTopHint, onTop);
        window->setGeometry(geometry);
        if (visible)
            window->show();
    }
    ui::pumpMessages();
}

} // namespace veldra
