#include "generation/preview/StylesheetRewrite.h"

#include "platform/core/AppPaths.h"
#include "platform/core/VbError.h"
#include "platform/xml/tree/Document.h"

namespace veldra {

QString OnlineStylesheetAddress()
{
    return QStringLiteral("http://www.accessdata.fda.gov/spl/stylesheet/spl.xsl");
}

QString LocalStylesheetPath()
{
    return app_paths::inProgram(QStringLiteral("Preview/spl-stylesheet-6.2/spl.xsl"));
}

xml::Document RewriteStylesheetReference(const xml::Document& spl)
{
    QString text = spl.xml();
    text.replace(OnlineStylesheetAddress(), LocalStylesheetPath());
    xml::Document rewritten;
    if (!rewritten.loadXml(text))
        throw VbError(rewritten.parseError().errorCode, QStringLiteral("RewriteStylesheetReference"),
                      rewritten.parseError().reason);
    return rewritten;
}

} // namespace veldra
