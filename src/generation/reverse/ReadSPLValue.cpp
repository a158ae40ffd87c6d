#include "generation/reverse/ReadSPLValue.h"

#include "app/log/Log.h"
#include "platform/xml/tree/NodeList.h"

#include <QStringList>

namespace veldra {

namespace {

// The text that a mapping's build writes around the value; empty when it writes none.
struct Affixes {
    QString prefix;
    QString postfix;

    explicit Affixes(const xml::Node& target)
        : prefix(target.getAttribute(QStringLiteral("Prefix"))), postfix(target.getAttribute(QStringLiteral("PostFix")))
    {
    }
    bool isEmpty() const { return prefix.isEmpty() && postfix.isEmpty(); }
    bool carriedBy(const QString& value) const
    {
        return value.size() >= prefix.size() + postfix.size() && value.startsWith(prefix) && value.endsWith(postfix);
    }
    QString strippedFrom(const QString& value) const
    {
        return value.mid(prefix.size(), value.size() - prefix.size() - postfix.size());
    }
};

QString valueOrText(const xml::Node& splNode, const QString& attribute)
{
    return attribute.isNull() ? splNode.text() : splNode.getAttribute(attribute);
}

SPLValue joinedValue(const xml::NodeList& nodes, const QString& attribute, const QString& join)
{
    QStringList values;
    for (const xml::Node& node : nodes)
        values << valueOrText(node, attribute);
    return {nodes.item(0), values.join(join)};
}

SPLValue affixedValue(const xml::NodeList& nodes, const QString& attribute, const Affixes& affixes)
{
    for (const xml::Node& node : nodes) {
        const QString value = valueOrText(node, attribute);
        if (affixes.carriedBy(value))
            return {node, affixes.strippedFrom(value)};
    }
    return {};
}

SPLValue firstValue(const xml::Node& node, const QString& attribute, const QString& source)
{
    if (node.isNull())
        return {};
    if (!attribute.isNull() && !node.hasAttribute(attribute)) {
        WriteLog(log_category::Warning, QStringLiteral("No data available in SPL file for ") + source);
        return {node, QString()};
    }
    return {node, valueOrText(node, attribute)};
}

} // namespace

SPLValue readSPLValue(const xml::Node& group, const xml::Node& target, const QString& source)
{
    const QString query = target.text();
    const QString attribute = target.getAttribute(QStringLiteral("Attribute"));
    const QString join = target.getAttribute(QStringLiteral("Join"));
    if (!join.isNull())
        return joinedValue(group.selectNodes(query), attribute, join);
    const Affixes affixes(target);
    if (!affixes.isEmpty())
        return affixedValue(group.selectNodes(query), attribute, affixes);
    return firstValue(group.selectSingleNode(query), attribute, source);
}

} // namespace veldra
