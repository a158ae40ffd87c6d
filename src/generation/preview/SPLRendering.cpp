#include "generation/preview/SPLRendering.h"

#include "generation/preview/LabelLinkMarks.h"
#include "generation/preview/PreviewTransform.h"
#include "generation/preview/StylesheetRewrite.h"
#include "platform/xml/tree/Document.h"
#include "platform/xml/resources/ResourceResolver.h"

#include <QFileInfo>
#include <QUrl>

namespace veldra {

namespace {

QString folderUrl(const QString& folder)
{
    return QUrl::fromLocalFile(folder + QLatin1Char('/')).toString();
}

} // namespace

RenderedSPL RenderSPLDocument(const xml::Document& spl)
{
    RenderedSPL rendered;
    // Whatever stylesheet the file names (any file of the disk, run with the user's rights),
    // SPL is rendered with the agency's stylesheet from the program folder or the cache.
    const xml::ObtainedResource stylesheet = xml::obtainResource(OnlineStylesheetAddress());
    if (!stylesheet.available()) {
        rendered.problem = QStringLiteral("The SPL stylesheet is not available: ") + stylesheet.problem;
        rendered.stylesheetMissing = true;
        return rendered;
    }
    const QString folder = QFileInfo(stylesheet.localPath).absolutePath();
    rendered.stylesheetFolder = folder;
    const xml::XsltParameters parameters = {
        {QStringLiteral("css"), QUrl::fromLocalFile(folder + QStringLiteral("/spl.css")).toString()},
        {QStringLiteral("resourcesdir"), folderUrl(folder)}};
    const LabelWithMarkedLinks label = withMarkedLinks(spl);
    const PreviewTransformRun run = runPreviewTransform(stylesheet.localPath, parameters, label.bytes);
    rendered.html = run.html;
    rendered.labelHrefs = label.hrefs;
    rendered.problem = run.problem;
    rendered.stopped = run.stopped;
    return rendered;
}

} // namespace veldra
