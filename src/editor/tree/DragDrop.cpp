// Drops on the editor tree: files open as settings documents, a node dropped on another
// node copies its data (also between editor windows), text becomes the value of the node
// it is dropped on.

#include "editor/tree/DragDrop.h"

#include "app/window/Captions.h"
#include "app/window/WindowHelpers.h"
#include "app/window/frmMain.h"
#include "editor/document/EditorRoom.h"
#include "editor/document/SettingsDocument.h"
#include "editor/tree/TreePaths.h"
#include "editor/tree/TreeView.h"
#include "editor/document/ValueChecks.h"
#include "editor/window/frmXMLEditor.h"
#include "platform/core/Skip.h"
#include "platform/core/VbString.h"
#include "platform/ui/Ui.h"
#include "platform/xml/tree/Document.h"

#include <QMimeData>
#include <QUrl>

namespace veldra {

namespace {

bool isValueElement(const xml::Node& element)
{
    return element.hasChildNodes() && element.firstChild().nodeType() == xml::NodeType::Text;
}

bool hasElementChildren(const xml::Node& element)
{
    for (const xml::Node& child : element.childNodes())
        if (child.nodeType() == xml::NodeType::Element)
            return true;
    return false;
}

// A copy that would make the target's document larger than the editor opens is refused with
// a message: the document could not be opened again once saved.
bool fitsInTargetDocument(const EditorRoom& room, const DocumentSize& size, const xml::Node& source, const xml::Node& target)
{
    if (room.fits(size))
        return true;
    ui::msgBox(QStringLiteral("'") + SplitCamelCase(source.nodeName()) + QStringLiteral("' cannot be copied onto '")
                   + SplitCamelCase(target.nodeName())
                   + QStringLiteral("': the document would be larger than the editor opens (%1).").arg(EditorRoom::limitText()),
               ui::Buttons::OK, ui::Icon::Warning);
    return false;
}

// Whether texts of that size fit into the target's document besides what it holds.
bool textFitsInTargetDocument(const DocumentSize& texts, const xml::Node& source, const xml::Node& target)
{
    return fitsInTargetDocument(EditorRoom::leftBy(target.ownerDocument()), texts, source, target);
}

// What giving `element` the value `text` adds to its document: the text in place of its own.
DocumentSize valueGrowth(const xml::Node& element, const QString& text)
{
    const qint64 old = element.isNull() || hasElementChildren(element) ? 0 : savedSizeOfText(element.text()).bytes;
    return DocumentSize{0, 0, std::max<qint64>(0, savedSizeOfText(text).bytes - old)};
}

// The target replaced, in its parent, by a copy of the source with new ids below it; the copy
// takes the target's own id, so that the rebuilt tree keeps its node selected where the drop
// went instead of losing the selection with the element it replaced.
void replaceByCopy(const xml::Node& source, const xml::Node& target)
{
    if (!fitsInTargetDocument(EditorRoom::leftReplacing(target), importedSizeOf(source), source, target))
        return;
    const xml::Node copy = target.ownerDocument().importNode(source, true);
    AssignWord2SPLIDs(copy);
    const QString key = target.getAttribute(QStringLiteral("Word2SPLID"));
    if (!key.isEmpty())
        copy.setAttribute(QStringLiteral("Word2SPLID"), key);
    target.parentNode().replaceChild(copy, target);
}

// Like-named children of two groups: each value child of the target takes the value of the
// source child of its name (the last one when there are several).
void copyFieldWise(const xml::Node& source, const xml::Node& target)
{
    DocumentSize texts;
    for (const xml::Node& c : source.childNodes())
        texts += savedSizeOfText(c.text());
    if (!textFitsInTargetDocument(texts, source, target))
        return;
    for (const xml::Node& c : source.childNodes()) {
        for (const xml::Node& d : target.childNodes()) {
            if (d.nodeName() != c.nodeName() || hasElementChildren(d))
                continue;
            const bool eitherEmpty = !c.hasChildNodes() || !d.hasChildNodes();
            if (eitherEmpty || (isValueElement(c) && isValueElement(d)))
                skip([&] { d.setText(c.text()); });
        }
    }
}

// The target takes the source's text as its value, unless that would wipe out elements
// below the target.
void copyValue(const xml::Node& source, const xml::Node& target, QTreeWidgetItem* targetTreeNode)
{
    if (hasElementChildren(target)) {
        ui::msgBox(QStringLiteral("'") + SplitCamelCase(source.nodeName()) +
                       QStringLiteral("' cannot be copied onto '") + SplitCamelCase(target.nodeName()) +
                       QStringLiteral("': its information would replace the data elements it holds."),
                   ui::Buttons::OK, ui::Icon::Warning);
        return;
    }
    const QString text = source.text();
    if (!textFitsInTargetDocument(valueGrowth(target, text), source, target))
        return;
    target.setText(text);
    if (targetTreeNode)
        setNodeCaption(targetTreeNode, SplitCamelCase(target.nodeName()) + QStringLiteral(": ") + source.text());
}

// Dropped text larger than the document may still take is refused with a message, as a copy is.
bool droppedTextFits(const xml::Document& document, const QString& path, const QString& text, QTreeWidgetItem* target)
{
    xml::Node element;
    skip([&] { element = document.selectSingleNode(path); });
    if (EditorRoom::leftBy(document).fits(valueGrowth(element, text)))
        return true;
    ui::msgBox(QStringLiteral("The dropped text cannot become the value of '") + SplitCamelCase(GetNodeNameFromCaption(target))
                   + QStringLiteral("': the document would be larger than the editor opens (%1).").arg(EditorRoom::limitText()),
               ui::Buttons::OK, ui::Icon::Warning);
    return false;
}

bool holdsFiles(const QMimeData& data)
{
    for (const QUrl& url : data.urls())
        if (url.isLocalFile())
            return true;
    return false;
}

frmXMLEditor* currentEditorWindow()
{
    frmMain* main = mainForm();
    return main ? qobject_cast<frmXMLEditor*>(main->SourceXMLEditor.data()) : nullptr;
}

} // namespace

bool CopyNodeData(const xml::Document& sourceDocument, const xml::Document& targetDocument,
                  const QString& sourcePath, const QString& targetPath, QTreeWidgetItem* targetTreeNode)
{
    xml::Node s;
    xml::Node t;
    skip([&] {
        s = sourceDocument.selectSingleNode(sourcePath);
        t = targetDocument.selectSingleNode(targetPath);
    });
    if (s.isNull() || t.isNull())
        return false;

    bool rebuild = false;
    skip([&] {
        if (s.hasChildNodes() && t.hasChildNodes()) {
            if (isValueElement(s) && isValueElement(t)) {
                copyValue(s, t, targetTreeNode);
            } else if (s.nodeName() == t.nodeName()) {
                replaceByCopy(s, t);
                rebuild = true;
            } else {
                copyFieldWise(s, t);
                rebuild = true;
            }
        } else if (s.nodeName() == t.nodeName() &&
                   t.getAttribute(QStringLiteral("ConstraintDataType")) == QLatin1String("SPLFile")) {
            replaceByCopy(s, t);
            rebuild = true;
        } else {
            copyValue(s, t, targetTreeNode);
        }
    });
    return rebuild;
}

void frmXMLEditor::TreeView_OLEDragDrop(const QMimeData& data, QTreeWidgetItem* target, const EditorTreeView* sourceTree)
{
    if (holdsFiles(data)) {
        OpenDroppedXMLFiles(&data);
        return;
    }
    const std::optional<EditorCommandRunning> running = startEditorCommand(*this);
    if (!running)
        return;
    frmXMLEditor* sourceEditor = sourceTree ? ofTree(sourceTree) : currentEditorWindow();
    if (!sourceEditor)
        sourceEditor = this;
    QTreeWidgetItem* sourceNode = sourceTree ? sourceTree->nodeByKey(sourceTree->draggedKey) : nullptr;
    if (!sourceNode)
        sourceNode = sourceEditor->TreeView->selectedNode();
    const bool nodeDrag = sourceTree != nullptr;
    // A node dropped on itself changes nothing.
    if (nodeDrag && sourceEditor == this && sourceNode == target)
        return;
    if (!target)
        return;

    QString sourcePath;
    QString targetPath;
    skip([&] { sourcePath = BuildXPathFromTreeView(sourceNode, Mode); });
    skip([&] { targetPath = BuildXPathFromTreeView(target, Mode); });

    if (sourcePath != targetPath || nodeDrag) {
        TreeView->selectNode(target);
        bool rebuild = false;
        if (sourceEditor->XMLDoc && XMLDoc)
            skip([&] { rebuild = CopyNodeData(*sourceEditor->XMLDoc, *XMLDoc, sourcePath, targetPath, target); });
        if (rebuild)
            RefreshXML(false);
    } else if (XMLDoc) {
        QString value = vbstr::trim(data.text());
        if (!droppedTextFits(*XMLDoc, targetPath, value, target))
            return;
        skip([&] { SetValueToTreeViewXML(target, GetNodeNameFromCaption(target), value, targetPath, *XMLDoc); });
        RefreshXML(false);
    }
    Saved = false;
}

} // namespace veldra
