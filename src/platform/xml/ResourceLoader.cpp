#include "platform/xml/ResourceLoader.h"

#include "platform/xml/ResourceAddress.h"
#include "platform/xml/ResourceResolver.h"

#include <QFile>
#include <QUrl>
#include <libexslt/exslt.h>
#include <libxml/parser.h>
#include <libxml/parserInternals.h>
#include <libxml/xmlerror.h>
#include <libxslt/security.h>
#include <libxslt/xslt.h>
#include <mutex>

namespace veldra::xml {

namespace {

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
    const QByteArray localPath = QFile::encodeName(path);
    return xmlNewInputFromFile(context, localPath.constData());
}

// libxslt asks before reading a network address; only the mapped ones may go on to the loader.
int allowMappedNetworkReads(xsltSecurityPrefsPtr, xsltTransformContextPtr, const char* value)
{
    return value && mapAddress(QString::fromUtf8(value)) ? 1 : 0;
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
    xsltSetDefaultSecurityPrefs(prefs);
}

} // namespace

void installResourceLoader()
{
    static std::once_flag once;
    std::call_once(once, installOnce);
}

} // namespace veldra::xml
