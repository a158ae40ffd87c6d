#include "FuzzTargets.h"

#include "platform/core/VbError.h"
#include "platform/xml/tree/Document.h"
#include "harness/FuzzCheck.h"

namespace veldra::fuzz {

namespace {

const xml::Document& queried()
{
    static const xml::Document doc = [] {
        xml::Document d;
        require(d.loadXml(QStringLiteral("<?xml version=\"1.0\"?><SPLR4 xmlns:x=\"urn:x\"><Products><Product a=\"1\">"
                                         "<Name>A</Name><x:code code=\"c\"/></Product><Product><Name>B</Name></Product>"
                                         "<!-- note --><?pi data?></Products><document xmlns=\"urn:hl7-org:v3\">"
                                         "<section ID=\"s\"><text>t</text></section></document></SPLR4>")),
                "the queried document loads");
        d.setSelectionNamespaces({{QStringLiteral("x"), QStringLiteral("urn:x")}});
        return d;
    }();
    return doc;
}

} // namespace

void xmlQuery(const QByteArray& input)
{
    const QString query = QString::fromUtf8(input);
    try {
        queried().selectNodes(query);
    } catch (const VbError& error) {
        require(error.description().contains(query) || query.trimmed().isEmpty() || error.number() != err::XmlQuery,
                "a refused query is quoted as written");
    }
}

} // namespace veldra::fuzz
