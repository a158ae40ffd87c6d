#include "generation/building/TransformRecurse.h"

#include "app/log/Log.h"
#include "generation/building/BuildIndex.h"
#include "generation/building/CopyCleaning.h"
#include "generation/building/NodeTests.h"
#include "generation/building/PathSteps.h"
#include "generation/building/TransformItems.h"
#include "generation/building/TransformValue.h"
#include "platform/core/VbError.h"
#include "platform/ui/Ui.h"
#include "platform/xml/tree/Document.h"

#include <QVarLengthArray>

namespace veldra {

namespace {

const QString source = QStringLiteral("TransformRecurse");

// Whether the node stands right below the document node. `node` is one the build found in
// the target by a path, so a plain node (no declaration or namespace declaration).
bool isDocumentElement(const xml::Node& node)
{
    return xml::Cursor(node).parent().isDocument();
}

bool clones(const QString& allowClone)
{
    return !allowClone.isNull() && numberTextIsOne(allowClone, source);
}

// The same for an entry's target, from what was read before where that was a number.
bool clones(const PreparedEntry* prepared, const xml::Node& targetItem)
{
    if (prepared && prepared->clones)
        return *prepared->clones;
    return clones(prepared ? prepared->allowClone : targetItem.getAttribute(QStringLiteral("AllowClone")));
}

// What one run of the transformation works with.
struct Run {
    const xml::Document& templateDoc;
    const xml::Document& target;
    const QString& outFile;
    BuildIndex& index;
    CopyCleaning& copyCleaning;
};

// The first node at `relativePath` below any target element marked with `identifier`.
xml::Node belowMarked(const BuildIndex& index, const QByteArray& identifier, const QString& relativePath)
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
    for (xml::Node child = parent.lastChild(); !child.isNull(); child = child.previousSibling()) {
        if (const xml::Cursor parsed(child); parsed.isElement() && sameQualifiedName(parsed, xml::Cursor(copy))) {
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

// The node at `parentNode` below the copy made for the nearest settings ancestor of `element`
// that has one: the parent's, or, where the parent has no SPL element of its own (the kit
// assembly between a product and its parts), a further ancestor's. Null when none has.
xml::Node ancestorCopy(const xml::Node& element, const QString& parentNode, const Run& run)
{
    const xml::Node parentElement = element.parentNode();
    if (parentNode.isEmpty() || parentElement.nodeType() != xml::NodeType::Element)
        return {};
    if (const xml::Node copy = belowMarked(run.index, settingsIdentityBytes(parentElement, source), parentNode); !copy.isNull())
        return copy;
    for (xml::Node ancestor = parentElement.parentNode(); ancestor.nodeType() == xml::NodeType::Element;
         ancestor = ancestor.parentNode()) {
        if (!ancestor.hasAttribute(QStringLiteral("Word2SPLID")))
            continue;
        if (const xml::Node copy = belowMarked(run.index, settingsIdentityBytes(ancestor, source), parentNode); !copy.isNull())
            return copy;
    }
    return {};
}

// Where a new copy for `element` goes: below the copy made for the nearest settings ancestor
// (at Definition/ParentNode), among the elements of its name, else as the last child of the
// target's parent (DirectCopy), else just before the target.
void placeCopy(const xml::Node& copy, const xml::Node& entry, const xml::Node& element, const xml::Node& targetItem,
               const xml::Node& targetNode, const Run& run)
{
    const PreparedEntry* prepared = run.index.prepared(entry);
    const QString parentNode = prepared && !prepared->parentNodeItem.isNull()
        ? prepared->parentNode
        : requiredItemText(entry, QStringLiteral("Definition/ParentNode"), source);
    if (const xml::Node parentCopy = ancestorCopy(element, parentNode, run); !parentCopy.isNull()) {
        appendAmongLikeNamed(parentCopy, copy);
        return;
    }
    if (prepared ? isDirectCopyText(prepared->directCopy) : IsDirectCopy(targetItem))
        targetNode.parentNode().appendChild(copy);
    else
        targetNode.parentNode().insertBefore(copy, targetNode);
}

// The copy of the template fragment made for `element`, found again or made and placed.
xml::Node cloneFor(const xml::Node& entry, const xml::Node& element, const xml::Node& targetItem, const QString& targetPath,
                   const xml::Node& targetNode, const Run& run)
{
    const QByteArray cloneId = settingsIdentityBytes(element, source);
    for (const xml::Node& marked : run.index.marked(cloneId))
        if (matchesPath(marked, run.index.targetRoot(), targetPath))
            return marked;
    const xml::Node pattern = run.index.pattern(run.templateDoc, targetPath);
    if (pattern.isNull())
        throw VbError(err::General, source, QStringLiteral("The SPL template has no %1.").arg(targetPath));
    const xml::Node copy = run.target.importNode(pattern, true);
    run.index.mark(copy, cloneId);
    placeCopy(copy, entry, element, targetItem, targetNode, run);
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
    if (!isDocumentElement(targetNode) && clones(prepared, targetItem))
        where.copy = cloneFor(entry, element, targetItem, where.targetPath, targetNode, run);
    if (prepared) {
        for (qsizetype i = 0; i < prepared->values.size(); ++i)
            applyTransformValue(prepared->values[i], prepared->preparedValues[size_t(i)], element, where, run.target,
                                run.index, run.outFile);
        if (!where.copy.isNull())
            run.copyCleaning.cleanAfterValues(entry, *prepared, where.copy, run.index.targetRoot());
        return;
    }
    for (const xml::Node& value : allMatches(entry, QStringLiteral("Value")))
        applyTransformValue(value, run.index.prepared(value, where.targetPath), element, where, run.target, run.index,
                            run.outFile);
}

// A snapshot of the element's children, as childNodes() takes it (the walk lets events
// through, and the settings may change meanwhile), with one handle per child. A settings
// element seldom has more children than the snapshot holds without allocating.
using Children = QVarLengthArray<xml::Node, 32>;

Children childrenOf(const xml::Node& element)
{
    Children children;
    for (xml::Node child = element.firstChild(); !child.isNull();) {
        xml::Node next = child.nextSibling();
        children.push_back(std::move(child));
        child = std::move(next);
    }
    return children;
}

// Whether the node's name (as nodeName gives it) is `name`, asked without turning it into text.
bool isNamedWithoutPrefix(const xml::Node& node, const char* name)
{
    const xml::Cursor named(node);
    return named.isElement() && !named.prefix() && named.isNamed(name);
}

// A child of a settings element: an element, text, a comment or a processing instruction.
bool hasChildren(const xml::Node& child)
{
    return xml::Cursor(child).hasChildren();
}

bool isLeaf(const xml::Node& child)
{
    const xml::Cursor first = xml::Cursor(child).firstChild();
    return first.type() == xml::NodeType::Text && !first.nextSibling();
}

// The element's children, each with the path of its settings element, in document order:
// the entries of the element's path run once, before the first child that holds anything is
// gone into. A path ends in its element's name, so the elements entries run for (whose marks
// cloneFor looks up) and their parents (placeCopy's) are named like steps of the entries'
// Source paths: BuildIndex indexes only the marks of such elements.
void recurse(const xml::Node& element, const Run& run, QString& path)
{
    try {
        if (!element.hasChildNodes())
            return;
        bool entriesRun = path.isEmpty();  // no settings element has an empty path
        const bool pumps = isNamedWithoutPrefix(element, "ProductCharacteristics");
        for (const xml::Node& child : childrenOf(element)) {
            if (!hasChildren(child))
                continue;
            if (!entriesRun) {
                entriesRun = true;
                for (const xml::Node& entry : run.index.entriesFor(path))
                    runEntry(entry, element, run);
            }
            if (isLeaf(child))
                continue;
            if (!NoLogging) {
                WriteLog(logSeparator(), logSeparator(), true);
                WriteLog(log_category::Processing, QStringLiteral("Recurse ") + element.nodeName());
            }
            const qsizetype kept = path.size();
            path += QLatin1Char('/');
            path += child.nodeName();
            if (pumps)
                ui::pumpMessages();
            recurse(child, run, path);
            path.truncate(kept);
        }
    } catch (const std::exception& e) {
        const VbError failure = toVbError(e, source);
        WriteLog(log_category::Error, failure.text());
    }
}

} // namespace

void TransformRecurse(const xml::Node& element, const xml::Document& transformation, const xml::Document& templateDoc,
                      const xml::Document& target, QString& path, const QString& outFile, CopyCleaning& copyCleaning)
{
    BuildIndex index(transformation, target, element);
    recurse(element, Run{templateDoc, target, outFile, index, copyCleaning}, path);
}

} // namespace veldra
