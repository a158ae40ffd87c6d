#include "app/SharedProcedures.h"

#include "app/Log.h"
#include "platform/xml/Document.h"

namespace veldra {

xml::Node ParseXMLFragment(QString& xml, bool addBreaks)
{
    if (addBreaks)
        xml.replace(QLatin1String(">"), QLatin1String(">\r\n"));
    xml.prepend(QStringLiteral("<?xml version=\"1.0\" encoding=\"UTF-8\"?>\r\n"));

    xml::Document fragment;
    if (!fragment.loadXml(xml)) {
        // One log line per failure: the parser's reason without its line breaks.
        QString reason = fragment.parseError().reason;
        reason.remove(QLatin1Char('\r'));
        reason.remove(QLatin1Char('\n'));
        WriteLog(QStringLiteral("Error"), QString(10, QLatin1Char(' ')) + QStringLiteral("MSXML: ") + reason, false);
        return {};
    }
    // The first top-level node is the XML declaration; the node handle keeps the
    // fragment's document alive until the caller has put the node where it belongs.
    const xml::Node declaration = fragment.firstChild();
    return declaration ? declaration.nextSibling() : xml::Node();
}

} // namespace veldra
