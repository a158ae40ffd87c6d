#include "generation/building/DocumentCleaning.h"

#include "app/log/Log.h"
#include "generation/building/BuildIndex.h"
#include "generation/building/PathSteps.h"
#include "generation/building/TransformItems.h"
#include "platform/core/VbError.h"
#include "platform/core/VbString.h"
#include "platform/xml/query/QueryLiteral.h"
#include "platform/xml/tree/Cursor.h"
#include "platform/xml/tree/Document.h"
#include "platform/xml/tree/Lookup.h"
#include "platform/xml/tree/RemovalBatch.h"

#include <QByteArrayView>
#include <QHash>
#include <QSet>
#include <optional>
#include <utility>
#include <vector>

namespace veldra {

namespace {

const QString source = QStringLiteral("CleanTargetDocument");

// Whether the node, if an element, or an element below it carries the mark.
bool anyMarked(const xml::Cursor& node)
{
    bool marked = false;
    forEachElement(node, [&marked](const xml::Cursor& element) {
        marked = !markOf(element).isNull();
        return !marked;
    });
    return marked;
}

bool holdsMark(const xml::Cursor& node)
{
    return (node.isElement() || node.isDocument()) && anyMarked(node);
}

// Takes out what the pass finds unfilled. On the reference road each node goes through the
// DOM's removeChild and each question whether a node is filled walks its subtree. On the fast
// road nodes are unlinked and freed together when the pass ends, and answers are kept: the
// pass only takes out subtrees that hold no mark, so a node that stays in the document keeps
// its answer.
class Remover {
public:
    explicit Remover(bool direct)
    {
        if (direct)
            batch_.emplace();
    }

    void remove(const xml::Cursor& node)
    {
        ++attempts_;
        const xml::NodeType type = node.type();
        const xml::Cursor parent = node.parent();
        if (batch_)
            removals_.push_back(Removal{node, node.depth(), parent});
        if (batch_ && type != xml::NodeType::DocumentType && type != xml::NodeType::Attribute && parent)
            batch_->remove(node);
        else
            parent.node().removeChild(node.node());
    }

    // Whether the node (in the document) or one below it carries the mark.
    bool filled(const xml::Cursor& node)
    {
        if (!batch_)
            return holdsMark(node);
        if (markOf(node))
            return true;
        const auto known = filled_.constFind(node);
        if (known != filled_.cend())
            return *known;
        const bool answer = holdsMark(node);
        filled_.insert(node, answer);
        return answer;
    }

    // Whether the pass may skip a value target: one that repeats the previous value's target,
    // whose turn tried to take nothing out, finds the same nodes in the same document and
    // again takes nothing out. The reference road asks every target.
    bool repeatsIdleTarget(const QString& query)
    {
        const bool idle = batch_ && query == lastQuery_ && attempts_ == attemptsBefore_;
        lastQuery_ = query;
        attemptsBefore_ = attempts_;
        return idle;
    }

    bool direct() const { return batch_.has_value(); }

