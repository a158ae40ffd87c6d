#include "generation/preview/frmPreview.h"

#include "app/window/Twips.h"
#include "generation/BrowserFailure.h"
#include "platform/core/FileSave.h"
#include "platform/core/Skip.h"
#include "platform/web/BrowserModule.h"

#include <QRegularExpression>
#include <QUrl>

namespace veldra {

namespace {

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
    web::BrowserSettings settings;
    settings.localFilesOnly = true;
    settings.pageProcessFailed = showPageProcessFailure;
    WebBrowser = web::createBrowserControl(this, settings);
    WebBrowser->widget()->setObjectName(QStringLiteral("WebBrowser"));
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
    return WebBrowser->navigateAndWait(QUrl::fromLocalFile(path));
}

int frmPreview::scrollTop() const
{
    return WebBrowser->runScriptAndWait(QStringLiteral("document.documentElement.scrollTop")).toInt();
}

void frmPreview::scrollTo(int x, int y)
{
    WebBrowser->runScriptAndWait(QStringLiteral("window.scrollTo(%1, %2); 0").arg(x).arg(y));
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
    WebBrowser->widget()->setGeometry(rect());
}

} // namespace veldra
