// Turning a document into the editor's tree: the load of a file, the attribute text of captions,
// and the full rebuild that keeps what the user expanded, selected and coloured.

#include "editor/window/frmXMLEditor.h"

#include "app/log/Log.h"
#include "app/shared/SharedProcedures.h"
#include "app/window/Captions.h"
#include "editor/document/DefinitionDocument.h"
#include "editor/document/EditorLimit.h"
#include "editor/document/SettingsDocument.h"
#include "editor/excel/ImportNotes.h"
#include "editor/tree/TreeBuilder.h"
#include "editor/tree/TreePaths.h"
#include "editor/tree/TreeView.h"
#include "platform/core/InputScan.h"
#include "platform/core/RegularFile.h"
#include "platform/core/Skip.h"
#include "platform/core/VbString.h"
#include "platform/ui/Ui.h"
#include "platform/xml/io/InputLimits.h"
#include "platform/xml/tree/Cursor.h"
#include "platform/xml/tree/Document.h"

#include <QTreeWidgetItem>

#include <limits>
#include <new>

namespace veldra {

namespace {

// Attribute names hidden from the captions of a settings document. A name is hidden when
// it occurs anywhere in this text (so "ID", "Type" or "Max" are hidden too).
const QString HiddenAttributeNames = QStringLiteral(
    "AllowMultiLineText,Color,listType,align,styleCode,xmlns,ConstraintFileType,ConstraintCodeSystem,"
    "ConstraintValues,ConstraintDenyRemove,ConstraintLengthMin,ConstraintLengthMax,ConstraintDataType,"
    "ConstraintExample,Word2SPLID,ImportedRecords");

const QString Word2SPLID = QStringLiteral("Word2SPLID");

// The substring test, remembered per name: documents repeat a handful of attribute names.
bool isHiddenAttribute(const QString& name)
{
    static QHash<QString, bool> known;
    auto it = known.constFind(name);
    if (it == known.cend())
        it = known.insert(name, HiddenAttributeNames.contains(name));
    return it.value();
}

// Most elements of a settings document carry only attributes the editor hides (their ids),
// which is settled on the parsed names without making a string for each.
bool onlyHiddenAttributes(const xml::Cursor& element)
{
    // Elements in a row mostly carry the same one attribute name.
    static QByteArray lastName;
    static bool lastHidden = false;
    if (element.declaresNamespaces())
        return false;
    for (xml::Cursor attribute = element.firstAttribute(); attribute; attribute = attribute.nextAttribute()) {
        if (attribute.hasNamespace())
            return false;
        const char* name = attribute.localName();
        if (qstrcmp(lastName.constData(), name) != 0 || lastName.isNull()) {
            lastName = QByteArray(name);
            lastHidden = isHiddenAttribute(QString::fromUtf8(name));
        }
        if (!lastHidden)
            return false;
    }
    return true;
}

// A document the editor cannot hold is refused on a count of what it builds before it is
// parsed: each element, text, comment and processing instruction becomes a tree item, which
// the limit counts as elements. Settings documents may hold longer texts than outside files
// (kMaxEditorTextCharacters). A file that cannot be read is left to the load, which says why.
void requireEditableSize(const QString& file)
{
    const FileContent content = readRegularFile(file, xml::kMaxInputBytes);
    if (!content.ok())
        return;
    const MarkupScan scan = scanMarkup(content.bytes, {std::numeric_limits<qint64>::max(), kMaxEditorTextCharacters});
    if (scan.refusal)
        throw VbError(err::XmlParse, QStringLiteral("XMLOnTreeView"),
                      QStringLiteral("%1: %2").arg(vbstr::fileNameOf(file), scan.refusal->reason));
    const MarkupCount& count = scan.count;
    const qint64 items = count.elements + count.texts + count.commentsAndInstructions;
    if (!fitsInEditor({items, count.attributes, content.bytes.size()}))
        throw VbError(err::FileAccess, QStringLiteral("XMLOnTreeView"),
                      QStringLiteral("%1 is too large to open in the editor (%2 elements and %3 attributes, each text, "
                                     "comment and processing instruction counted as an element; the editor opens "
                                     "documents of %4).")
                          .arg(vbstr::fileNameOf(file), QString::number(items), QString::number(count.attributes),
                               editorLimitText()));
}

VbError loadError(const QString& file, const xml::ParseError& error)
{
    QString description = vbstr::fileNameOf(file) + QStringLiteral(": ") + error.reason;
    if (error.line > 0)
        description += QStringLiteral(" (line %1) %2").arg(error.line).arg(vbstr::trim(error.srcText));
    return VbError(error.errorCode, QStringLiteral("XMLOnTreeView"), description);
}

VbError outOfMemoryError(const QString& file)
{
    return VbError(err::General, QStringLiteral("XMLOnTreeView"),
                   vbstr::fileNameOf(file)
                       + QStringLiteral(": There is not enough memory to show the document; it was not opened."));
}

// Only a document whose document element is SPLR4 is a settings document: any other (an SPL
// file, most likely) would be rewritten with the editor's ids all through it by a save.
void requireSettingsRoot(const QString& file, const xml::Document& document)
{
    const QString root = document.documentElement().nodeName();
    if (root == QLatin1String("SPLR4"))
        return;
    throw VbError(err::XmlParse, QStringLiteral("XMLOnTreeView"),
                  QStringLiteral("%1 is not a settings document: its document element is <%2>, not <SPLR4>. It was not "
                                 "opened and is left unchanged.\r\n\r\nTo look at an SPL file, use File > Review SPL "
                                 "File (XML)... or File > Preview SPL File in Browser...")
                      .arg(vbstr::fileNameOf(file), root));
}

// The keys of `node` and of the nodes above it, nearest first.
QStringList keyLine(const QTreeWidgetItem* node)
{
    QStringList keys;
    for (; node; node = node->parent())
        keys << nodeKey(node);
    return keys;
}

// The node of the first key of `line` that the tree still shows: a rebuild after the selected
// element went (removed, or replaced by an import) keeps the user where it stood, at the
// nearest element above it, instead of leaving no node selected, which sends the next command
// to the document's root.
QTreeWidgetItem* firstNodeOf(const EditorTreeView& tree, const QStringList& line)
{
    for (const QString& key : line)
        if (QTreeWidgetItem* node = tree.nodeByKey(key))
            return node;
    return nullptr;
}

} // namespace

QString frmXMLEditor::GenerateTreeViewKey(const xml::Node& SourceNode) const
{
    if (SourceNode.nodeType() == xml::NodeType::Element) {
        const QString id = SourceNode.getAttribute(Word2SPLID);
        if (!id.isEmpty())
            return id;
    }
    return NewGUID();
}

QString frmXMLEditor::BuildAttributeString(const xml::Node& SourceNode) const
{
    if (SourceNode.nodeType() != xml::NodeType::Element)
        return {};
    const bool hideEditorAttributes = isSettingsMode();
    if (hideEditorAttributes && onlyHiddenAttributes(xml::Cursor(SourceNode)))
        return {};
    QString items;
    for (const xml::Node& attribute : SourceNode.attributes()) {
        const QString name = attribute.nodeName();
        if (hideEditorAttributes && isHiddenAttribute(name))
            continue;
        if (!items.isEmpty())
            items += QLatin1Char(' ');
        items += QLatin1Char('@') + name + QStringLiteral("=\"") + attribute.text() + QLatin1Char('"');
    }
    return items.isEmpty() ? QString() : QStringLiteral(" [") + items + QLatin1Char(']');
}

// A settings document's nodes get their captions, pictures and emphasis before they join
// the tree; the ids its worksheets' notes list are settled first, so that no renewal leaves a
// note naming another element than the one its import brought. Returns how many elements got
// a fresh id.
int frmXMLEditor::fillTree(EditorTreeView* target, const xml::NodeList& topLevel)
{
    const ImportNotesRepair notes = isSettingsMode() ? keepImportNotesTrue(topLevel) : ImportNotesRepair();
    TreeNodes nodes = buildTreeNodes(*this, topLevel, TreeImageList::of(target));
    target->setContent(nodes.topLevel, std::move(nodes.index));
    reportUntoldCopies(XMLFileName, notes);
    return nodes.renewedIds + notes.renewedIds;
}

// Ids renewed by the open of a file change the document: saved, it keeps them, and the tree
// and the file name the same elements.
void frmXMLEditor::reportRenewedIds(int renewed)
{
    if (renewed == 0)
        return;
    Saved = false;
    WriteLog(log_category::Warning,
             QStringLiteral("%1: %2 element id(s) (Word2SPLID) were repeated or held \"_\" and were renewed; save "
                            "the document to keep them.")
                 .arg(vbstr::fileNameOf(XMLFileName))
                 .arg(renewed));
}

// Refreshes the definition attributes of an opened document. A definition file that is
// missing or does not parse is reported, and the document keeps its attributes as they are.
void frmXMLEditor::refreshDefinitionAttributes()
{
    xml::Document definition;
    try {
        definition = requireDefinitionDocument();
    } catch (const VbError& e) {
        ui::showError(e);
        return;
    }
    for (const xml::Node& node : XMLDoc->childNodes())
        UpdateConstraintsFromTemplate(node, definition);
}

// Mode "View": the file as it is, text as nodes of its own; the window keeps no document.
bool frmXMLEditor::loadForReview(EditorTreeView* target, const QString& file, xml::Document& document)
{
    const bool loaded = document.load(file);
    if (loaded)
        fillTree(target, document.childNodes());
    target->forEachNode([](QTreeWidgetItem* node) {
        if (node->childCount() > 0)
            makeNodeBold(node);
    });
    XMLFileName = file;
    Saved = true;
    return loaded;
}

// Mode "SPLR4": the window's document. A file that did not load leaves the window without a
// document, so that nothing can ever be saved over it.
bool frmXMLEditor::loadSettings(EditorTreeView* target, const QString& file, bool newDocument,
                                bool refreshDefinition, xml::Document& document)
{
    XMLDoc.reset();
    if (!newDocument)
        XMLFileName = file;
    // Taken before the file is read: a change made while it loads counts as a change.
    fileOnDisk_ = newDocument ? FileIdentity() : FileIdentity::of(file);
    Saved = true;
    if (!document.load(file))
        return false;
    requireSettingsRoot(file, document);
    // The window takes the document only with its whole tree: a fill that runs out of memory
    // leaves the window without one, as a file that does not parse does.
    const int renewed = fillTree(target, document.childNodes());
    XMLDoc = std::make_unique<xml::Document>(document);
    if (!newDocument)
        reportRenewedIds(renewed);
    if (refreshDefinition)
        refreshDefinitionAttributes();
    return true;
}

bool frmXMLEditor::XMLOnTreeView(EditorTreeView* TargetTreeView, const QString& XMLFile, const QString& Action,
                                 bool UpdateConstraintsFromTemplate)
{
    const bool newDocument = Action == QLatin1String("New SPLR4");
    try {
        requireEditableSize(XMLFile);
    } catch (const VbError& e) {
        ui::showError(e);
        return false;
    } catch (const std::bad_alloc&) {
        ui::showError(outOfMemoryError(XMLFile));
        return false;
    }
    DrawRefresh(false);
    bool loaded = false;
    try {
        TargetTreeView->removeAllNodes();
        xml::Document document;
        loaded = isSettingsMode()
                     ? loadSettings(TargetTreeView, XMLFile, newDocument, UpdateConstraintsFromTemplate, document)
                     : loadForReview(TargetTreeView, XMLFile, document);
        if (!loaded)
            throw loadError(XMLFile, document.parseError());
        if (newDocument) {
            TreeView->selectNode(TreeView->rootNode());
            CreateGUIDs(*this);
        }
        if (QTreeWidgetItem* root = TargetTreeView->rootNode())
            root->setExpanded(true);
        RenderTreeviewColor();
    } catch (const std::bad_alloc&) {
        ui::showError(outOfMemoryError(XMLFile));
    } catch (const std::exception& e) {
        ui::showError(toVbError(e, QStringLiteral("XMLOnTreeView")));
    }
    DrawRefresh(true);
    return loaded;
}

void frmXMLEditor::RefreshXML(bool KeepColor)
{
    if (!XMLDoc)
        return;
    EditorCommandRunning running(*this);
    DrawRefresh(false);

    QStringList expandedKeys;
    QStringList selectedKeys;
    const QStringList currentLine = keyLine(TreeView->selectedNode());
    const QString currentKey = currentLine.value(0);
    QList<QPair<QString, QColor>> keptColors;
    TreeView->forEachNode([&](QTreeWidgetItem* node) {
        if (node->isExpanded())
            expandedKeys << nodeKey(node);
        if (node->isSelected())
            selectedKeys << nodeKey(node);
        if (KeepColor) {
            const QColor color = nodeBackColor(node);
            if (color != QColor(Qt::white))
                keptColors.append({nodeKey(node), color});
        }
    });

    // A fill that runs out of memory makes no tree, and the one shown stays: the document holds
    // the change all the same, and the user is told.
    skip([&] {
        try {
            // A command that brought in elements whose ids others hold has changed them too.
            if (fillTree(TreeView, XMLDoc->childNodes()) > 0)
                Saved = false;
        } catch (const std::bad_alloc&) {
            ui::showError(VbError(err::General, QStringLiteral("RefreshXML"),
                                  QStringLiteral("There is not enough memory to show the document's changes in the "
                                                 "tree; the document holds them.")));
        }
    });

    for (const QString& key : std::as_const(expandedKeys))
        if (QTreeWidgetItem* node = TreeView->nodeByKey(key))
            node->setExpanded(true);
    if (QTreeWidgetItem* current = firstNodeOf(*TreeView, currentLine)) {
        TreeView->selectNodeInPlace(current);
        current->setSelected(selectedKeys.contains(currentKey));
    }
    for (const QString& key : std::as_const(selectedKeys))
        if (QTreeWidgetItem* node = TreeView->nodeByKey(key))
            node->setSelected(true);

    RenderTreeviewColor();
    for (const auto& [key, color] : std::as_const(keptColors))
        if (QTreeWidgetItem* node = TreeView->nodeByKey(key))
            setNodeBackColor(node, color);

    DrawRefresh(true);
}

} // namespace veldra