    // The nodes taken out since the last call, on the fast road.
    std::vector<Removal> takeRemovals() { return std::exchange(removals_, {}); }

private:
    std::optional<xml::RemovalBatch> batch_;
    QHash<xml::Cursor, bool> filled_;  // entries kept in blocks, not one allocation each
    std::vector<Removal> removals_;
    long attempts_ = 0;
    long attemptsBefore_ = -1;
    QString lastQuery_;
};

struct ValueContext {
    xml::Node entry;
    xml::Node value;
    QString sourcePath;
    QString targetPath;
};

void reportFailedRemoval(const VbError& e, const ValueContext& context, const xml::Cursor& node)
{
    WriteLog(log_category::Error, e.source() + QLatin1Char(' ') + QString::number(e.number()) + QLatin1Char(' ') + e.description());
    WriteLog(log_category::Error, QStringLiteral("Error in Cleaning Operation"));
    WriteLog(log_category::Error, context.entry.nodeName() + QStringLiteral(": ") + optionalItemText(context.entry, QStringLiteral("Name")));
    WriteLog(log_category::Error, QStringLiteral("Source Node: ") + context.sourcePath);
    WriteLog(log_category::Error, QStringLiteral("Target Node: ") + context.targetPath);
    WriteLog(log_category::Error, QStringLiteral("Source Value: ") + optionalItemText(context.value, QStringLiteral("Source")));
    WriteLog(log_category::Error, QStringLiteral("Target Value: ") + optionalItemText(context.value, QStringLiteral("Target")));
    WriteLog(log_category::Error, QStringLiteral("TestNode: ") + node.node().xml());
}

// Removes the node and then each ancestor that holds nothing filled, up to the first that
// does. A node already taken out of the document is left alone.
void removeUnfilledChain(const xml::Cursor& start, const ValueContext& context, Remover& remover)
{
    // A node taken out earlier in the pass (or inside a subtree taken out) is no longer in it.
    if (!start.isInDocument())
        return;
    xml::Cursor current = start;
    while (!current.isDocument() && !remover.filled(current)) {
        const xml::Cursor parent = current.parent();
        try {
            remover.remove(current);
        } catch (const std::exception& e) {
            reportFailedRemoval(toVbError(e, source), context, current);
        }
        current = parent;
    }
}

void cleanEntryTargets(const std::vector<xml::Cursor>& nodes, Remover& remover)
{
    for (const xml::Cursor& node : nodes) {
        const xml::Cursor parent = node.parent();
        if (!parent || parent.isDocument() || !node.isInDocument())
            continue;
        if (!remover.filled(node))
            remover.remove(node);
    }
}

// What the targets of an entry's values stand below: each is this, "/" and the value's Target.
QString valuesPrefix(const QString& targetPath, const QString& filterSource, const QString& templateTarget,
                     bool hasTemplateTarget)
{
    if (!filterSource.isEmpty()) {
        QString unfiltered = targetPath;
        unfiltered.remove(QStringLiteral("=\"$FilterValue\""));
        return unfiltered + lastStep(templateTarget);
    }
    if (hasTemplateTarget)
        return targetPath + lastStep(templateTarget);
    return targetPath;
}

void cleanEntry(const xml::Node& entry, const QList<xml::Node>& values, const xml::Document& settings,
                const xml::Node& targetRoot, Remover& remover, const std::unordered_set<xml::Cursor>& cleanedCopies)
{
    const QString filterSource = optionalItemText(entry, QStringLiteral("Definition/FilterSource"));
    const QString sourcePath = requiredItemText(entry, QStringLiteral("Definition/Source"), source);
    const QString targetPath = requiredItemText(entry, QStringLiteral("Definition/Target"), source);
    const xml::Node templateTargetItem = firstMatch(entry, QStringLiteral("Definition/TemplateTarget"));
    if (!filterSource.isEmpty() && templateTargetItem.isNull())
        requiredItem(entry, QStringLiteral("Definition/TemplateTarget"), source);

    QString entryQuery = targetPath;
    const xml::Node settingsNode = firstMatch(settings, sourcePath);
    if (!filterSource.isEmpty() && !settingsNode.isNull()) {
        const xml::Node filterNode = settingsNode.selectSingleNode(filterSource);
        if (filterNode.isNull())
            throw VbError(err::General, source,
                          QStringLiteral("The Definition/FilterSource %1 of '%2' selects nothing below %3.")
                              .arg(filterSource, entryLabel(entry), sourcePath));
        entryQuery = xml::withLiteral(targetPath, QStringLiteral("$FilterValue"), filterNode.text());
    }
    const QString templateTarget = xml::textOf(templateTargetItem);
    const QString prefix = valuesPrefix(targetPath, filterSource, templateTarget, !templateTargetItem.isNull());
    QStringList expectedTargets;  // read again, as required, on each value's turn
    for (const xml::Node& value : values)
        expectedTargets << optionalItemText(value, QStringLiteral("Target"));
    PrefixedPaths paths(targetRoot, prefix, expectedTargets, &cleanedCopies);
    // On the fast road the values' targets are looked for below the entry's own targets where
    // these are the prefix's matches, so one walk finds both.
    cleanEntryTargets(remover.direct() && entryQuery == prefix ? paths.prefixMatches(remover.takeRemovals())
                                                               : matchingNodes(targetRoot, entryQuery),
                      remover);

    for (const xml::Node& value : values) {
        const QString valueTarget = requiredItemText(value, QStringLiteral("Target"), source);
        const QString query = prefix + QLatin1Char('/') + valueTarget;
        if (remover.repeatsIdleTarget(query))
            continue;
        const std::vector<xml::Cursor> nodes = remover.direct() ? paths.matches(valueTarget, remover.takeRemovals())
                                                                : matchingNodes(targetRoot, query);
        const ValueContext context{entry, value, sourcePath, targetPath};
        for (const xml::Cursor& node : nodes)
            if (!node.parent().isDocument())
                removeUnfilledChain(node, context, remover);
    }
}

// Appends the clone identifier ("name Word2SPLID") of a settings element to `text`; appends
// nothing and answers false when it has no Word2SPLID.
bool appendCloneIdentifier(const xml::Cursor& element, QByteArray& text)
{
    if (!element.isElement()) {
        const xml::Node node = element.node();
        if (!node.hasAttribute(Word2SPLIDAttribute))
            return false;
        text.append((node.nodeName() + QLatin1Char(' ') + node.getAttribute(Word2SPLIDAttribute)).toUtf8());
        return true;
    }
    const xml::Cursor mark = markOf(element);
    if (!mark)
        return false;
    if (const char* prefix = element.prefix())
        text.append(prefix).append(':');
    text.append(element.localName()).append(' ').append(mark.textUtf8());
    return true;
}

// The clone identifiers of the settings elements that the cloning entries made copies for. A
// label of many products has tens of thousands: they are written one after the other into one
// block of text, and the set holds views of it, so that none costs an allocation of its own.
class CloneIdentifiers {
public:
    CloneIdentifiers(const xml::Document& settings, const xml::Document& transformation)
    {
        QStringList sources;
        for (const xml::Node& entry : allMatches(transformation, QStringLiteral("Word2SPLTransform/Transform"))) {
            const QString allowClone = firstMatch(entry, QStringLiteral("Definition/Target")).getAttribute(QStringLiteral("AllowClone"));
            if (!vbstr::isNumeric(allowClone) || allowClone.trimmed().toDouble() != 1.0)
                continue;
            const QString source = optionalItemText(entry, QStringLiteral("Definition/Source"));
            if (!source.isEmpty())
                sources << source;
        }
        std::vector<std::pair<qsizetype, qsizetype>> spans;  // where each stands in text_
        for (const std::vector<xml::Cursor>& elements : matchingNodesOfEach(settings, sources)) {
            for (const xml::Cursor& element : elements) {
                const qsizetype start = text_.size();
                if (appendCloneIdentifier(element, text_))
                    spans.emplace_back(start, text_.size() - start);
            }
        }
        // The views are taken once the text no longer grows.
        identifiers_.reserve(qsizetype(spans.size()));
        for (const auto& [start, length] : spans)
            identifiers_.insert(QByteArrayView(text_.constData() + start, length));
    }

