#include "platform/webengine/WebEngineBrowser.h"

#include "platform/webengine/BrowserPage.h"

#include <QContextMenuEvent>
#include <QEventLoop>
#include <QMenu>
#include <QPointer>

namespace veldra::web {

WebEngineBrowser::WebEngineBrowser(QWidget* parent, const BrowserSettings& settings) : QWebEngineView(parent)
{
    page_ = new BrowserPage(settings, this);
    setPage(page_);
}

bool WebEngineBrowser::waitForNextLoad(const std::function<void()>& startLoad)
{
    QPointer<QWebEngineView> alive = this;
    QEventLoop loop;
    bool loaded = false;
    const auto finished = connect(this, &QWebEngineView::loadFinished, &loop, [&](bool ok) {
        loaded = ok;
        loop.quit();
    });
    const auto gone = connect(this, &QObject::destroyed, &loop, &QEventLoop::quit);
    // A page process that ends during the load never reports the load's end.
    const auto ended = connect(this, &QWebEngineView::renderProcessTerminated, &loop, &QEventLoop::quit);
    startLoad();
    loop.exec();
    if (alive) {
        disconnect(finished);
        disconnect(gone);
        disconnect(ended);
    }
    return alive && loaded;
}

bool WebEngineBrowser::navigateAndWait(const QUrl& url)
{
    return waitForNextLoad([&] { load(url); });
}

QVariant WebEngineBrowser::runScriptAndWait(const QString& script)
{
    QWebEnginePage* shown = page();
    // A page without its process (it ended, or none has started) never answers.
    if (shown->renderProcessPid() == 0)
        return {};
    QPointer<QWebEnginePage> alive = shown;
    QEventLoop loop;
    QVariant result;
    bool done = false;
    const auto gone = connect(shown, &QObject::destroyed, &loop, &QEventLoop::quit);
    const auto ended = connect(shown, &QWebEnginePage::renderProcessTerminated, &loop, &QEventLoop::quit);
    shown->runJavaScript(script, [&](const QVariant& value) {
        result = value;
        done = true;
        loop.quit();
    });
    if (!done)
        loop.exec();
    if (alive) {
        disconnect(gone);
        disconnect(ended);
    }
    return result;
}

void WebEngineBrowser::runScript(const QString& script)
{
    page()->runJavaScript(script);
}

qint64 WebEngineBrowser::pageProcessId() const
{
    return page()->renderProcessPid();
}

void WebEngineBrowser::contextMenuEvent(QContextMenuEvent* event)
{
    static constexpr QWebEnginePage::WebAction notOffered[] = {
        QWebEnginePage::OpenLinkInThisWindow, QWebEnginePage::OpenLinkInNewWindow, QWebEnginePage::OpenLinkInNewTab,
        QWebEnginePage::OpenLinkInNewBackgroundTab, QWebEnginePage::ViewSource, QWebEnginePage::SavePage,
        QWebEnginePage::DownloadLinkToDisk, QWebEnginePage::DownloadImageToDisk, QWebEnginePage::DownloadMediaToDisk};
    QMenu* menu = createStandardContextMenu();
    for (QWebEnginePage::WebAction action : notOffered)
        menu->removeAction(pageAction(action));
    menu->setAttribute(Qt::WA_DeleteOnClose);
    menu->popup(event->globalPos());
}

void WebEngineBrowser::setReadableFolders(const QStringList& folders)
{
    page_->setReadableFolders(folders);
}

} // namespace veldra::web
