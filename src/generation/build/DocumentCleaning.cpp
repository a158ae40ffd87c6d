#include "generation/build/DocumentCleaning.h"

#include "app/Log.h"
#include "generation/build/NodeTests.h"
#include "generation/build/PathSteps.h"
#include "generation/build/TransformItems.h"
#include "platform/core/VbError.h"
#include "platform/core/VbString.h"
#include "platform/xml/Document.h"

#include <QSet>
#include <vector>

namespace veldra {

namespace {

const QString source = QStringLiteral("CleanTargetDocument");

bool isDocumentNode(const xml::Node& node)
{
    return !node.isNull() && node.nodeType() == xml::NodeType::Document;
}

// Still part of the document: a node taken out earlier in the pass (or inside a subtree
// taken out) has no document node above it.
bool isInDocument(xml::Node node)
{
    while (!node.isNull()) {
        if (isDocumentNode(node))
            return true;
        node = node.parentNode();
    }
    return false;
}

bool filled(const xml::Node& node)
{
    bool found = false;
    SubtreeHasWord2SPLID(node, found);
    return found;
}

struct ValueContext {
    xml::Node entry;
    xml::Node value;
    QString sourcePath;
    QString targetPath;
};

void reportFailedRemoval(const VbError& e, const ValueContext& context, const xml::Node& node)
{
    const QString error = QStringLiteral("Error");
    WriteLog(error, e.source() + QLatin1Char(' ') + QString::number(e.number()) + QLatin1Char(' ') + e.description());
    WriteLog(error, QStringLiteral("Error in Cleaning Operation"));
    WriteLog(error, context.entry.nodeName() + QStringLiteral(": ") + optionalItemText(context.entry, QStringLiteral("Name")));
    WriteLog(error, QStringLiteral("Source Node: ") + context.sourcePath);
    WriteLog(error, QStringLiteral("Target Node: ") + context.targetPath);
    WriteLog(error, QStringLiteral("Source Value: ") + optionalItemText(context.value, QStringLiteral("Source")));
    WriteLog(error, QStringLiteral("Target Value: ") + optionalItemText(context.value, QStringLiteral("Target")));
    WriteLog(error, QStringLiteral("TestNode: ") + node.xml());
}

// Removes the node and then each ancestor that holds nothing filled, up to the first that
// does. A node already taken out of the document is left alone.
void removeUnfilledChain(const xml::Node& start, const ValueContext& context)
{
    if (!isInDocument(start))
        return;
    xml::Node current = start;
    while (!isDocumentNode(current) && !filled(current)) {
        const xml::Node parent = current.parentNode();
        try {
            parent.removeChild(current);
        } catch (const std::exception& e) {
            reportFailedRemoval(toVbError(e, source), context, current);
        }
        current = parent;
    }
}

void cleanEntryTargets(const QString& query, const xml::Node& targetRoot)
{
    for (const xml::Node& node : allMatches(targetRoot, query)) {
        const xml::Node parent = node.parentNode();
        if (parent.isNull() || isDocumentNode(parent) || !isInDocument(node))
            continue;
        if (!filled(node))
            parent.removeChild(node);
    }
}

QString valueQuery(const QString& targetPath, const QString& filterSource, const QString& templateTarget,
                   bool hasTemplateTarget, const QString& valueTarget)
{
    if (!filterSource.isEmpty()) {
        QString unfiltered = targetPath;
        unfiltered.remove(QStringLiteral("=\"$FilterValue\""));
        return unfiltered + lastStep(templateTarget) + QLatin1Char('/') + valueTarget;
    }
    if (hasTemplateTarget)
        return targetPath + lastStep(templateTarget) + QLatin1Char('/') + valueTarget;
    return targetPath + QLatin1Char('/') + valueTarget;
}

void cleanEntry(const xml::Node& entry, const QList<xml::Node>& values, const xml::Document& settings,
                const xml::Node& targetRoot)
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
        entryQuery.replace(QStringLiteral("$FilterValue"), filterNode.text());
    }
    cleanEntryTargets(entryQuery, targetRoot);

    const QString templateTarget = templateTargetItem.isNull() ? QString() : templateTargetItem.text();
    for (const xml::Node& value : values) {
        const QString valueTarget = requiredItemText(value, QStringLiteral("Target"), source);
        const QString query = valueQuery(targetPath, filterSource, templateTarget, !templateTargetItem.isNull(), valueTarget);
        const ValueContext context{entry, value, sourcePath, targetPath};
        for (const xml::Node& node : allMatches(targetRoot, query))
            if (!isDocumentNode(node.parentNode()))
                removeUnfilledChain(node, context);
    }
}

