#include "app/startup/Shutdown.h"

#include "app/EditorWindow.h"
#include "app/window/frmMain.h"
#include "platform/core/Skip.h"

#include <QApplication>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QPointer>

namespace veldra {

namespace {

QList<QPointer<QMdiSubWindow>> childWindows(frmMain* main)
{
    QList<QPointer<QMdiSubWindow>> windows;
    for (QMdiSubWindow* window : main->mdiArea()->subWindowList(QMdiArea::CreationOrder))
        windows << window;
    return windows;
}

// Each editor asks its own save question while it closes, in front, so that the user sees
// which document the question is about.
bool closeEditors(frmMain* main)
{
    for (const QPointer<QMdiSubWindow>& window : childWindows(main)) {
        EditorWindow* editor = window ? asEditor(window->widget()) : nullptr;
        if (!editor)
            continue;
        if (editor->hasUnsavedChanges())
            skip([&] { main->showChildWindow(window->widget()); });
        if (!window->close())
            return false;
    }
    return true;
}

void hideAndClose(QWidget* window)
{
    skip([&] { window->hide(); });
    skip([&] { window->close(); });
}

void closeOtherWindows(frmMain* main)
{
    for (const QPointer<QMdiSubWindow>& window : childWindows(main)) {
        if (window)
            hideAndClose(window);
    }
    QList<QPointer<QWidget>> windows;
    for (QWidget* window : QApplication::topLevelWidgets()) {
        const bool popup = window->windowType() == Qt::Popup || window->windowType() == Qt::ToolTip;
        if (window != main && window->isVisible() && !popup)
            windows << window;
    }
    for (const QPointer<QWidget>& window : windows) {
        if (window)
            hideAndClose(window);
    }
}

} // namespace

bool EndProgram()
{
    frmMain* main = mainForm();
    if (main) {
        if (!closeEditors(main))
            return false;
        closeOtherWindows(main);
        skip([&] { main->hide(); });
    }
    QCoreApplication::exit(0);
    return true;
}

} // namespace veldra
