#include "platform/xml/resources/ResourceLoader.h"

#include "platform/xml/resources/ResourceAddress.h"
#include "platform/xml/resources/ResourceResolver.h"

#include <QFile>
#include <QFileInfo>
#include <QUrl>
#include <libexslt/exslt.h>
#include <libxml/parser.h>
#include <libxml/parserInternals.h>
#include <libxml/xmlerror.h>
#include <libxslt/security.h>
#include <libxslt/xslt.h>
#include <libxslt/xsltInternals.h>
#include <mutex>

namespace veldra::xml {

namespace {

// The folder that loads on this thread are confined to; "" when they are not.
thread_local QString confinedFolder;

bool inside(const QString& path, const QString& folder)
{
    const QString file = QFileInfo(path).canonicalFilePath();
    return !file.isEmpty() && file.startsWith(folder + QLatin1Char('/'));
}

xmlParserInputPtr loadThroughResolver(const char* url, const char* /*publicId*/, xmlParserCtxtPtr context)
{
    if (!url)
        return nullptr;
    const QString reference = QString::fromUtf8(url);
    QString problem;
    QString path = localFileFor(reference, &problem);
    // Relative references arrive resolved against the including file, sometimes percent-encoded.
    if (path.isEmpty() && !isNetworkAddress(reference))
        path = localFileFor(QUrl::fromPercentEncoding(url), nullptr);
    if (path.isEmpty()) {
        const QByteArray message = problem.toUtf8();
        xmlGenericError(xmlGenericErrorContext, "%s\n", message.constData());
        return nullptr;
    }
    if (!confinedFolder.isEmpty() && !inside(path, confinedFolder)) {
        const QByteArray message = QStringLiteral("Loading %1 refused: it lies outside %2.").arg(path, confinedFolder).toUtf8();
        xmlGenericError(xmlGenericErrorContext, "%s\n", message.constData());
        return nullptr;
    }
    const QByteArray localPath = QFile::encodeName(path);
    return xmlNewInputFromFile(context, localPath.constData());
}

// The folder that holds the stylesheet a transformation runs (resolved through links); "" when
// it cannot be told.
QString stylesheetFolderOf(xsltTransformContextPtr context)
{
    if (!context || !context->style || !context->style->doc || !context->style->doc->URL)
        return {};
    const QString address = QString::fromUtf8(reinterpret_cast<const char*>(context->style->doc->URL));
    const QString path = address.startsWith(QLatin1String("file:")) ? QUrl(address).toLocalFile() : address;
    return QFileInfo(path).canonicalPath();
}

bool besideTheStylesheet(xsltTransformContextPtr context, const QString& path)
{
    const QString folder = stylesheetFolderOf(context);
    return !folder.isEmpty() && inside(path, folder);
}

// libxslt asks before every read. While a stylesheet compiles (no transformation yet) it reads
// its own imports and includes. A running transformation (document()) reads only files of its
// stylesheet's own folder, so a stylesheet cannot put other local files into its output.
int readOnlyBesideTheStylesheet(xsltSecurityPrefsPtr, xsltTransformContextPtr context, const char* value)
{
    if (!value)
        return 0;
    return !context || besideTheStylesheet(context, QString::fromUtf8(value)) ? 1 : 0;
}

// Network addresses: only the mapped ones may go on to the loader, which reads their local
// copies; a running transformation again only those beside its stylesheet.
int allowMappedNetworkReads(xsltSecurityPrefsPtr, xsltTransformContextPtr context, const char* value)
{
    const std::optional<MappedAddress> mapped = value ? mapAddress(QString::fromUtf8(value)) : std::nullopt;
    if (!mapped)
        return 0;
    return !context || besideTheStylesheet(context, localCopy(*mapped)) ? 1 : 0;
}

void installOnce()
{
    xmlInitParser();
    xmlSetExternalEntityLoader(loadThroughResolver);

    exsltRegisterAll();
    xsltSecurityPrefsPtr prefs = xsltNewSecurityPrefs();
    xsltSetSecurityPrefs(prefs, XSLT_SECPREF_WRITE_FILE, xsltSecurityForbid);
    xsltSetSecurityPrefs(prefs, XSLT_SECPREF_CREATE_DIRECTORY, xsltSecurityForbid);
    xsltSetSecurityPrefs(prefs, XSLT_SECPREF_WRITE_NETWORK, xsltSecurityForbid);
    xsltSetSecurityPrefs(prefs, XSLT_SECPREF_READ_NETWORK, allowMappedNetworkReads);
    xsltSetSecurityPrefs(prefs, XSLT_SECPREF_READ_FILE, readOnlyBesideTheStylesheet);
    xsltSetDefaultSecurityPrefs(prefs);
}

} // namespace

LoadsConfinedTo::LoadsConfinedTo(const QString& folder) : previous_(confinedFolder)
{
    confinedFolder = QFileInfo(folder).canonicalFilePath();
}

LoadsConfinedTo::~LoadsConfinedTo()
{
    confinedFolder = previous_;
}

void installResourceLoader()
{
    static std::once_flag once;
    std::call_once(once, installOnce);
}

} // namespace veldra::xml