// The clone identifiers ("name Word2SPLID") of the settings elements that the cloning entries
// made copies for.
QSet<QString> cloneIdentifiers(const xml::Document& settings, const xml::Document& transformation)
{
    QSet<QString> identifiers;
    for (const xml::Node& entry : allMatches(transformation, QStringLiteral("Word2SPLTransform/Transform"))) {
        const QString allowClone = firstMatch(entry, QStringLiteral("Definition/Target")).getAttribute(QStringLiteral("AllowClone"));
        if (!vbstr::isNumeric(allowClone) || allowClone.trimmed().toDouble() != 1.0)
            continue;
        const QString source = optionalItemText(entry, QStringLiteral("Definition/Source"));
        if (source.isEmpty())
            continue;
        for (const xml::Node& element : allMatches(settings, source))
            if (element.hasAttribute(Word2SPLIDAttribute))
                identifiers.insert(element.nodeName() + QLatin1Char(' ') + element.getAttribute(Word2SPLIDAttribute));
    }
    return identifiers;
}

// True when the element or one below it received a value (any Word2SPLID but a bare clone
// identifier). Copies below `element` that received none are collected in `unfilled`.
bool collectUnfilledCopies(const xml::Node& element, const QSet<QString>& cloneIds, std::vector<xml::Node>& unfilled)
{
    bool holdsValue = false;
    for (xml::Node child = element.firstChild(); !child.isNull(); child = child.nextSibling())
        if (child.nodeType() == xml::NodeType::Element)
            holdsValue = collectUnfilledCopies(child, cloneIds, unfilled) || holdsValue;
    static const QByteArray markName = Word2SPLIDAttribute.toUtf8();
    if (!unprefixedAttribute(element.raw(), markName.constData()))
        return holdsValue;
    const QString mark = element.getAttribute(Word2SPLIDAttribute);
    if (!cloneIds.contains(mark))
        return true;
    if (!holdsValue)
        unfilled.push_back(element);
    return holdsValue;
}

// A copy of a template fragment made for a settings element that gave no value (a group the
// user left empty, or holding only the starting values that the transformation does not
// write) carries nothing but its clone identifier. It is no more filled than the template's
// own pattern, so it goes the same way, before the passes below take out what it leaves empty.
void removeUnfilledCopies(const xml::Document& settings, const xml::Document& transformation, const xml::Document& target)
{
    const QSet<QString> cloneIds = cloneIdentifiers(settings, transformation);
    const xml::Node root = target.documentElement();
    if (cloneIds.isEmpty() || root.isNull())
        return;
    std::vector<xml::Node> unfilled;
    collectUnfilledCopies(root, cloneIds, unfilled);
    for (const xml::Node& copy : unfilled)
        if (!isDocumentNode(copy.parentNode()))
            copy.parentNode().removeChild(copy);
}

bool anyMarked(xmlNodePtr node, const char* mark)
{
    if (unprefixedAttribute(node, mark))
        return true;
    for (xmlNodePtr child = node->children; child; child = child->next)
        if (child->type == XML_ELEMENT_NODE && anyMarked(child, mark))
            return true;
    return false;
}

} // namespace

void SubtreeHasWord2SPLID(const xml::Node& node, bool& found)
{
    if (found || node.isNull())
        return;
    if (node.nodeType() != xml::NodeType::Element && node.nodeType() != xml::NodeType::Document)
        return;
    static const QByteArray mark = Word2SPLIDAttribute.toUtf8();
    found = anyMarked(node.raw(), mark.constData());
}

void CleanTargetDocument(const xml::Document& settings, const xml::Document& transformation, const xml::Document& target)
{
    WriteLog(logSeparator(), QString());
    WriteLog(QStringLiteral("Information"), QStringLiteral("Start Document Cleaning"));
    removeUnfilledCopies(settings, transformation, target);
    const xml::NodeList entries =
        transformation.selectNodes(QStringLiteral("Word2SPLTransform/Transform | Word2SPLTransform/PostProcessing"));
    const xml::Node targetRoot = target.documentElement().parentNode();
    for (const xml::Node& entry : entries) {
        const QList<xml::Node> values = allMatches(entry, QStringLiteral("Value"));
        if (!values.isEmpty())
            cleanEntry(entry, values, settings, targetRoot);
    }
}

} // namespace veldra
