#include "splbuilder/SplNodes.h"

namespace veldra::spl {

namespace {

VbError missing(const QString& what)
{
    return VbError(err::XmlNode, errorSource, QStringLiteral("element not found: ") + what);
}

} // namespace

xml::Node requiredNode(const xml::Node& from, const QString& path)
{
    const xml::Node node = from.selectSingleNode(path);
    if (node.isNull())
        throw missing(path);
    return node;
}

xml::Node requiredNode(const xml::Document& document, const QString& path)
{
    const xml::Node node = document.selectSingleNode(path);
    if (node.isNull())
        throw missing(path);
    return node;
}

void setExistingAttribute(const xml::Node& element, const QString& name, const QString& value)
{
    if (!element.hasAttribute(name))
        throw VbError(err::XmlNode, errorSource,
                      QStringLiteral("attribute not found: ") + element.nodeName() + QStringLiteral("/@") + name);
    element.setAttribute(name, value);
}

QString spacedErrorText(const VbError& error)
{
    return error.source() + QLatin1Char(' ') + QString::number(error.number()) + QLatin1Char(' ') + error.description();
}

xml::Node childElement(const xml::Node& parent, const QString& name)
{
    for (xml::Node child = parent.firstChild(); child; child = child.nextSibling())
        if (child.nodeType() == xml::NodeType::Element && child.localName() == name)
            return child;
    return {};
}

} // namespace veldra::spl
