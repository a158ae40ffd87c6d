#include "support/XmlDocument.h"

#include "platform/xml/tree/NodeList.h"

#include <QStringList>

namespace veldra::test {

namespace {

// A form of the subtree in which only what the comparison counts shows.
QString canonical(const xml::Node& node)
{
    switch (node.nodeType()) {
    case xml::NodeType::Element: {
        QStringList attributes;
        for (const xml::Node& attribute : node.attributes())
            if (attribute.prefix() != QLatin1String("xmlns") && attribute.nodeName() != QLatin1String("xmlns"))
                attributes << QStringLiteral(" {%1}%2=\"%3\"").arg(attribute.namespaceURI(), attribute.nodeName(),
                                                                     attribute.text());
        attributes.sort();
        QString children;
        for (const xml::Node& child : node.childNodes())
            children += canonical(child);
        return QStringLiteral("<{%1}%2%3>%4</>").arg(node.namespaceURI(), node.nodeName(), attributes.join(QString()),
                                                    children);
    }
    case xml::NodeType::Text:
        return QStringLiteral("[%1]").arg(node.text());
    default:
        return QStringLiteral("<%1 %2 %3>").arg(int(node.nodeType())).arg(node.nodeName(), node.text());
    }
}

} // namespace

xml::Document documentFrom(const QString& text)
{
    xml::Document document;
    EXPECT_TRUE(document.loadXml(text)) << document.parseError().reason.toStdString();
    return document;
}

::testing::AssertionResult subtreeMatches(const char* nodeExpression, const char* /*expectedExpression*/,
                                          const xml::Node& node, const QString& expected)
{
    if (node.isNull())
        return ::testing::AssertionFailure() << nodeExpression << " is a null node";
    const xml::Document wanted = documentFrom(expected);
    if (!wanted.documentElement().isNull() && canonical(node) == canonical(wanted.documentElement()))
        return ::testing::AssertionSuccess();
    return ::testing::AssertionFailure() << "the subtree of " << nodeExpression
                                         << "\n  is:       " << node.xml().toStdString()
                                         << "\n  expected: " << expected.toStdString();
}

} // namespace veldra::test
