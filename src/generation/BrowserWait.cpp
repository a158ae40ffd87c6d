#include "generation/BrowserWait.h"

#include <QEventLoop>
#include <QPointer>
#include <QWebEnginePage>
#include <QWebEngineView>

namespace veldra {

bool waitForNextLoad(QWebEngineView* view, const std::function<void()>& startLoad)
{
    QPointer<QWebEngineView> alive = view;
    QEventLoop loop;
    bool loaded = false;
    const auto finished = QObject::connect(view, &QWebEngineView::loadFinished, &loop, [&](bool ok) {
        loaded = ok;
        loop.quit();
    });
    const auto gone = QObject::connect(view, &QObject::destroyed, &loop, &QEventLoop::quit);
    // A page process that ends during the load never reports the load's end.
    const auto ended = QObject::connect(view, &QWebEngineView::renderProcessTerminated, &loop, &QEventLoop::quit);
    startLoad();
    loop.exec();
    if (alive) {
        QObject::disconnect(finished);
        QObject::disconnect(gone);
        QObject::disconnect(ended);
    }
    return alive && loaded;
}

bool navigateAndWait(QWebEngineView* view, const QUrl& url)
{
    return waitForNextLoad(view, [&] { view->load(url); });
}

QVariant runScriptAndWait(QWebEnginePage* page, const QString& script)
{
    // A page without its process (it ended, or none has started) never answers.
    if (page->renderProcessPid() == 0)
        return {};
    QPointer<QWebEnginePage> alive = page;
    QEventLoop loop;
    QVariant result;
    bool done = false;
    const auto gone = QObject::connect(page, &QObject::destroyed, &loop, &QEventLoop::quit);
    const auto ended = QObject::connect(page, &QWebEnginePage::renderProcessTerminated, &loop, &QEventLoop::quit);
    page->runJavaScript(script, [&](const QVariant& value) {
        result = value;
        done = true;
        loop.quit();
    });
    if (!done)
        loop.exec();
    if (alive) {
        QObject::disconnect(gone);
        QObject::disconnect(ended);
    }
    return result;
}

} // namespace veldra
