#include "generation/preview/frmPreview.h"

#include "app/log/Log.h"
#include "app/window/Twips.h"
#include "generation/BrowserFailure.h"
#include "generation/BrowserLinks.h"
#include "generation/preview/LabelLinks.h"
#include "platform/core/FileSave.h"
#include "platform/core/Skip.h"
#include "platform/web/BrowserModule.h"

#include <QDir>
#include <QUrl>

namespace veldra {

namespace {

const QString PageName = QStringLiteral("preview.html");

// How much of the inert links the log names: a hostile file may hold a hundred thousand.
constexpr qsizetype NamedLinks = 1000;

QString inertLinkWarning(const InertLink& link)
{
    const QString shown = shownAddress(link.address);
    if (link.reason == InertLink::Reason::NotValid)
        return QStringLiteral("The preview shows the link to '%1' as text: it is not a valid web address.").arg(shown);
    if (link.reason == InertLink::Reason::RelativePath)
        return QStringLiteral("The preview shows the link to '%1' as text: it is a relative path, which a label's link "
                              "does not open (a web address begins with http://, https:// or www.).")
            .arg(shown);
    return QStringLiteral("The preview shows the link to '%1' as text: a label's link opens only an http, https, "
                          "mailto or in-page address.")
        .arg(shown);
}

// The page with the label's links that may not open made inert, named in the log.
QString withInertLinks(const RenderedSPL& rendered)
{
    const InertLinksPage page = withInertLabelLinks(rendered.html, rendered.labelHrefs);
    for (const InertLink& link : page.madeInert.mid(0, NamedLinks))
        WriteLog(log_category::Warning, inertLinkWarning(link));
    if (page.madeInert.size() > NamedLinks)
        WriteLog(log_category::Warning, QStringLiteral("The preview shows %1 more links of the label as text.")
                                            .arg(page.madeInert.size() - NamedLinks));
    return page.html;
}

} // namespace

frmPreview::frmPreview(QWidget* parent) : QWidget(parent)
{
    setObjectName(QStringLiteral("frmPreview"));
    setAttribute(Qt::WA_DeleteOnClose);
    web::BrowserSettings settings;
    settings.localFilesOnly = true;
    settings.keepPage = true;
    settings.openLink = openClickedLink;
    settings.pageProcessFailed = showPageProcessFailure;
    WebBrowser = web::createBrowserControl(this, settings);
    WebBrowser->widget()->setObjectName(QStringLiteral("WebBrowser"));
}

QSize frmPreview::sizeHint() const
{
    return QSize(twips::toPixels(12000), twips::toPixels(9000));
}

bool frmPreview::showPage(const RenderedSPL& page, const QString& folder)
{
    const QString path = QDir(folder).filePath(PageName);
    if (!saveReplacing(path, withInertLinks(page).toUtf8()).isEmpty())
        return false;
    WebBrowser->setReadableFolders({folder, page.stylesheetFolder});
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
