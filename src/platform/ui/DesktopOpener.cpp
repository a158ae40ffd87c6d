#include "platform/ui/DesktopOpener.h"

#include <QCoreApplication>
#include <QDesktopServices>
#include <QEventLoop>
#include <QProcess>
#include <QStandardPaths>
#include <QTimer>
#include <QUrl>

namespace veldra::ui {

namespace {

// How long the opener is awaited: it fails within a second when it finds no program, while
// an opener that runs a browser in the foreground would keep the program waiting until the
// browser ends.
constexpr int OpenerWaitMs = 3000;

QString& openerProgram()
{
    static QString program;
    return program;
}

// A web address, or a mail address (which has no "//"), is an address; anything else a path.
QUrl urlOf(const QString& target)
{
    const bool address = target.contains(QStringLiteral("://")) || target.startsWith(QStringLiteral("mailto:"), Qt::CaseInsensitive);
    return address ? QUrl(target) : QUrl::fromLocalFile(target);
}

// Waits for the opener to end, up to the bound; true when it ended.
bool awaitEnd(QProcess& opener)
{
    if (opener.state() == QProcess::NotRunning)
        return true;
    QEventLoop loop;
    QObject::connect(&opener, &QProcess::finished, &loop, &QEventLoop::quit);
    QTimer::singleShot(OpenerWaitMs, &loop, &QEventLoop::quit);
    loop.exec(QEventLoop::ExcludeUserInputEvents);
    return opener.state() == QProcess::NotRunning;
}

} // namespace

bool openWithDesktop(const QString& target)
{
    const QUrl url = urlOf(target);
    const QString name = openerProgram().isEmpty() ? QStringLiteral("xdg-open") : openerProgram();
    const QString program = QStandardPaths::findExecutable(name);
    if (program.isEmpty())
        return QDesktopServices::openUrl(url);

    auto* opener = new QProcess;
    opener->setProgram(program);
    opener->setArguments({url.isLocalFile() ? url.toLocalFile() : url.toString(QUrl::FullyEncoded)});
    opener->setProcessChannelMode(QProcess::ForwardedChannels);
    opener->setStandardInputFile(QProcess::nullDevice());
    opener->start();
    if (!opener->waitForStarted() || awaitEnd(*opener)) {
        const bool opened = opener->exitStatus() == QProcess::NormalExit && opener->exitCode() == 0
                            && opener->error() == QProcess::UnknownError;
        delete opener;
        return opened;
    }
    // Still running: it went on to run what opens the address. The application keeps it until
    // it ends.
    opener->setParent(QCoreApplication::instance());
    QObject::connect(opener, &QProcess::finished, opener, &QObject::deleteLater);
    return true;
}

void setDesktopOpenerProgram(const QString& program)
{
    openerProgram() = program;
}

} // namespace veldra::ui
