#include "generation/DocumentCleaning.h"

#include "app/Log.h"
#include "generation/TransformItems.h"
#include "platform/core/VbError.h"
#include "platform/xml/Document.h"

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

void cleanEntryTargets(const QString& query, const xml::Document& target)
{
    for (const xml::Node& node : target.selectNodes(query)) {
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

void cleanEntry(const xml::Node& entry, const xml::NodeList& values, const xml::Document& settings,
                const xml::Document& target)
{
    const QString filterSource = optionalItemText(entry, QStringLiteral("Definition/FilterSource"));
    const QString sourcePath = requiredItemText(entry, QStringLiteral("Definition/Source"), source);
    const QString targetPath = requiredItemText(entry, QStringLiteral("Definition/Target"), source);
    const xml::Node templateTargetItem = entry.selectSingleNode(QStringLiteral("Definition/TemplateTarget"));
    if (!filterSource.isEmpty() && templateTargetItem.isNull())
        requiredItem(entry, QStringLiteral("Definition/TemplateTarget"), source);

    QString entryQuery = targetPath;
    const xml::Node settingsNode = settings.selectSingleNode(sourcePath);
    if (!filterSource.isEmpty() && !settingsNode.isNull()) {
        const xml::Node filterNode = settingsNode.selectSingleNode(filterSource);
        if (filterNode.isNull())
            throw VbError(err::General, source,
                          QStringLiteral("The Definition/FilterSource %1 of '%2' selects nothing below %3.")
                              .arg(filterSource, entryLabel(entry), sourcePath));
        entryQuery.replace(QStringLiteral("$FilterValue"), filterNode.text());
    }
    cleanEntryTargets(entryQuery, target);

    const QString templateTarget = templateTargetItem.isNull() ? QString() : templateTargetItem.text();
    for (const xml::Node& value : values) {
        const QString valueTarget = requiredItemText(value, QStringLiteral("Target"), source);
        const QString query = valueQuery(targetPath, filterSource, templateTarget, !templateTargetItem.isNull(), valueTarget);
        const ValueContext context{entry, value, sourcePath, targetPath};
        for (const xml::Node& node : target.selectNodes(query))
            if (!isDocumentNode(node.parentNode()))
                removeUnfilledChain(node, context);
    }
}

} // namespace

void SubtreeHasWord2SPLID(const xml::Node& node, bool& found)
{
    if (found || node.isNull())
        return;
    if (node.nodeType() == xml::NodeType::Element && node.hasAttribute(Word2SPLIDAttribute)) {
        found = true;
        return;
    }
    for (xml::Node child = node.firstChild(); !child.isNull(); child = child.nextSibling()) {
        if (child.nodeType() != xml::NodeType::Element)
            continue;
        if (child.hasAttribute(Word2SPLIDAttribute)) {
            found = true;
            return;
        }
        if (child.hasChildNodes())
            SubtreeHasWord2SPLID(child, found);
        if (found)
            return;
    }
}

void CleanTargetDocument(const xml::Document& settings, const xml::Document& transformation, const xml::Document& target)
{
    WriteLog(logSeparator(), QString());
    WriteLog(QStringLiteral("Information"), QStringLiteral("Start Document Cleaning"));
    const xml::NodeList entries =
        transformation.selectNodes(QStringLiteral("Word2SPLTransform/Transform | Word2SPLTransform/PostProcessing"));
    for (const xml::Node& entry : entries) {
        const xml::NodeList values = entry.selectNodes(QStringLiteral("Value"));
        if (values.length() > 0)
            cleanEntry(entry, values, settings, target);
    }
}

} // namespace veldra
