#include "platform/ui/DialogPlacement.h"

#include <QApplication>

namespace veldra::ui {

namespace {

bool isKeptOnTop(const QWidget* window)
{
    if (!window || !window->isVisible() || window->isMinimized())
        return false;
    const Qt::WindowType type = window->windowType();
    const bool framed = type == Qt::Window || type == Qt::Dialog || type == Qt::Tool;
    return framed && window->windowFlags().testFlag(Qt::WindowStaysOnTopHint);
}

} // namespace

QWidget* dialogParent()
{
    if (QWidget* modal = QApplication::activeModalWidget())
        return modal;
    QWidget* active = QApplication::activeWindow();
    if (isKeptOnTop(active))
        return active;
    for (QWidget* window : QApplication::topLevelWidgets())
        if (isKeptOnTop(window))
            return window;
    return active;
}

void keepInFrontOf(QWidget* dialog, const QWidget* parent)
{
    if (parent && parent->window()->windowFlags().testFlag(Qt::WindowStaysOnTopHint))
        dialog->setWindowFlag(Qt::WindowStaysOnTopHint, true);
}

FocusReturn::FocusReturn() : focused_(QApplication::focusWidget()) {}

FocusReturn::~FocusReturn()
{
    if (!focused_ || !focused_->isVisible() || !focused_->isEnabled())
        return;
    focused_->activateWindow();
    focused_->setFocus(Qt::OtherFocusReason);
}

} // namespace veldra::ui
