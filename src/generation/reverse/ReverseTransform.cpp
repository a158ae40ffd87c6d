#include "generation/reverse/ReverseTransform.h"

#include "app/window/Captions.h"
#include "app/log/Log.h"
#include "editor/document/EditorRoom.h"
#include "editor/tree/TreePaths.h"
#include "generation/reverse/ImportRoom.h"
#include "generation/reverse/ReadSPLValue.h"
#include "generation/reverse/frmUserSelection.h"
#include "platform/core/Skip.h"
#include "platform/core/VbError.h"
#include "platform/xml/query/QueryLiteral.h"
#include "platform/xml/tree/Document.h"
#include "platform/xml/tree/Lookup.h"

namespace veldra {

QString UserSelection;

namespace {

const QString Source = QStringLiteral("ReverseTransform");
// A required child of an entry: a missing one fails the entry.
const QString entryMissing = QStringLiteral("The entry has no %1.");

void logFailure(const std::exception& e, const QString& closingLine)
{
    WriteLog(log_category::Error, toVbError(e, Source).text());
    WriteLog(log_category::Error, closingLine);
}

bool allowsReverseTransform(const xml::Node& entry)
{
    const xml::Node definition = entry.selectSingleNode(QStringLiteral("Definition"));
    return !definition.isNull() && definition.getAttribute(QStringLiteral("AllowReverseTransform")) == QLatin1String("1");
}

// The first Transform entry for an element path when it takes part in the reverse import,
// else a null node.
xml::Node reverseEntryFor(const QString& path, const xml::Document& transformDOM)
{
    const xml::Node entry = transformDOM.selectSingleNode(
        QStringLiteral("Word2SPLTransform/Transform[Definition[Source=") + xml::queryLiteral(path) + QStringLiteral("]]"));
    return !entry.isNull() && allowsReverseTransform(entry) ? entry : xml::Node();
}

xml::Node reverseEntryFor(const xml::Node& node, const xml::Document& transformDOM)
{
    return reverseEntryFor(elementPath(node), transformDOM);
}

QString targetOf(const xml::Node& entry)
{
    return xml::textAt(entry, QStringLiteral("Definition/Target"));
}

// The groups of an entry whose element lies inside a group of an enclosing entry are read
// inside each of that entry's groups, when the entry's target continues the enclosing target
// and no pick of the user chooses them: so each establishment keeps its own business
// operations and each kit part its own ingredients, where a query from the document would
// give every group all of them. Returns the query relative to the enclosing group, or "".
QString nestedGroupQuery(const xml::Node& entry, const QString& enclosingTarget)
{
    if (enclosingTarget.isEmpty()
        || !entry.selectSingleNode(QStringLiteral("Definition/ReverseTransformUserSelection")).isNull())
        return QString();
    const QString target = targetOf(entry);
    if (!target.startsWith(enclosingTarget + QLatin1Char('/')))
        return QString();
    return target.mid(enclosingTarget.size() + 1);
}

// The SPL groups of an entry. An entry that needs a pick reads none without one (when the
// file offers nothing to pick): its query would compare with an empty text.
xml::NodeList groupsOf(const xml::Node& entry, const xml::Document& splDOM)
{
    const xml::Node selection = entry.selectSingleNode(QStringLiteral("Definition/ReverseTransformUserSelection"));
    if (selection.isNull())
        return splDOM.selectNodes(xml::requiredAt(entry, QStringLiteral("Definition/Target"), Source, entryMissing).text());
    if (UserSelection.isEmpty())
        ReverseTransformUserSelect(entry, splDOM);
    if (UserSelection.isEmpty())
        return xml::NodeList();
    return splDOM.selectNodes(xml::withLiteral(selection.text(), QStringLiteral("$USERSELECTION"), UserSelection));
}

void writeValue(const xml::Node& templateNode, const xml::Document& definitionDOM, const QString& entryName,
                const QString& source, const QString& value)
{
    if (skip([&] { templateNode.selectSingleNode(source).setText(value); }))
        return;
    skip([&] { templateNode.appendChild(definitionDOM.createElement(source)); });
    try {
        templateNode.selectSingleNode(source).setText(value);
    } catch (const std::exception& e) {
        WriteLog(log_category::Error, QStringLiteral("Cannot Reverse Transform: ") + entryName + QStringLiteral(", ")
                                              + source + QStringLiteral(" >>> ") + toVbError(e, Source).text());
    }
}

bool copiesWholeElements(const xml::Node& value)
{
    const xml::Node source = value.selectSingleNode(QStringLiteral("Source"));
    return !source.isNull() && source.getAttribute(QStringLiteral("DirectCopy")) == QLatin1String("1");
}

// Appends copies of the SPL nodes, with everything below them, to the template's node at the
// source (created when the template lacks it): SPL markup such as a section's text, which a
// text value would flatten.
void copyElements(const xml::NodeList& splNodes, const xml::Node& templateNode, const xml::Document& definitionDOM,
                  const QString& entryName, const QString& source, EditorRoom& room)
{
    DocumentSize copied;
    for (const xml::Node& splNode : splNodes)
        copied += importedSizeOf(splNode);
    takeImportRoom(room, copied, entryName);
    try {
        xml::Node holder = templateNode.selectSingleNode(source);
        if (holder.isNull())
            holder = templateNode.appendChild(definitionDOM.createElement(source));
        for (const xml::Node& splNode : splNodes) {
            WriteLog(log_category::Processing, source + QStringLiteral(" = <") + splNode.nodeName() + QLatin1Char('>'));
            holder.appendChild(definitionDOM.importNode(splNode, true));
        }
    } catch (const std::exception& e) {
        WriteLog(log_category::Error, QStringLiteral("Cannot Reverse Transform: ") + entryName + QStringLiteral(", ")
                                              + source + QStringLiteral(" >>> ") + toVbError(e, Source).text());
    }
}

void warnNoData(const QString& source)
{
    WriteLog(log_category::Warning,
             QStringLiteral("No data available in SPL file for '") + SplitCamelCase(source) + QLatin1Char('\''));
}

// Markup copied from the SPL file: the only elements of the definition document that live in
// a namespace.
bool isCopiedSPLMarkup(const xml::Node& node)
{
    return node.nodeType() == xml::NodeType::Element && !node.namespaceURI().isEmpty();
}

// An element holding markup copied from the SPL file stays though its text is empty: a
// section text that only shows a picture.
bool holdsCopiedSPLMarkup(const xml::Node& node)
{
    for (const xml::Node& child : node.childNodes())
        if (isCopiedSPLMarkup(child))
            return true;
    return false;
}

void removeDirectChild(const xml::Node& templateNode, const QString& source)
{
    const xml::Node node = templateNode.selectSingleNode(source);
    if (!node.isNull() && node.parentNode() == templateNode)
        templateNode.removeChild(node);
}

void applyValue(const xml::Node& value, const xml::Node& group, const xml::Node& templateNode,
                const xml::Document& definitionDOM, const QString& entryName, EditorRoom& room)
{
    if (value.getAttribute(QStringLiteral("DenyReverseTransform")) == QLatin1String("1"))
        return;
    const QString source = xml::requiredAt(value, QStringLiteral("Source"), Source, entryMissing).text();
    const xml::Node target = value.selectSingleNode(QStringLiteral("Target"));
    if (target.isNull())
        throw VbError(err::XmlNode, Source, QStringLiteral("The entry has a Value without Target."));
    if (copiesWholeElements(value)) {
        const xml::NodeList splNodes = group.selectNodes(target.text());
        if (splNodes.length() == 0)
            warnNoData(source);
        else
            copyElements(splNodes, templateNode, definitionDOM, entryName, source, room);
        return;
    }
    const SPLValue read = readSPLValue(group, target, source);
    if (read.node.isNull()) {
        warnNoData(source);
        removeDirectChild(templateNode, source);
        return;
    }
    takeImportRoom(room, DocumentSize{0, 0, read.text.toUtf8().size()}, entryName);
    WriteLog(log_category::Processing, source + QStringLiteral(" = ") + read.text);
    writeValue(templateNode, definitionDOM, entryName, source, read.text);
}

void fillGroups(const xml::Node& entry, const QString& path, const xml::Node& pattern, const xml::NodeList& groups,
                xml::Node& element, xml::Node& parent, EditorRoom& room);

// Applies, inside one filled group, the entries of the elements below it whose groups are
// read within that group. An element with an entry of its own that is not read this way was
// filled by that entry already, and is left as it is.
void applyNestedEntries(const xml::Node& container, const QString& containerPath, const xml::Node& group,
                        const QString& enclosingTarget, const xml::Document& transformDOM, EditorRoom& room)
{
    for (xml::Node child : container.childNodes()) {
        if (child.nodeType() != xml::NodeType::Element || isCopiedSPLMarkup(child))
            continue;
        const QString path = containerPath + QLatin1Char('/') + child.nodeName();
        const xml::Node entry = reverseEntryFor(path, transformDOM);
        if (entry.isNull()) {
            applyNestedEntries(child, path, group, enclosingTarget, transformDOM, room);
            continue;
        }
        const QString query = nestedGroupQuery(entry, enclosingTarget);
        if (query.isEmpty())
            continue;
        xml::Node parent = container;
        fillGroups(entry, path, child.cloneNode(true), group.selectNodes(query), child, parent, room);
    }
}

// Fills a fresh copy of the pattern per group, puts the copies before `element` in the order
// of the groups (the build writes them in the order they stand) and removes `element` when
// there was at least one group. A failure is logged and ends the entry.
void fillGroups(const xml::Node& entry, const QString& path, const xml::Node& pattern, const xml::NodeList& groups,
                xml::Node& element, xml::Node& parent, EditorRoom& room)
{
    try {
        const QString name = xml::requiredAt(entry, QStringLiteral("Name"), Source, entryMissing).text();
        WriteLog(logSeparator(), QString());
        WriteLog(log_category::Processing, name);
        const xml::Document definitionDOM = element.ownerDocument();
        const xml::NodeList values = entry.selectNodes(QStringLiteral("Value"));
        const QString target = targetOf(entry);
        const xml::Node definitionElement = element;
        const xml::Node definitionParent = parent;
        const DocumentSize copySize = groups.length() > 0 ? importedSizeOf(pattern) : DocumentSize();
        for (const xml::Node& group : groups) {
            takeImportRoom(room, copySize, name);
            WriteLog(logSeparator(), QString());
            // A fresh copy per group, so no value of one group (a nested one, which a missing
            // value does not remove) turns up in the copy of the next.
            const xml::Node filled = pattern.cloneNode(true);
            for (const xml::Node& value : values)
                applyValue(value, group, filled, definitionDOM, name, room);
            applyNestedEntries(filled, path, group, target, entry.ownerDocument(), room);
            element = definitionParent.insertBefore(filled, definitionElement);
            parent = element.parentNode();
        }
        // The definition element was the pattern of the copies; with starting values of the
        // definition in it, it would otherwise stay as a group of its own that the SPL file
        // does not have.
        if (element != definitionElement)
            definitionParent.removeChild(definitionElement);
    } catch (const std::exception& e) {
        logFailure(e, QStringLiteral("Reverse Transform Leaf Failed."));
    }
}

// The walk below `node`; `enclosingTarget` is the target of the nearest entry above, whose
// groups hold the groups of the entries nested in it (applied there, not here).
void walk(xml::Node& node, const xml::Document& definitionDOM, const xml::Document& splDOM,
          const xml::Document& transformDOM, const QString& enclosingTarget, EditorRoom& room)
{
    try {
        const xml::Node entry = reverseEntryFor(node, transformDOM);
        const QString innerTarget = entry.isNull() ? enclosingTarget : targetOf(entry);
        // A snapshot: copies that the entries insert are not visited.
        for (xml::Node child : node.childNodes()) {
            if (child.hasChildNodes()) {
                walk(child, definitionDOM, splDOM, transformDOM, innerTarget, room);
                continue;
            }
            const xml::Node childEntry = reverseEntryFor(child, transformDOM);
            if (!childEntry.isNull() && nestedGroupQuery(childEntry, innerTarget).isEmpty()) {
                ReverseTransformUserSelect(childEntry, splDOM);
                xml::Node parent = node;
                ReverseTransformEntry(childEntry, definitionDOM, splDOM, child, parent, room);
            }
        }
        if (!entry.isNull() && nestedGroupQuery(entry, enclosingTarget).isEmpty()) {
            ReverseTransformUserSelect(entry, splDOM);
            xml::Node parent = node.parentNode();
            ReverseTransformEntry(entry, definitionDOM, splDOM, node, parent, room);
        }
    } catch (const std::exception& e) {
        logFailure(e, QStringLiteral("Reverse Transform Recurse Error."));
    }
}

} // namespace

QString reverseEntryName(const QString& path, const xml::Document& transformDOM)
{
    return xml::textAt(reverseEntryFor(path, transformDOM), QStringLiteral("Name"));
}

void ReverseTransformRecurse(xml::Node& node, const xml::Document& definitionDOM, const xml::Document& splDOM,
                             const xml::Document& transformDOM, EditorRoom& room)
{
    walk(node, definitionDOM, splDOM, transformDOM, QString(), room);
}

void ReverseTransformUserSelect(const xml::Node& entry, const xml::Document& splDOM)
{
    int count = 0;
    skip([&] { count = splDOM.selectNodes(entry.selectSingleNode(QStringLiteral("Definition/Target")).text()).length(); });
    xml::Node select;
    skip([&] { select = entry.selectSingleNode(QStringLiteral("Definition/ReverseTransformUserSelect")); });
    if (count < 1 || select.isNull())
        return;
    QString info;
    QStringList choices;
    skip([&] { info = select.getAttribute(QStringLiteral("Info")); });
    skip([&] {
        for (const xml::Node& node : splDOM.selectNodes(select.text()))
            choices << node.text();
    });
    if (!UserSelection.isEmpty())
        return;
    bool picked = true;
    skip([&] { picked = ShowUserSelection(info, choices); });
    if (!picked)
        throw ReverseTransformCancelled();
}

void ReverseTransformEntry(const xml::Node& entry, const xml::Document& definitionDOM, const xml::Document& splDOM,
                           xml::Node& element, xml::Node& parent, EditorRoom& room)
{
    try {
        xml::requiredAt(entry, QStringLiteral("Name"), Source, entryMissing);
        const QString path = xml::requiredAt(entry, QStringLiteral("Definition/Source"), Source, entryMissing).text();
        const xml::Node pattern = definitionDOM.selectSingleNode(path);
        if (pattern.isNull())
            throw VbError(err::XmlNode, Source, QStringLiteral("The definition document has no element at %1.").arg(path));
        const xml::NodeList groups = groupsOf(entry, splDOM);
        fillGroups(entry, path, pattern.cloneNode(true), groups, element, parent, room);
    } catch (const std::exception& e) {
        WriteLog(logSeparator(), QString());
        skip([&] { WriteLog(log_category::Processing, entry.selectSingleNode(QStringLiteral("Name")).text()); });
        logFailure(e, QStringLiteral("Reverse Transform Leaf Failed."));
    }
}

void RemoveEmptyNodes(const xml::Node& node)
{
    try {
        for (const xml::Node& child : node.childNodes()) {
            // Copied SPL markup stays whole: its empty elements (a picture's reference, a
            // line break) carry meaning.
            if (isCopiedSPLMarkup(child))
                continue;
            if (child.hasChildNodes())
                RemoveEmptyNodes(child);
            if (child.text().isEmpty() && !holdsCopiedSPLMarkup(child))
                node.removeChild(child);
        }
    } catch (...) {
        // A failure ends the pruning of this level; what was pruned stays pruned.
        reportSkippedError(std::current_exception(), SkipSite{__FILE__, __LINE__, __func__});
    }
}

} // namespace veldra
