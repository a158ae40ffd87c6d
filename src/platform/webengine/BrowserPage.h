#pragma once

#include "platform/web/BrowserControl.h"

#include <QWebEnginePage>

namespace veldra::web {

// A page that shows no script dialogs of its own (alerts and questions), asks for the files
// of a file input through the settings' chooser, and with `localFilesOnly` loads local files
// and data: addresses only.
class BrowserPage : public QWebEnginePage {
public:
    BrowserPage(const BrowserSettings& settings, QObject* parent);

protected:
    QStringList chooseFiles(FileSelectionMode mode, const QStringList& oldFiles, const QStringList& acceptedMimeTypes) override;
    void javaScriptAlert(const QUrl&, const QString&) override {}
    bool javaScriptConfirm(const QUrl&, const QString&) override { return false; }
    bool javaScriptPrompt(const QUrl&, const QString&, const QString&, QString*) override { return false; }

private:
    std::function<QStringList()> chooseFiles_;
};

} // namespace veldra::web
