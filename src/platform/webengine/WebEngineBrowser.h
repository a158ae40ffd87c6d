#pragma once

#include "platform/web/BrowserControl.h"

#include <QWebEngineView>

namespace veldra::web {

class BrowserPage;

// The browser control on Qt WebEngine: a view with a BrowserPage. Its context menu offers no
// item that would open a page or a link in a window the control does not have, or save to
// disk, which the control does not do.
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

protected:
    void contextMenuEvent(QContextMenuEvent* event) override;

private:
    BrowserPage* page_;
};

} // namespace veldra::web
