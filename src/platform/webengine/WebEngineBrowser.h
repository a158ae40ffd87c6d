#pragma once

#include "platform/web/BrowserControl.h"

#include <QWebEngineView>

namespace veldra::web {

class BrowserPage;

// The browser control on Qt WebEngine: a view with a BrowserPage.
class WebEngineBrowser : public QWebEngineView, public BrowserControl {
public:
    WebEngineBrowser(QWidget* parent, const BrowserSettings& settings);

    QWidget* widget() override { return this; }
    bool navigateAndWait(const QUrl& url) override;
    bool waitForNextLoad(const std::function<void()>& startLoad) override;
    QVariant runScriptAndWait(const QString& script) override;
    void runScript(const QString& script) override;
    qint64 pageProcessId() const override;
    void setReadableFolders(const QStringList& folders) override;

private:
    BrowserPage* page_;
};

} // namespace veldra::web
