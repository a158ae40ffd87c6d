#include "generation/preview/SPLRendering.h"

#include "generation/preview/StylesheetRewrite.h"
#include "platform/xml/Document.h"
#include "platform/xml/ResourceResolver.h"
#include "platform/xml/XsltProcessor.h"
#include "platform/xml/XsltStylesheetInstruction.h"

#include <QFileInfo>
#include <QUrl>

namespace veldra {

namespace {

bool isLocalStylesheetCopy(const QString& address)
{
    const QString path = address.startsWith(QLatin1String("file:")) ? QUrl(address).toLocalFile() : address;
    return QFileInfo(path).absoluteFilePath() == QFileInfo(LocalStylesheetPath()).absoluteFilePath();
}

QString stylesheetFor(const xml::Document& spl)
{
    const QString address = xml::stylesheetAddressOf(spl);
    if (address.isEmpty() || isLocalStylesheetCopy(address))
        return OnlineStylesheetAddress();
    return address;
}

QString folderUrl(const QString& folder)
{
    return QUrl::fromLocalFile(folder + QLatin1Char('/')).toString();
}

} // namespace

RenderedSPL RenderSPLDocument(const xml::Document& spl)
{
    RenderedSPL rendered;
    const xml::ObtainedResource stylesheet = xml::obtainResource(stylesheetFor(spl));
    if (!stylesheet.available()) {
        rendered.problem = QStringLiteral("The SPL stylesheet is not available: ") + stylesheet.problem;
        rendered.stylesheetMissing = true;
        return rendered;
    }
    const QString folder = QFileInfo(stylesheet.localPath).absolutePath();
    const xml::XsltParameters parameters = {
        {QStringLiteral("css"), QUrl::fromLocalFile(folder + QStringLiteral("/spl.css")).toString()},
        {QStringLiteral("resourcesdir"), folderUrl(folder)}};
    const xml::XsltResult result = xml::XsltProcessor().transformDocument(stylesheet.localPath, spl, parameters);
    if (!result.ok())
        rendered.problem = result.problem;
    else
        rendered.html = result.text;
    return rendered;
}

} // namespace veldra
