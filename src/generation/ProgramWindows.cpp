#include "generation/ProgramWindows.h"

#include "app/window/frmMain.h"

#include <QApplication>
#include <QMdiArea>
#include <QMdiSubWindow>

namespace veldra {

QList<QWidget*> programWindows()
{
    QList<QWidget*> windows;
    frmMain* main = mainForm();
    if (main) {
        for (QMdiSubWindow* frame : main->mdiArea()->subWindowList(QMdiArea::CreationOrder))
            if (frame->widget())
                windows << frame->widget();
    }
    for (QWidget* window : QApplication::topLevelWidgets()) {
        if (window != main && !windows.contains(window) && window->windowType() != Qt::Popup
            && window->windowType() != Qt::ToolTip)
            windows << window;
    }
    return windows;
}

void showProgramWindow(QWidget* window)
{
    if (frmMain* main = mainForm()) {
        main->showChildWindow(window);
        return;
    }
    window->show();
    window->raise();
    window->activateWindow();
}

void closeProgramWindow(QWidget* window)
{
    if (auto* frame = qobject_cast<QMdiSubWindow*>(window->parentWidget()))
        frame->close();
    else
        window->close();
}

} // namespace veldra
