#include "platform/webengine/BrowserPage.h"

#include "platform/webengine/PageProcessFailure.h"

#include <QFileInfo>
#include <QWebEngineSettings>
#include <QWebEngineUrlRequestInterceptor>

namespace veldra::web {

namespace {

// The file's path with links and "." or ".." resolved; "" when it does not exist.
QString resolvedPath(const QString& path)
{
    return QFileInfo(path).canonicalFilePath();
}

} // namespace

// Lets the page load data: addresses and the local files of its readable folders only.
class LocalOnlyRequests : public QWebEngineUrlRequestInterceptor {
public:
    using QWebEngineUrlRequestInterceptor::QWebEngineUrlRequestInterceptor;

    void setReadableFolders(const QStringList& folders)
    {
        folders_.clear();
        for (const QString& folder : folders)
            if (const QString resolved = resolvedPath(folder); !resolved.isEmpty())
                folders_ << resolved + (resolved.endsWith(QLatin1Char('/')) ? QString() : QStringLiteral("/"));
    }

    void interceptRequest(QWebEngineUrlRequestInfo& info) override
    {
        const QUrl url = info.requestUrl();
        if (url.scheme() == QLatin1String("data"))
            return;
        info.block(url.scheme() != QLatin1String("file") || !isReadable(url));
    }

private:
    bool isReadable(const QUrl& url) const
    {
        if (!url.host().isEmpty())
            return false;
        const QString file = resolvedPath(url.toLocalFile());
        if (file.isEmpty())
            return false;
        for (const QString& folder : folders_)
            if (file.startsWith(folder))
                return true;
        return false;
    }

    QStringList folders_;
};

BrowserPage::BrowserPage(const BrowserSettings& settings, QObject* parent)
    : QWebEnginePage(parent), chooseFiles_(settings.chooseFiles), keepPage_(settings.keepPage),
      openLink_(settings.openLink)
{
    if (settings.localFilesOnly) {
        localOnly_ = new LocalOnlyRequests(this);
        setUrlRequestInterceptor(localOnly_);
    }
    // A link of a scheme the engine does not show itself (mailto:) is asked about as any
    // other link, so that it goes to openLink too, instead of being refused unasked.
    if (keepPage_)
        this->settings()->setUnknownUrlSchemePolicy(QWebEngineSettings::AllowAllUnknownUrlSchemes);
    reportPageProcessFailures(this, settings.pageProcessFailed);
}

void BrowserPage::setReadableFolders(const QStringList& folders)
{
    if (localOnly_)
        localOnly_->setReadableFolders(folders);
}

QStringList BrowserPage::chooseFiles(FileSelectionMode, const QStringList&, const QStringList&)
{
    return chooseFiles_ ? chooseFiles_() : QStringList();
}

bool BrowserPage::acceptNavigationRequest(const QUrl& url, NavigationType type, bool isMainFrame)
{
    if (!keepPage_ || type == NavigationTypeTyped || type == NavigationTypeReload || type == NavigationTypeBackForward)
        return true;
    if (url.hasFragment() && url.adjusted(QUrl::RemoveFragment) == this->url().adjusted(QUrl::RemoveFragment))
        return true;
    // The engine asks while it handles the click: the link is opened after it.
    if (isMainFrame && type == NavigationTypeLinkClicked && openLink_)
        QMetaObject::invokeMethod(this, [open = openLink_, url] { open(url); }, Qt::QueuedConnection);
    return false;
}

QWebEnginePage* BrowserPage::createWindow(WebWindowType type)
{
    return keepPage_ ? nullptr : QWebEnginePage::createWindow(type);
}

} // namespace veldra::web
