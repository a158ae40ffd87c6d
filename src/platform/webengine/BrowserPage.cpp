#include "platform/webengine/BrowserPage.h"

#include "platform/webengine/PageProcessFailure.h"

#include <QFileInfo>
#include <QJsonArray>
#include <QJsonDocument>
#include <QWebEngineNewWindowRequest>
#include <QWebEngineSettings>
#include <QWebEngineUrlRequestInterceptor>

namespace veldra::web {

namespace {

// Whether the engine shows the address itself, rather than a program of the desktop.
bool isShownHere(const QUrl& url)
{
    static const QStringList shown = {QStringLiteral("http"), QStringLiteral("https"), QStringLiteral("file"),
                                      QStringLiteral("data"), QStringLiteral("about"), QStringLiteral("blob")};
    return shown.contains(url.scheme().toLower());
}

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
    // other link, so that it goes to openLink too, instead of being refused unasked or handed
    // to the desktop behind the program's back.
    if (openLink_)
        this->settings()->setUnknownUrlSchemePolicy(QWebEngineSettings::AllowAllUnknownUrlSchemes);
    connect(this, &QWebEnginePage::newWindowRequested, this, [this](QWebEngineNewWindowRequest& request) {
        if (request.isUserInitiated())
            openAsClicked(request.requestedUrl());
    });
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

bool BrowserPage::isPlaceInPage(const QUrl& url) const
{
    return url.hasFragment() && url.adjusted(QUrl::RemoveFragment) == this->url().adjusted(QUrl::RemoveFragment);
}

bool BrowserPage::acceptNavigationRequest(const QUrl& url, NavigationType type, bool isMainFrame)
{
    if (type == NavigationTypeTyped || type == NavigationTypeReload || type == NavigationTypeBackForward)
        return true;
    if (keepPage_ ? isPlaceInPage(url) : isShownHere(url))
        return true;
    // The engine asks while it handles the click: the link is opened after it.
    if (isMainFrame && type == NavigationTypeLinkClicked && openLink_)
        QMetaObject::invokeMethod(this, [open = openLink_, url] { open(url); }, Qt::QueuedConnection);
    return false;
}

// The link of a new window the user asked for, followed as a click on it would be, once the
// request has been handled: a place in the page scrolls there (going to its whole address
// scrolls also when the page is there already, where setting the hash alone would not), and a
// page that may be left goes to a web address (never to a file, which a click on a web page's
// link cannot open).
void BrowserPage::openAsClicked(const QUrl& url)
{
    QMetaObject::invokeMethod(
        this,
        [this, url] {
            const QString scheme = url.scheme().toLower();
            if (keepPage_ && isPlaceInPage(url))
                runJavaScript(QStringLiteral("location.href = %1[0];")
                                  .arg(QString::fromUtf8(QJsonDocument(QJsonArray{url.toString(QUrl::FullyEncoded)}).toJson(QJsonDocument::Compact))));
            else if (!keepPage_ && (scheme == QLatin1String("http") || scheme == QLatin1String("https")))
                load(url);
            else if (openLink_)
                openLink_(url);
        },
        Qt::QueuedConnection);
}

QWebEnginePage* BrowserPage::createWindow(WebWindowType type)
{
    return keepPage_ ? nullptr : QWebEnginePage::createWindow(type);
}

} // namespace veldra::web
