#include "generation/build/TransformRecurse.h"

#include "app/Log.h"
#include "generation/build/BuildIndex.h"
#include "generation/build/PathSteps.h"
#include "generation/build/TransformItems.h"
#include "generation/build/TransformValue.h"
#include "platform/core/VbError.h"
#include "platform/ui/Ui.h"
#include "platform/xml/Document.h"

namespace veldra {

namespace {

const QString source = QStringLiteral("TransformRecurse");

bool isDocumentNode(const xml::Node& node)
{
    return !node.isNull() && node.nodeType() == xml::NodeType::Document;
}

bool clones(const xml::Node& targetItem)
{
    const QString allowClone = targetItem.getAttribute(QStringLiteral("AllowClone"));
    return !allowClone.isNull() && numberTextIsOne(allowClone, source);
}

// What one run of the transformation works with.
struct Run {
    const xml::Document& templateDoc;
    const xml::Document& target;
    const QString& outFile;
    BuildIndex& index;
};

// The first node at `relativePath` below any target element marked with `identifier`.
xml::Node belowMarked(const BuildIndex& index, const QString& identifier, const QString& relativePath)
{
    QList<xml::Node> found;
    for (const xml::Node& marked : index.marked(identifier))
        if (const xml::Node node = firstMatch(marked, relativePath); !node.isNull())
            found << node;
    return firstInDocumentOrder(found);
}

// Puts `copy` after the last child of `parent` that bears its name (the template's pattern,
// or the copies made before it), else last. The SPL schema fixes the order of a product's
// ingredients, packages and kit parts, and a copy appended last would follow the order of the
// settings elements instead, which the user may change.
void appendAmongLikeNamed(const xml::Node& parent, const xml::Node& copy)
{
    const QString name = copy.nodeName();
    for (xml::Node child = parent.lastChild(); !child.isNull(); child = child.previousSibling()) {
        if (child.nodeType() == xml::NodeType::Element && child.nodeName() == name) {
            const xml::Node next = child.nextSibling();
            if (next.isNull())
                parent.appendChild(copy);
            else
                parent.insertBefore(copy, next);
            return;
        }
    }
    parent.appendChild(copy);
}

// Where a new copy for `element` goes: below the copy made for the parent settings element
// (at Definition/ParentNode), among the elements of its name, else as the last child of the
// target's parent (DirectCopy), else just before the target.
void placeCopy(const xml::Node& copy, const xml::Node& entry, const xml::Node& element, const xml::Node& targetItem,
               const xml::Node& targetNode, const BuildIndex& index)
{
    const QString parentNode = requiredItemText(entry, QStringLiteral("Definition/ParentNode"), source);
    const xml::Node parentElement = element.parentNode();
    if (!parentNode.isEmpty() && parentElement.nodeType() == xml::NodeType::Element) {
        const xml::Node parentCopy = belowMarked(index, settingsIdentity(parentElement, source), parentNode);
        if (!parentCopy.isNull()) {
            appendAmongLikeNamed(parentCopy, copy);
            return;
        }
    }
    if (IsDirectCopy(targetItem))
        targetNode.parentNode().appendChild(copy);
    else
        targetNode.parentNode().insertBefore(copy, targetNode);
}

// The copy of the template fragment made for `element`, found again or made and placed.
xml::Node cloneFor(const xml::Node& entry, const xml::Node& element, const xml::Node& targetItem, const QString& targetPath,
                   const xml::Node& targetNode, const Run& run)
{
    const QString cloneId = settingsIdentity(element, source);
    for (const xml::Node& marked : run.index.marked(cloneId))
        if (matchesPath(marked, run.index.targetRoot(), targetPath))
            return marked;
    const xml::Node pattern = firstMatch(run.templateDoc, targetPath);
    if (pattern.isNull())
        throw VbError(err::General, source, QStringLiteral("The SPL template has no %1.").arg(targetPath));
    const xml::Node copy = run.target.importNode(pattern, true);
    run.index.mark(copy, cloneId);
    placeCopy(copy, entry, element, targetItem, targetNode, run.index);
    return copy;
}

void runEntry(const xml::Node& entry, const xml::Node& element, const Run& run)
{
    const PreparedEntry* prepared = run.index.prepared(entry);
    EntryTarget where;
    where.entryName = prepared ? prepared->name : requiredItemText(entry, QStringLiteral("Name"), source);
    if (where.entryName == QLatin1String("Drug Product Packaging"))
        ui::pumpMessages();
    const xml::Node targetItem = prepared ? prepared->targetItem : requiredItem(entry, QStringLiteral("Definition/Target"), source);
    where.targetPath = prepared ? prepared->target.text() : targetItem.text();
    const xml::Node targetNode = prepared ? prepared->target.firstMatch(run.index.targetRoot())
                                          : firstMatch(run.index.targetRoot(), where.targetPath);
    if (targetNode.isNull())
        throw VbError(err::General, source,
                      QStringLiteral("The Definition/Target %1 of '%2' selects nothing in the SPL.").arg(where.targetPath, where.entryName));
    if (!isDocumentNode(targetNode.parentNode()) && clones(targetItem))
        where.copy = cloneFor(entry, element, targetItem, where.targetPath, targetNode, run);
    for (const xml::Node& value : prepared ? prepared->values : allMatches(entry, QStringLiteral("Value")))
        applyTransformValue(value, element, where, run.target, run.index, run.outFile);
}

bool isLeaf(const xml::Node& child)
{
    const xml::Node first = child.firstChild();
    return first.nodeType() == xml::NodeType::Text && first.nextSibling().isNull();
}

void recurse(const xml::Node& element, const Run& run, QString& path)
{
    try {
        if (!element.hasChildNodes())
            return;
        QString entriesLookedUpFor;
        for (const xml::Node& child : element.childNodes()) {
            if (!child.hasChildNodes())
                continue;
            if (path != entriesLookedUpFor) {
                const QList<xml::Node> entries = run.index.entriesFor(path);
                entriesLookedUpFor = path;
                for (const xml::Node& entry : entries)
                    runEntry(entry, element, run);
            }
            if (isLeaf(child))
                continue;
            if (!NoLogging) {
                WriteLog(logSeparator(), logSeparator(), true);
                WriteLog(QStringLiteral("Processing"), QStringLiteral("Recurse ") + element.nodeName());
            }
            const QString kept = path;
            path += QLatin1Char('/') + child.nodeName();
            if (element.nodeName() == QLatin1String("ProductCharacteristics"))
                ui::pumpMessages();
            recurse(child, run, path);
            path = kept;
        }
    } catch (const std::exception& e) {
        const VbError failure = toVbError(e, source);
        WriteLog(QStringLiteral("Error"), failure.text());
    }
}

} // namespace

void TransformRecurse(const xml::Node& element, const xml::Document& transformation, const xml::Document& templateDoc,
                      const xml::Document& target, QString& path, const QString& outFile)
{
    BuildIndex index(transformation, target);
    recurse(element, Run{templateDoc, target, outFile, index}, path);
}

} // namespace veldra
