#include "generation/preview/frmPreview.h"

#include "app/window/Twips.h"
#include "generation/BrowserFailure.h"
#include "generation/BrowserWait.h"
#include "platform/core/FileSave.h"
#include "platform/core/Skip.h"

#include <QRegularExpression>
#include <QUrl>
#include <QWebEnginePage>
#include <QWebEngineUrlRequestInterceptor>
#include <QWebEngineView>

namespace veldra {

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

// A page that shows no dialog boxes of its own (script alerts and questions).
class SilentPage : public QWebEnginePage {
public:
    using QWebEnginePage::QWebEnginePage;

protected:
    void javaScriptAlert(const QUrl&, const QString&) override {}
    bool javaScriptConfirm(const QUrl&, const QString&) override { return false; }
    bool javaScriptPrompt(const QUrl&, const QString&, const QString&, QString*) override { return false; }
};

// The page with a <base> element, so that its relative references resolve in `baseFolder`
// although the page file lies elsewhere.
QString withBase(QString html, const QString& baseFolder)
{
    const QString base = QStringLiteral("<base href=\"")
        + QUrl::fromLocalFile(baseFolder + QLatin1Char('/')).toString(QUrl::FullyEncoded).toHtmlEscaped()
        + QStringLiteral("\">");
    static const QRegularExpression head(QStringLiteral("<head[^>]*>"), QRegularExpression::CaseInsensitiveOption);
    const QRegularExpressionMatch match = head.match(html);
    if (match.hasMatch())
        html.insert(match.capturedEnd(), base);
    else
        html.prepend(base);
    return html;
}

} // namespace

frmPreview::frmPreview(QWidget* parent) : QWidget(parent)
{
    setObjectName(QStringLiteral("frmPreview"));
    setAttribute(Qt::WA_DeleteOnClose);
    WebBrowser = new QWebEngineView(this);
    WebBrowser->setObjectName(QStringLiteral("WebBrowser"));
    auto* page = new SilentPage(WebBrowser);
    page->setUrlRequestInterceptor(new LocalOnlyRequests(page));
    reportRenderProcessFailures(page);
    WebBrowser->setPage(page);
}

QSize frmPreview::sizeHint() const
{
    return QSize(twips::toPixels(12000), twips::toPixels(9000));
}

bool frmPreview::showPage(const QString& html, const QString& baseFolder)
{
    const QString path = pageFolder_.filePath(QStringLiteral("preview.html"));
    if (!saveReplacing(path, withBase(html, baseFolder).toUtf8()).isEmpty())
        return false;
    return navigateAndWait(WebBrowser, QUrl::fromLocalFile(path));
}

int frmPreview::scrollTop() const
{
    return runScriptAndWait(WebBrowser->page(), QStringLiteral("document.documentElement.scrollTop")).toInt();
}

void frmPreview::scrollTo(int x, int y)
{
    runScriptAndWait(WebBrowser->page(), QStringLiteral("window.scrollTo(%1, %2); 0").arg(x).arg(y));
}

void frmPreview::resizeEvent(QResizeEvent* event)
{
    QWidget::resizeEvent(event);
    skip([this] { Form_Resize(); });
}

// The browser fills the window's client area (the fixed margins of the window's outer size are
// its frame, which a Qt window's size does not include).
void frmPreview::Form_Resize()
{
    WebBrowser->setGeometry(rect());
}

} // namespace veldra
