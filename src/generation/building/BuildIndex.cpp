#include "generation/building/BuildIndex.h"

#include "generation/building/NodeTests.h"
#include "generation/building/TransformItems.h"
#include "platform/core/VbString.h"
#include "platform/xml/query/QueryLiteral.h"
#include "platform/xml/query/QueryTranslator.h"
#include "platform/xml/tree/Lookup.h"
#include "platform/xml/tree/NodeList.h"

#include <QRegularExpression>

#include <algorithm>

namespace veldra {

namespace {

const QList<xml::Node> noEntries;
bool indexing = true;

QList<xml::Node> listOf(const xml::NodeList& nodes)
{
    QList<xml::Node> list;
    for (const xml::Node& node : nodes)
        list << node;
    return list;
}

bool precedes(const xml::Node& a, const xml::Node& b)
{
    return xml::Cursor(a).precedes(xml::Cursor(b));
}

bool isPlainName(const QString& name)
{
    static const QRegularExpression plain(QStringLiteral("^[A-Za-z_][A-Za-z0-9_.-]*$"));
    return !name.isNull() && name != QLatin1String("xmlns") && plain.match(name).hasMatch();
}

bool answeredWithoutFailure(const QString& path)
{
    static const QRegularExpression plain([] {
        const QString name = QStringLiteral("[A-Za-z_][A-Za-z0-9_]*");
        const QString relative = QStringLiteral("(?:%1/)*@?%1").arg(name);
        const QString condition = QStringLiteral("\\[(?:\\d{1,6}|%1(?:\\s*!?=\\s*'[^']*')?)\\]").arg(relative);
        const QString step = QStringLiteral("(?:%1(?:%2)*|\\.)").arg(name, condition);
        return QStringLiteral("^%1(?:/%1)*$").arg(step);
    }());
    if (!plain.match(path).hasMatch())
        return false;
    try {
        xml::QueryTranslator::toXPath(path);  // the dialect's own reading has the last word
        return true;
    } catch (const std::exception&) {
        return false;
    }
}

// Every build asks it of the same few hundred paths.
bool lookupCannotFail(const QString& path)
{
    thread_local QHash<QString, bool> known;
    if (const auto found = known.constFind(path); found != known.cend())
        return *found;
    if (known.size() > 4096)
        known.clear();
    return *known.insert(path, answeredWithoutFailure(path));
}

// PreparedEntry::clones. A number never fails numberTextIsOne, so it names no source.
std::optional<bool> clonesAsRead(const QString& allowClone)
{
    if (allowClone.isNull())
        return false;
    if (!vbstr::isNumeric(allowClone))
        return std::nullopt;
    return numberTextIsOne(allowClone, QString());
}

// Sets the mark straight from the UTF-8 identity. What setAttribute would refuse or change
// (no element, a carriage return to store as a line feed) goes through it.
void setMark(const xml::Node& element, const QByteArray& identifier)
{
    element.setAttributeUtf8(word2SPLIDName, identifier);
}

} // namespace

BuildIndex::BuildIndex(const xml::Document& transformation, const xml::Document& target, const xml::Node& settings)
    : transformation_(transformation), target_(target), targetRoot_(target.documentElement().parentNode())
{
    for (const xml::Node& entry : transformation.selectNodes(QStringLiteral("/Word2SPLTransform/Transform"))) {
        QList<QString> sources;
        for (const xml::Node& source : entry.selectNodes(QStringLiteral("Definition/Source")))
            if (!sources.contains(source.text()))
                sources << source.text();
        for (const QString& source : sources) {
            entries_[source] << entry;
            for (const QString& step : source.split(QLatin1Char('/')))
                lookedUpNames_.insert(step.toStdString());
        }
    }
    for (xml::Node element = settings; !element.isNull() && element.nodeType() == xml::NodeType::Element;
         element = element.parentNode())
        lookedUpNames_.insert(element.nodeName().toStdString());
}

QList<xml::Node> BuildIndex::entriesFor(const QString& path) const
{
    if (!indexing)
        return listOf(transformation_.selectNodes(QStringLiteral("/Word2SPLTransform/Transform[Definition/Source=")
                                                  + xml::queryLiteral(path) + QLatin1Char(']')));
    const auto found = entries_.constFind(path);
    return found == entries_.cend() ? noEntries : *found;
}

const PreparedEntry* BuildIndex::prepared(const xml::Node& entry)
{
    if (!indexing)
        return nullptr;
    if (const auto known = preparedEntries_.find(xml::Cursor(entry)); known != preparedEntries_.end())
        return &known->second;
    const xml::Node name = firstMatch(entry, QStringLiteral("Name"));
    const xml::Node targetItem = firstMatch(entry, QStringLiteral("Definition/Target"));
    if (name.isNull() || targetItem.isNull())
        return nullptr;
    const xml::Node parentNodeItem = firstMatch(entry, QStringLiteral("Definition/ParentNode"));
    const QList<xml::Node> values = allMatches(entry, QStringLiteral("Value"));
    std::vector<const PreparedValue*> preparedValues;
    for (const xml::Node& value : values)
        preparedValues.push_back(prepared(value, targetItem.text()));
    const QString allowClone = targetItem.getAttribute(QStringLiteral("AllowClone"));
    PreparedEntry prepared{name.text(),
                           targetItem,
                           LocationPath(targetItem.text()),
                           values,
                           std::move(preparedValues),
                           allowClone,
                           clonesAsRead(allowClone),
                           targetItem.getAttribute(QStringLiteral("DirectCopy")),
                           parentNodeItem,
                           xml::textOf(parentNodeItem)};
    return &preparedEntries_.emplace(xml::Cursor(entry), std::move(prepared)).first->second;
}

// A value belongs to one entry, so the path below the entry's target is made once.
const PreparedValue* BuildIndex::prepared(const xml::Node& value, const QString& entryTargetPath)
{
    if (!indexing)
        return nullptr;
    if (const auto known = preparedValues_.find(xml::Cursor(value)); known != preparedValues_.end())
        return &known->second;
    const xml::Node sourceItem = firstMatch(value, QStringLiteral("Source"));
    const xml::Node targetItem = firstMatch(value, QStringLiteral("Target"));
    if (sourceItem.isNull() || targetItem.isNull())
        return nullptr;
    const QString target = targetItem.text();
    const QString belowEntry = entryTargetPath + QLatin1Char('/') + target;
    const QString attribute = targetItem.getAttribute(QStringLiteral("Attribute"));
    const QString prefix = GetPrefixPostfix(targetItem, true);
    const QString postfix = GetPrefixPostfix(targetItem, false);
    PreparedValue prepared{sourceItem,
                           targetItem,
                           LocationPath(sourceItem.text()),
                           LocationPath(target),
                           LocationPath(belowEntry),
                           sourceItem.getAttribute(QStringLiteral("DirectCopy")),
                           attribute,
                           isPlainName(attribute) ? attribute.toUtf8() : QByteArray(),
                           prefix,
                           postfix,
                           prefix.toUtf8(),
                           postfix.toUtf8(),
                           lookupCannotFail(target) && lookupCannotFail(belowEntry)};
    return &preparedValues_.emplace(xml::Cursor(value), std::move(prepared)).first->second;
}

void BuildIndex::mark(const xml::Node& element, const QByteArray& identifier)
{
    if (!indexing) {
        element.setAttribute(Word2SPLIDAttribute, QString::fromUtf8(identifier));
        return;
    }
    setMark(element, identifier);
    if (!lookedUp(identifier))
        return;
    QVarLengthArray<xml::Node, 1>& nodes = marks_[hashOf(identifier)];
    if (std::find(nodes.cbegin(), nodes.cend(), element) == nodes.cend())
        nodes.push_back(element);
}

QList<xml::Node> BuildIndex::marked(const QByteArray& identifier) const
{
    if (!indexing)
        return listOf(target_.selectNodes(QStringLiteral("//*[@Word2SPLID=") + xml::queryLiteral(QString::fromUtf8(identifier))
                                          + QLatin1Char(']')));
    QList<xml::Node> current;
    const auto found = marks_.constFind(hashOf(identifier));
    if (found == marks_.cend())
        return current;
    for (const xml::Node& node : *found)
        if (bears(node, identifier) && inTarget(xml::Cursor(node)))
            current << node;
    std::sort(current.begin(), current.end(), precedes);
    return current;
}

xml::Node BuildIndex::pattern(const xml::Document& templateDoc, const QString& path)
{
    if (!indexing)
        return firstMatch(templateDoc, path);
    if (const auto known = patterns_.constFind(path); known != patterns_.cend())
        return *known;
    return *patterns_.insert(path, firstMatch(templateDoc, path));
}

size_t BuildIndex::hashOf(const QByteArray& identifier)
{
    return TextHash()(std::string_view(identifier.constData(), size_t(identifier.size())));
}

// The identity's name part ("Product" of "Product 1234") is one marks are looked up for.
bool BuildIndex::lookedUp(const QByteArray& identifier) const
{
    const qsizetype space = identifier.indexOf(' ');
    return space < 0 || lookedUpNames_.count(std::string_view(identifier.constData(), size_t(space))) > 0;
}

// Marked nodes are elements: setMark refuses anything else.
bool BuildIndex::bears(const xml::Node& node, const QByteArray& identifier) const
{
    const xml::Cursor mark = markOf(xml::Cursor(node));
    return mark && mark.textUtf8() == identifier;
}

bool BuildIndex::inTarget(const xml::Cursor& node) const
{
    const xml::Cursor root(targetRoot_);
    for (xml::Cursor above = node.parent(); above; above = above.parent())
        if (above == root)
            return true;
    return false;
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
