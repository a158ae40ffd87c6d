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

namespace {

// Opens `target` with the desktop's program for it; when that fails, says so, naming `shown`.
void openOrSay(const QString& target, const QString& shown, const QString& noProgram, const QString& byHand)
{
    if (ui::shellOpen(target))
        return;
    ui::msgBox(noProgram + QStringLiteral(":\r\n\r\n") + shown + QStringLiteral("\r\n\r\n") + byHand, ui::Buttons::OK,
               ui::Icon::Warning);
}

} // namespace

void ShellOpenFile(const QString& file)
{
    openOrSay(file, QDir::toNativeSeparators(QFileInfo(file).absoluteFilePath()),
              QStringLiteral("The desktop has no program to open this file"), QStringLiteral("Please open it by hand."));
}

void ShellOpenFolder(const QString& folder)
{
    openOrSay(folder, QDir::toNativeSeparators(QDir(folder).absolutePath()),
              QStringLiteral("The desktop has no program to open this folder"), QStringLiteral("Please open it by hand."));
}

void ShellOpenAddress(const QString& address)
{
    openOrSay(address, address, QStringLiteral("The desktop has no web browser to open this address"),
              QStringLiteral("Please open it in a web browser by hand."));
}

void ShellOpenMailAddress(const QString& address)
{
    openOrSay(address, address, QStringLiteral("The desktop has no mail program to write to this address"),
              QStringLiteral("Please write to it from a mail program by hand."));
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
