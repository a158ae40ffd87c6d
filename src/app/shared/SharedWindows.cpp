#include "app/shared/SharedProcedures.h"

#include "platform/ui/Ui.h"

#include <QDir>
#include <QFileInfo>
#include <QPointer>
#include <QWidget>

namespace veldra {

void ShellOpen(const QString& target)
{
    ui::shellOpen(target);
}

void ShellOpenFile(const QString& file)
{
    if (ui::shellOpen(file))
        return;
    const QString path = QDir::toNativeSeparators(QFileInfo(file).absoluteFilePath());
    ui::msgBox(QStringLiteral("The desktop has no program to open this file:\r\n\r\n") + path
                   + QStringLiteral("\r\n\r\nPlease open it by hand."),
               ui::Buttons::OK, ui::Icon::Warning);
}

void ShellOpenFolder(const QString& folder)
{
    if (ui::shellOpen(folder))
        return;
    const QString path = QDir::toNativeSeparators(QDir(folder).absolutePath());
    ui::msgBox(QStringLiteral("The desktop has no program to open this folder:\r\n\r\n") + path
                   + QStringLiteral("\r\n\r\nPlease open it by hand."),
               ui::Buttons::OK, ui::Icon::Warning);
}

void ShellOpenAddress(const QString& address)
{
    if (ui::shellOpen(address))
        return;
    ui::msgBox(QStringLiteral("The desktop has no web browser to open this address:\r\n\r\n") + address
                   + QStringLiteral("\r\n\r\nPlease open it in a web browser by hand."),
               ui::Buttons::OK, ui::Icon::Warning);
}

void SetWindowOnTop(QWidget* target, bool onTop)
{
    // The window may close while events run.
    const QPointer<QWidget> window(target);
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
