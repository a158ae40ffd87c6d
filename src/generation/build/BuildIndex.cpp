#include "generation/build/BuildIndex.h"

#include "generation/build/TransformItems.h"
#include "platform/xml/NodeList.h"

#include <algorithm>
#include <libxml/xpath.h>

namespace veldra {

namespace {

const QList<xml::Node> noEntries;
bool indexing = true;

QString quoted(const QString& text)
{
    return QLatin1Char('\'') + text + QLatin1Char('\'');
}

QList<xml::Node> listOf(const xml::NodeList& nodes)
{
    QList<xml::Node> list;
    for (const xml::Node& node : nodes)
        list << node;
    return list;
}

bool precedes(const xml::Node& a, const xml::Node& b)
{
    // xmlXPathCmpNodes answers 1 when its first node comes first.
    return xmlXPathCmpNodes(a.raw(), b.raw()) == 1;
}

} // namespace

BuildIndex::BuildIndex(const xml::Document& transformation, const xml::Document& target)
    : transformation_(transformation), target_(target), targetRoot_(target.documentElement().parentNode())
{
    for (const xml::Node& entry : transformation.selectNodes(QStringLiteral("/Word2SPLTransform/Transform"))) {
        QList<QString> sources;
        for (const xml::Node& source : entry.selectNodes(QStringLiteral("Definition/Source")))
            if (!sources.contains(source.text()))
                sources << source.text();
        for (const QString& source : sources)
            entries_[source] << entry;
    }
}

QList<xml::Node> BuildIndex::entriesFor(const QString& path) const
{
    if (!indexing)
        return listOf(transformation_.selectNodes(QStringLiteral("/Word2SPLTransform/Transform[Definition/Source=")
                                                  + quoted(path) + QLatin1Char(']')));
    const auto found = entries_.constFind(path);
    return found == entries_.cend() ? noEntries : *found;
}

const PreparedEntry* BuildIndex::prepared(const xml::Node& entry)
{
    if (!indexing)
        return nullptr;
    if (const auto known = preparedEntries_.find(entry.raw()); known != preparedEntries_.end())
        return &known->second;
    const xml::Node name = firstMatch(entry, QStringLiteral("Name"));
    const xml::Node targetItem = firstMatch(entry, QStringLiteral("Definition/Target"));
    if (name.isNull() || targetItem.isNull())
        return nullptr;
    PreparedEntry prepared{name.text(), targetItem, LocationPath(targetItem.text()), allMatches(entry, QStringLiteral("Value"))};
    return &preparedEntries_.emplace(entry.raw(), std::move(prepared)).first->second;
}

// A value belongs to one entry, so the path below the entry's target is made once.
const PreparedValue* BuildIndex::prepared(const xml::Node& value, const QString& entryTargetPath)
{
    if (!indexing)
        return nullptr;
    if (const auto known = preparedValues_.find(value.raw()); known != preparedValues_.end())
        return &known->second;
    const xml::Node sourceItem = firstMatch(value, QStringLiteral("Source"));
    const xml::Node targetItem = firstMatch(value, QStringLiteral("Target"));
    if (sourceItem.isNull() || targetItem.isNull())
        return nullptr;
    const QString target = targetItem.text();
    PreparedValue prepared{sourceItem, targetItem, LocationPath(sourceItem.text()), LocationPath(target),
                           LocationPath(entryTargetPath + QLatin1Char('/') + target)};
    return &preparedValues_.emplace(value.raw(), std::move(prepared)).first->second;
}

void BuildIndex::mark(const xml::Node& element, const QString& identifier)
{
    element.setAttribute(Word2SPLIDAttribute, identifier);
    QList<xml::Node>& nodes = marks_[identifier];
    if (!nodes.contains(element))
        nodes << element;
}

QList<xml::Node> BuildIndex::marked(const QString& identifier) const
{
    if (!indexing)
        return listOf(target_.selectNodes(QStringLiteral("//*[@Word2SPLID=") + quoted(identifier) + QLatin1Char(']')));
    QList<xml::Node> current;
    for (const xml::Node& node : marks_.value(identifier))
        if (node.getAttribute(Word2SPLIDAttribute) == identifier && inTarget(node))
            current << node;
    std::sort(current.begin(), current.end(), precedes);
    return current;
}

bool BuildIndex::inTarget(const xml::Node& node) const
{
    xml::Node above = node.parentNode();
    while (!above.isNull() && above != targetRoot_)
        above = above.parentNode();
    return !above.isNull();
}

bool indexedLookups()
{
    return indexing;
}

void setIndexedLookups(bool enabled)
{
    indexing = enabled;
}

xml::Node firstInDocumentOrder(const QList<xml::Node>& nodes)
{
    if (nodes.isEmpty())
        return {};
    return *std::min_element(nodes.cbegin(), nodes.cend(), precedes);
}

} // namespace veldra
