#pragma once

#include "platform/web/BrowserControl.h"

#include <QWebEnginePage>

namespace veldra::web {

class LocalOnlyRequests;

// A page that shows no script dialogs of its own (alerts and questions), asks for the files
// of a file input through the settings' chooser, and with `localFilesOnly` loads local files
// and data: addresses only, the files only from the readable folders. With `keepPage` only the
// program's own loads (and the user's reload, back and forward) leave the page. A new window
// the user asks for is taken as a click on its link; no other opens.
class BrowserPage : public QWebEnginePage {
public:
    BrowserPage(const BrowserSettings& settings, QObject* parent);

    // See BrowserControl::setReadableFolders.
    void setReadableFolders(const QStringList& folders);

protected:
    QStringList chooseFiles(FileSelectionMode mode, const QStringList& oldFiles, const QStringList& acceptedMimeTypes) override;
    void javaScriptAlert(const QUrl&, const QString&) override {}
    bool javaScriptConfirm(const QUrl&, const QString&) override { return false; }
    bool javaScriptPrompt(const QUrl&, const QString&, const QString&, QString*) override { return false; }
    bool acceptNavigationRequest(const QUrl& url, NavigationType type, bool isMainFrame) override;
    QWebEnginePage* createWindow(WebWindowType type) override;

private:
    bool isPlaceInPage(const QUrl& url) const;
    void openAsClicked(const QUrl& url);

    std::function<QStringList()> chooseFiles_;
    bool keepPage_;
    std::function<void(const QUrl&)> openLink_;
    // The request filter of a page that loads local files only, else none.
    LocalOnlyRequests* localOnly_ = nullptr;
};

} // namespace veldra::web
