#include "generation/build/TransformRecurse.h"

#include "app/Log.h"
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

// Where a new copy for `element` goes: below the copy made for the parent settings element
// (at Definition/ParentNode), else as the last child of the target's parent (DirectCopy),
// else just before the target.
void placeCopy(const xml::Node& copy, const xml::Node& entry, const xml::Node& element, const xml::Node& targetItem,
               const xml::Node& targetNode, const xml::Document& target)
{
    const QString parentNode = requiredItemText(entry, QStringLiteral("Definition/ParentNode"), source);
    const xml::Node parentElement = element.parentNode();
    if (!parentNode.isEmpty() && parentElement.nodeType() == xml::NodeType::Element) {
        const xml::Node parentCopy = target.selectSingleNode(
            QStringLiteral("//*[@Word2SPLID='") + settingsIdentity(parentElement, source) + QStringLiteral("']/") + parentNode);
        if (!parentCopy.isNull()) {
            parentCopy.appendChild(copy);
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
                   const xml::Node& targetNode, const xml::Document& templateDoc, const xml::Document& target)
{
    const QString cloneId = settingsIdentity(element, source);
    const xml::Node existing =
        target.selectSingleNode(targetPath + QStringLiteral("[@Word2SPLID='") + cloneId + QStringLiteral("']"));
    if (!existing.isNull())
        return existing;
    const xml::Node pattern = templateDoc.selectSingleNode(targetPath);
    if (pattern.isNull())
        throw VbError(err::General, source, QStringLiteral("The SPL template has no %1.").arg(targetPath));
    const xml::Node copy = target.importNode(pattern, true);
    copy.setAttribute(Word2SPLIDAttribute, cloneId);
    placeCopy(copy, entry, element, targetItem, targetNode, target);
    return copy;
}

void runEntry(const xml::Node& entry, const xml::Node& element, const xml::Document& templateDoc,
              const xml::Document& target, const QString& outFile)
{
    EntryTarget where;
    where.entryName = requiredItemText(entry, QStringLiteral("Name"), source);
    if (where.entryName == QLatin1String("Drug Product Packaging"))
        ui::pumpMessages();
    const xml::Node targetItem = requiredItem(entry, QStringLiteral("Definition/Target"), source);
    where.targetPath = targetItem.text();
    const xml::Node targetNode = target.selectSingleNode(where.targetPath);
    if (targetNode.isNull())
        throw VbError(err::General, source,
                      QStringLiteral("The Definition/Target %1 of '%2' selects nothing in the SPL.").arg(where.targetPath, where.entryName));
    if (!isDocumentNode(targetNode.parentNode()) && clones(targetItem))
        where.copy = cloneFor(entry, element, targetItem, where.targetPath, targetNode, templateDoc, target);
    for (const xml::Node& value : entry.selectNodes(QStringLiteral("Value")))
        applyTransformValue(value, element, where, target, outFile);
}

bool isLeaf(const xml::Node& child)
{
    return child.firstChild().nodeType() == xml::NodeType::Text && child.childNodes().length() == 1;
}

} // namespace

void TransformRecurse(const xml::Node& element, const xml::Document& transformation, const xml::Document& templateDoc,
                      const xml::Document& target, QString& path, const QString& outFile)
{
    try {
        if (!element.hasChildNodes())
            return;
        QString entriesLookedUpFor;
        for (const xml::Node& child : element.childNodes()) {
            if (!child.hasChildNodes())
                continue;
            if (path != entriesLookedUpFor) {
                const xml::NodeList entries = transformation.selectNodes(
                    QStringLiteral("/Word2SPLTransform/Transform[Definition/Source='") + path + QStringLiteral("']"));
                entriesLookedUpFor = path;
                for (const xml::Node& entry : entries)
                    runEntry(entry, element, templateDoc, target, outFile);
            }
            if (isLeaf(child))
                continue;
            WriteLog(logSeparator(), logSeparator(), true);
            WriteLog(QStringLiteral("Processing"), QStringLiteral("Recurse ") + element.nodeName());
            const QString kept = path;
            path += QLatin1Char('/') + child.nodeName();
            if (element.nodeName() == QLatin1String("ProductCharacteristics"))
                ui::pumpMessages();
            TransformRecurse(child, transformation, templateDoc, target, path, outFile);
            path = kept;
        }
    } catch (const std::exception& e) {
        const VbError failure = toVbError(e, source);
        WriteLog(QStringLiteral("Error"), failure.text());
    }
}

} // namespace veldra
