#include "platform/webengine/BrowserPage.h"

#include "platform/webengine/PageProcessFailure.h"

#include <QWebEngineUrlRequestInterceptor>

namespace veldra::web {

namespace {

// Lets the page load local files (and data: addresses) only.
class LocalOnlyRequests : public QWebEngineUrlRequestInterceptor {
public:
    using QWebEngineUrlRequestInterceptor::QWebEngineUrlRequestInterceptor;
    void interceptRequest(QWebEngineUrlRequestInfo& info) override
    {
        const QString scheme = info.requestUrl().scheme();
        if (scheme != QLatin1String("file") && scheme != QLatin1String("data"))
            info.block(true);
    }
};

} // namespace

BrowserPage::BrowserPage(const BrowserSettings& settings, QObject* parent)
    : QWebEnginePage(parent), chooseFiles_(settings.chooseFiles)
{
    if (settings.localFilesOnly)
        setUrlRequestInterceptor(new LocalOnlyRequests(this));
    reportPageProcessFailures(this, settings.pageProcessFailed);
}

QStringList BrowserPage::chooseFiles(FileSelectionMode, const QStringList&, const QStringList&)
{
    return chooseFiles_ ? chooseFiles_() : QStringList();
}

} // namespace veldra::web
