#include "editor/document/NodeRules.h"

#include "app/window/Captions.h"
#include "editor/window/BusyCursor.h"
#include "editor/document/DefinitionDocument.h"
#include "editor/document/EditorRoom.h"
#include "editor/window/EditorErrors.h"
#include "editor/window/FieldDialogs.h"
#include "editor/document/SettingsDocument.h"
#include "editor/window/SharedDialog.h"
#include "editor/tree/TreePaths.h"
#include "editor/tree/TreeView.h"
#include "editor/window/frmXMLEditor.h"
#include "platform/core/AppInfo.h"
#include "platform/core/VbString.h"
#include "platform/ui/CommonDialog.h"
#include "platform/ui/Ui.h"
#include "platform/xml/query/QueryLiteral.h"
#include "platform/xml/tree/Document.h"

#include <QTreeWidgetItem>

namespace veldra {

namespace {

const QString DataType = QStringLiteral("ConstraintDataType");

// The element path of a node without predicates, as the definition and the transformation
// file name elements.
QString definitionPath(const QTreeWidgetItem* node)
{
    QString path = BuildXPathFromTreeView(node, QString());
    if (path.endsWith(QLatin1Char('/')))
        path.chop(1);
    return path;
}

// The transformation file's entries for an element path; none when the file is missing or
// does not parse.
xml::NodeList transformEntries(const QString& path, bool withPostProcessing)
{
    xml::Document transform;
    if (!transform.load(transformFilePath()))
        return {};
    const QString source = QStringLiteral("[Definition/Source=") + xml::queryLiteral(path) + QLatin1Char(']');
    QString query = QStringLiteral("/Word2SPLTransform/Transform") + source;
    if (withPostProcessing)
        query += QStringLiteral(" | /Word2SPLTransform/PostProcessing") + source;
    return transform.selectNodes(query);
}

bool attributeIsOne(const xml::Node& element, const QString& name)
{
    return !element.isNull() && element.getAttribute(name) == QLatin1String("1");
}

void showFailure(const std::exception& e)
{
    ui::showError(toVbError(e, app_info::title()));
}

// Whether the selected node may get another element of the definition kind `kind`: when it
// has one, the kind must be cloneable; otherwise it may always be added.
bool isAddable(QTreeWidgetItem* selected, const xml::Node& kind, const xml::Document& doc)
{
    const QString name = kind.nodeName();
    for (int i = 0; i < selected->childCount(); ++i) {
        QTreeWidgetItem* child = selected->child(i);
        if (GetNodeNameFromCaption(child) == name) {
            if (CanCloneNode(child))
                return true;
            break;
        }
    }
    return doc.selectSingleNode(BuildXPathFromTreeView(selected, SettingsMode) + QLatin1Char('/') + xml::queryName(name))
        .isNull();
}

QString addableChildren(QTreeWidgetItem* selected, const xml::Node& definitionElement, const xml::Document& doc)
{
    QStringList entries;
    for (const xml::Node& kind : definitionElement.childNodes()) {
        if (kind.nodeType() != xml::NodeType::Element || !isAddable(selected, kind, doc))
            continue;
        const QString prefix = kind.hasChildNodes() ? QStringLiteral("[+] ") : QString();
        entries << prefix + SplitCamelCase(kind.nodeName());
    }
    return entries.join(QLatin1Char(';'));
}

// The node of the settings element at `path` before which a new element of the definition
// kind `kind` goes: the first element of its own kind, else the first element of the
// nearest later kind, else the node after the nearest earlier kind; null means append.
xml::Node insertionAnchor(const xml::Node& kind, const QString& path, const xml::Document& doc)
{
    auto firstAt = [&](const xml::Node& definitionKind) {
        return doc.selectSingleNode(path + QLatin1Char('/') + xml::queryName(definitionKind.nodeName()));
    };
    if (xml::Node same = firstAt(kind); !same.isNull())
        return same;
    for (xml::Node later = kind.nextSibling(); !later.isNull(); later = later.nextSibling())
        if (later.nodeType() == xml::NodeType::Element)
            if (xml::Node found = firstAt(later); !found.isNull())
                return found;
    for (xml::Node earlier = kind.previousSibling(); !earlier.isNull(); earlier = earlier.previousSibling())
        if (earlier.nodeType() == xml::NodeType::Element)
            if (xml::Node found = firstAt(earlier); !found.isNull())
                return found.nextSibling();
    return {};
}

xml::Node definitionChild(const xml::Node& definitionElement, const QString& childName)
{
    for (const xml::Node& kind : definitionElement.childNodes())
        if (kind.nodeType() == xml::NodeType::Element && kind.nodeName() == childName)
            return kind;
    return {};
}

} // namespace

void AddSPLR4Node(frmXMLEditor& editor, EditorTreeView& tree)
{
    if (!editor.XMLDoc)
        return;
    try {
        QTreeWidgetItem* selected = tree.selectedNode();
        const QString defPath = definitionPath(selected);
        // The selected element itself, not the first one at its path: an import goes where
        // the user asked for it.
        const xml::Node element = elementBehind(selected, *editor.XMLDoc);
        if (element.isNull())
            return;
        if (IsSPLFileNode(element)) {
            editor.Saved = false;
            AddSPLFile(editor, tree, element);
            return;
        }
        const xml::Document definition = requireDefinitionDocument();
        const xml::Node definitionElement = definition.selectSingleNode(defPath);
        if (definitionElement.isNull())
            throw editorError(QStringLiteral("The definition has no element at %1.").arg(defPath));
        const xml::Node templateElement = editor.XMLDoc->importNode(definitionElement, false);
        const QString words = SplitCamelCase(templateElement.nodeName());
        const QString list = addableChildren(selected, definitionElement, *editor.XMLDoc);
        if (list.isEmpty()) {
            ui::msgBox(QStringLiteral("No more Information can be added to '") + words + QStringLiteral("'."),
                       ui::Buttons::OK, ui::Icon::Warning);
            return;
        }
        templateElement.setAttribute(QStringLiteral("ConstraintValues"), list);
        FieldDialogRequest request;
        request.Mode = QStringLiteral("AddNode");
        request.SourceForm = &editor;
        request.TargetTreeViewNode = selected;
        request.info = infoCaption(words);
        request.frameCaption = QStringLiteral("Add Information to ") + words;
        request.caption = request.frameCaption;
        request.rows.push_back(templateElement);
        request.preselectOnlyEntry = true;
        if (fieldDialogLauncher())
            fieldDialogLauncher()(request);
    } catch (const std::exception& e) {
        showFailure(e);
    }
}

void AddSPLFile(frmXMLEditor& editor, EditorTreeView& /*tree*/, const xml::Node& element)
{
    try {
        ui::CommonDialog& dialog = sharedDialog();
        dialog.cancelError = true;
        dialog.prepareFile(QStringLiteral("Add SPL File"), QStringLiteral("SPL Files XML Format | *.xml"));
        try {
            dialog.showOpen();
        } catch (const VbError& cancelled) {
            if (cancelled.number() == ui::CommonDialog::cancelErrorNumber)
                return;
            throw;
        }
        xml::Document spl;
        if (!spl.load(dialog.fileName, xml::OutsideFile))
            throw editorError(QStringLiteral("The SPL file %1 cannot be read: %2").arg(dialog.fileName, spl.parseError().reason));
        const xml::NodeList nodes = spl.selectNodes(element.getAttribute(QStringLiteral("ConstraintXPath")));
        const xml::Document settings = element.ownerDocument();
        DocumentSize added;
        for (const xml::Node& node : nodes)
            added += importedSizeOf(node);
        if (!EditorRoom::leftBy(settings).fits(added))
            throw editorError(QStringLiteral("The SPL file %1 cannot be added: the document would be larger than the editor "
                                             "opens (%2).").arg(dialog.fileName, EditorRoom::limitText()));
        for (const xml::Node& node : nodes)
            element.appendChild(settings.importNode(node, true));
        editor.RefreshXML(true);
    } catch (const std::exception& e) {
        throw passedOn(e, QStringLiteral("AddSPLFile"));
    }
}

bool AddNodeToTreeViewXML(frmXMLEditor& editor, QTreeWidgetItem* targetNode, const QString& targetName,
                          QString& chosen, const QString& path, const xml::Document& doc)
{
    try {
        chosen = vbstr::trim(QString(chosen).remove(QStringLiteral("[+]")));
        if (chosen.isEmpty()) {
            ui::msgBox(QStringLiteral("Please select the data you want to add to '") + SplitCamelCase(targetName) +
                           QStringLiteral("'."),
                       ui::Buttons::OK, ui::Icon::Warning);
            return false;
        }
        const xml::Document definition = requireDefinitionDocument();
        const QString defPath = definitionPath(targetNode);
        const QString childName = QString(chosen).remove(QLatin1Char(' '));
        const xml::Node kind = definitionChild(definition.selectSingleNode(defPath), childName);
        if (kind.isNull())
            throw editorError(QStringLiteral("'%1' is not an element that %2 may hold.").arg(chosen, defPath));
        const xml::Node target = doc.selectSingleNode(path);
        if (target.isNull())
            throw editorError(QStringLiteral("The document has no element at %1.").arg(path));
        const xml::Node newElement = doc.importNode(kind, true);
        AssignWord2SPLIDs(newElement);
        target.insertBefore(newElement, insertionAnchor(kind, path, doc));
        editor.RefreshXML(false);
        editor.Saved = false;
        return true;
    } catch (const std::exception& e) {
        throw passedOn(e, QStringLiteral("AddNodeToTreeViewXML"));
    }
}

void CloneSPLR4Node(frmXMLEditor& editor, EditorTreeView& tree)
{
    if (!editor.XMLDoc)
        return;
    try {
        QTreeWidgetItem* node = tree.selectedNode();
        const QString caption = nodeCaption(node);
        if (!CanCloneNode(node)) {
            ui::msgBox(QLatin1Char('\'') + caption + QStringLiteral("' cannot be cloned."), ui::Buttons::OK,
                       ui::Icon::Warning);
            return;
        }
        if (ui::msgBox(QStringLiteral("Are you sure you want to clone '") + caption + QStringLiteral("'?"),
                       ui::Buttons::YesNo, ui::Icon::Question) != ui::Answer::Yes)
            return;
        BusyCursor hourglass;
        const xml::Node original = elementBehind(node, *editor.XMLDoc);
        if (original.isNull())
            throw editorError(QStringLiteral("The document has no element for '%1'.").arg(caption));
        if (!EditorRoom::leftBy(*editor.XMLDoc).fits(importedSizeOf(original))) {
            ui::msgBox(QLatin1Char('\'') + caption + QStringLiteral("' cannot be cloned: the document would be larger than the "
                                                                    "editor opens (%1).").arg(EditorRoom::limitText()),
                       ui::Buttons::OK, ui::Icon::Warning);
            return;
        }
        const xml::Node copy = original.cloneNode(true);
        AssignWord2SPLIDs(copy);
        // Only the copy gets new generated ids; the original and its namesakes keep theirs.
        CreateGUIDsOfElement(copy);
        original.parentNode().insertBefore(copy, original);
        editor.RefreshXML(true);
        tree.selectNode(nodeOfElement(tree, copy));
        editor.Saved = false;
    } catch (const std::exception& e) {
        showFailure(e);
    }
}

void RemoveSPLR4Node(frmXMLEditor& editor, EditorTreeView& tree)
{
    if (!editor.XMLDoc)
        return;
    try {
        QTreeWidgetItem* node = tree.selectedNode();
        const xml::Node element = elementBehind(node, *editor.XMLDoc);
        if (!element.isNull() && element == editor.XMLDoc->documentElement())
            return;
        if (!CanRemoveNode(element)) {
            ui::msgBox(QLatin1Char('\'') + SplitCamelCase(GetNodeNameFromCaption(node)) + QStringLiteral("' cannot be removed."),
                       ui::Buttons::OK, ui::Icon::Warning);
            return;
        }
        if (ui::msgBox(QStringLiteral("Are you sure you want to remove '") + nodeCaption(node) + QStringLiteral("'?"),
                       ui::Buttons::YesNo, ui::Icon::Warning) != ui::Answer::Yes)
            return;
        BusyCursor hourglass;
        element.parentNode().removeChild(element);
        editor.RefreshXML(true);
        editor.Saved = false;
    } catch (const std::exception& e) {
        showFailure(e);
    }
}

bool CanCloneNode(const QTreeWidgetItem* node)
{
    bool result = false;
    for (const xml::Node& entry : transformEntries(definitionPath(node), true))
        result = attributeIsOne(entry.selectSingleNode(QStringLiteral("Definition/Target")), QStringLiteral("AllowClone"));
    return result;
}

bool CanReverseTransformNode(const QTreeWidgetItem* node)
{
    for (const xml::Node& entry : transformEntries(definitionPath(node), false))
        if (attributeIsOne(entry.selectSingleNode(QStringLiteral("Definition")), QStringLiteral("AllowReverseTransform")))
            return true;
    return false;
}

bool IsSPLFileNode(const xml::Node& element)
{
    return !element.isNull() && element.getAttribute(DataType) == QLatin1String("SPLFile");
}

bool CanRemoveNode(const xml::Node& element)
{
    if (element.isNull())
        return false;
    const QString denyRemove = element.getAttribute(QStringLiteral("ConstraintDenyRemove"));
    if (!denyRemove.isNull() && !vbstr::isNumeric(denyRemove))
        throw editorError(QStringLiteral("ConstraintDenyRemove \"%1\" is not a number.").arg(denyRemove));
    return true;
}

} // namespace veldra
