#include "platform/webengine/PageProcessFailure.h"

#include <QWebEnginePage>

namespace veldra::web {

namespace {

QString howItEnded(QWebEnginePage::RenderProcessTerminationStatus status)
{
    switch (status) {
    case QWebEnginePage::CrashedTerminationStatus: return QStringLiteral("crashed");
    case QWebEnginePage::KilledTerminationStatus: return QStringLiteral("was killed");
    default: return QStringLiteral("ended abnormally");
    }
}

// The message for a page process that ended with `status`; empty for a normal end.
QString pageProcessFailureMessage(QWebEnginePage::RenderProcessTerminationStatus status, int exitCode)
{
    if (status == QWebEnginePage::NormalTerminationStatus)
        return {};
    return QStringLiteral("The browser engine's page process %1 (exit code %2), so the page cannot be shown.\r\n\r\n"
                          "Your documents are not affected; run the command again to show the page anew.")
        .arg(howItEnded(status))
        .arg(exitCode);
}

} // namespace

void reportPageProcessFailures(QWebEnginePage* page, const std::function<void(const QString&)>& tell)
{
    if (!tell)
        return;
    QObject::connect(page, &QWebEnginePage::renderProcessTerminated, page,
                     [tell](QWebEnginePage::RenderProcessTerminationStatus status, int exitCode) {
                         const QString message = pageProcessFailureMessage(status, exitCode);
                         if (!message.isEmpty())
                             tell(message);
                     });
}

} // namespace veldra::web
