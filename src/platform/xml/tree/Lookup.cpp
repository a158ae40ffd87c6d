#include "platform/xml/tree/Lookup.h"

#include "platform/core/VbError.h"

namespace veldra::xml {

QString textOf(const Node& node, const QString& fallback)
{
    return node ? node.text() : fallback;
}

QString textAt(const Node& from, const QString& path, const QString& fallback)
{
    return textOf(from.selectSingleNode(path), fallback);
}

QString textAt(const Document& document, const QString& path, const QString& fallback)
{
    return textAt(document.asNode(), path, fallback);
}

Node requiredAt(const Node& from, const QString& path, const QString& source, const QString& description)
{
    Node found = from.selectSingleNode(path);
    if (!found)
        throw VbError(err::XmlNode, source, description.arg(path));
    return found;
}

Node requiredAt(const Document& document, const QString& path, const QString& source, const QString& description)
{
    return requiredAt(document.asNode(), path, source, description);
}

} // namespace veldra::xml
