#pragma once

#include <QString>
#include <QUrl>
#include <QVariant>
#include <functional>

class QWebEnginePage;
class QWebEngineView;

namespace veldra {

// Navigates the view to `url` and handles pending events until the page has loaded (the
// user can work in other windows meanwhile). False when the load failed or the view was
// closed while waiting.
bool navigateAndWait(QWebEngineView* view, const QUrl& url);

// Handles pending events until the view's next page load ends; as navigateAndWait.
bool waitForNextLoad(QWebEngineView* view, const std::function<void()>& startLoad);

// Runs a script in the page and handles pending events until its result is there. An invalid
// QVariant when the page has no process to run it, or when the page or its process went away
// first.
QVariant runScriptAndWait(QWebEnginePage* page, const QString& script);

} // namespace veldra