    bool isEmpty() const { return identifiers_.isEmpty(); }

    // Whether the attribute's value is one of them.
    bool holds(const xml::Cursor& attribute) const { return identifiers_.contains(QByteArrayView(attribute.textUtf8())); }

private:
    QByteArray text_;
    QSet<QByteArrayView> identifiers_;
};

// True when the element or one below it received a value (any Word2SPLID but a bare clone
// identifier). Copies below `element` that received none are collected in `unfilled`.
bool collectUnfilledCopies(const xml::Cursor& element, const CloneIdentifiers& cloneIds,
                           std::vector<xml::Cursor>& unfilled)
{
    bool holdsValue = false;
    for (const xml::Cursor child : element.children())
        holdsValue = collectUnfilledCopies(child, cloneIds, unfilled) || holdsValue;
    const xml::Cursor mark = markOf(element);
    if (!mark)
        return holdsValue;
    if (!cloneIds.holds(mark))
        return true;
    if (!holdsValue)
        unfilled.push_back(element);
    return holdsValue;
}

// A copy of a template fragment made for a settings element that gave no value (a group the
// user left empty, or holding only the starting values that the transformation does not
// write) carries nothing but its clone identifier. It is no more filled than the template's
// own pattern, so it goes the same way, before the passes below take out what it leaves empty.
void removeUnfilledCopies(const xml::Document& settings, const xml::Document& transformation, const xml::Document& target,
                          Remover& remover)
{
    const CloneIdentifiers cloneIds(settings, transformation);
    const xml::Node root = target.documentElement();
    if (cloneIds.isEmpty() || root.isNull())
        return;
    std::vector<xml::Cursor> unfilled;
    collectUnfilledCopies(xml::Cursor(root), cloneIds, unfilled);
    for (const xml::Cursor& copy : unfilled)
        if (!copy.parent().isDocument())
            remover.remove(copy);
}

} // namespace

QStringList CleaningPaths(const xml::Node& entry)
{
    const QString targetPath = optionalItemText(entry, QStringLiteral("Definition/Target"));
    const xml::Node templateTargetItem = firstMatch(entry, QStringLiteral("Definition/TemplateTarget"));
    const QString prefix = valuesPrefix(targetPath, optionalItemText(entry, QStringLiteral("Definition/FilterSource")),
                                        xml::textOf(templateTargetItem), !templateTargetItem.isNull());
    QStringList paths{targetPath};
    for (const xml::Node& value : allMatches(entry, QStringLiteral("Value")))
        paths << prefix + QLatin1Char('/') + optionalItemText(value, QStringLiteral("Target"));
    return paths;
}

void CleanBelowCopy(const xml::Node& copy, const std::vector<const LocationPath*>& valueTargets)
{
    const xml::Cursor top(copy);
    xml::RemovalBatch removals;
    for (const LocationPath* valueTarget : valueTargets) {
        for (const xml::Cursor& start : valueTarget->matchingNodes(copy)) {
            if (!start.isInDocument())
                continue;
            for (xml::Cursor current = start; current != top && !holdsMark(current);) {
                const xml::Cursor parent = current.parent();
                removals.remove(current);
                current = parent;
            }
        }
    }
}

void SubtreeHasWord2SPLID(const xml::Node& node, bool& found)
{
    if (found || node.isNull())
        return;
    if (node.nodeType() != xml::NodeType::Element && node.nodeType() != xml::NodeType::Document)
        return;
    found = anyMarked(xml::Cursor(node));
}

void CleanTargetDocument(const xml::Document& settings, const xml::Document& transformation, const xml::Document& target,
                         const std::unordered_set<xml::Cursor>& cleanedCopies)
{
    WriteLog(logSeparator(), QString());
    WriteLog(log_category::Information, QStringLiteral("Start Document Cleaning"));
    Remover remover(indexedLookups());
    removeUnfilledCopies(settings, transformation, target, remover);
    const xml::NodeList entries =
        transformation.selectNodes(QStringLiteral("Word2SPLTransform/Transform | Word2SPLTransform/PostProcessing"));
    const xml::Node targetRoot = target.documentElement().parentNode();
    for (const xml::Node& entry : entries) {
        const QList<xml::Node> values = allMatches(entry, QStringLiteral("Value"));
        if (!values.isEmpty())
            cleanEntry(entry, values, settings, targetRoot, remover, cleanedCopies);
    }
}

} // namespace veldra
