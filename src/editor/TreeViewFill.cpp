// Turning a document into the editor's tree: the load of a file, the node fill with keys and
// captions, and the full rebuild that keeps what the user expanded, selected and coloured.

#include "editor/frmXMLEditor.h"

#include "app/Captions.h"
#include "app/SharedProcedures.h"
#include "editor/DefinitionDocument.h"
#include "editor/SettingsDocument.h"
#include "editor/TreePaths.h"
#include "editor/TreeView.h"
#include "platform/core/Skip.h"
#include "platform/core/VbString.h"
#include "platform/ui/Ui.h"
#include "platform/xml/Document.h"

#include <QFileInfo>
#include <QBrush>
#include <QFont>
#include <QTreeWidgetItem>

#include <optional>

namespace veldra {

namespace {

// Attribute names hidden from the captions of a settings document. A name is hidden when
// it occurs anywhere in this text (so "ID", "Type" or "Max" are hidden too).
const QString HiddenAttributeNames = QStringLiteral(
    "AllowMultiLineText,Color,listType,align,styleCode,xmlns,ConstraintFileType,ConstraintCodeSystem,"
    "ConstraintValues,ConstraintDenyRemove,ConstraintLengthMin,ConstraintLengthMax,ConstraintDataType,"
    "ConstraintExample,Word2SPLID");

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
bool onlyHiddenAttributes(const xmlNode* element)
{
    // Elements in a row mostly carry the same one attribute name.
    static QByteArray lastName;
    static bool lastHidden = false;
    if (element->nsDef)
        return false;
    for (const xmlAttr* attribute = element->properties; attribute; attribute = attribute->next) {
        if (attribute->ns)
            return false;
        const char* name = reinterpret_cast<const char*>(attribute->name);
        if (qstrcmp(lastName.constData(), name) != 0 || lastName.isNull()) {
            lastName = QByteArray(name);
            lastHidden = isHiddenAttribute(QString::fromUtf8(name));
        }
        if (!lastHidden)
            return false;
    }
    return true;
}

// Every element gets a key, so the key hash is sized once for all of them.
qsizetype elementsIn(const xmlNode* node)
{
    if (node->type != XML_ELEMENT_NODE)
        return 0;
    qsizetype count = 1;
    for (const xmlNode* child = node->children; child; child = child->next)
        count += elementsIn(child);
    return count;
}

bool isTextContent(xml::NodeType type)
{
    return type == xml::NodeType::Text || type == xml::NodeType::CData;
}

// A new key is hex digits and dashes, so it is written to the element as it is.
void writeKey(xmlNodePtr element, const QString& key)
{
    xmlSetNsProp(element, nullptr, reinterpret_cast<const xmlChar*>("Word2SPLID"),
                 reinterpret_cast<const xmlChar*>(key.toLatin1().constData()));
}

void makeBold(QTreeWidgetItem* node)
{
    QFont font = node->font(0);
    font.setBold(true);
    node->setFont(0, font);
}

// Builds the nodes of one tree, detached from any tree control, in one walk of the document.
// Keys go into a hash as they are made, so a taken key is found without a search. A settings
// document's nodes below its root get their captions as words and their pictures as they are
// made, each caption set once when its element is complete.
class TreeBuilder {
public:
    TreeBuilder(const frmXMLEditor& editor, bool settingsMode, const TreeImageList* images)
        : editor_(editor), settingsMode_(settingsMode)
    {
        if (images)
            pictures_.emplace(*images);
    }

    void addTopLevel(const xml::NodeList& nodes)
    {
        qsizetype elements = 0;
        for (const xml::Node& node : nodes)
            elements += elementsIn(node.raw());
        index.reserve(elements);
        if (settingsMode_)
            belowRoot_.reserve(elements);
        Parent none;
        addNodes(nodes, none);
    }

    // The root's caption in bold and its picture; the nodes below it bold when they have
    // children, black when they are leaves.
    void finishSettingsEmphasis()
    {
        if (topLevel.isEmpty())
            return;
        makeBold(topLevel.first());
        // One font and one colour shared by all the nodes.
        QFont boldFont;
        boldFont.setBold(true);
        const QVariant bold(boldFont);
        const QVariant black(QBrush(QColor(0, 0, 0)));
        for (QTreeWidgetItem* item : std::as_const(belowRoot_)) {
            if (item->childCount() > 0)
                item->setData(0, Qt::FontRole, bold);
            else
                item->setData(0, Qt::ForegroundRole, black);
        }
        if (pictures_)
            pictures_->setRoot(topLevel.first());
    }

    QList<QTreeWidgetItem*> topLevel;
    QHash<QString, QTreeWidgetItem*> index;

private:
    // The tree node that takes the children of an element, with what the caption of the
    // element's text needs.
    struct Parent {
        QTreeWidgetItem* item = nullptr;
        QString name;
        QString attributes;
        // Settings mode: the caption as the element's content makes it, set when complete.
        QString caption;
        bool hasText = false;
        bool revisited = false;  // the node of an earlier element with the same key
        bool inWords = false;    // at or below the first top-level node
    };

    void addNodes(const xml::NodeList& nodes, Parent& parent)
    {
        for (const xml::Node& node : nodes)
            skip([&] { addNode(node, parent); });
    }

    void addNode(const xml::Node& node, Parent& parent)
    {
        const xml::NodeType type = node.nodeType();
        if (type == xml::NodeType::ProcessingInstruction && node.nodeName() == QLatin1String("xml"))
            return;  // the XML declaration
        const bool hasChildren = node.hasChildNodes();
        if (hasChildren || type == xml::NodeType::Element) {
            Parent element = addElementNode(node, parent);
            if (hasChildren)
                addNodes(node.childNodes(), element);
            if (settingsMode_)
                completeCaption(element);
        } else if (isTextContent(type) && parent.item) {
            addTextContent(node, parent);
        }
    }

    // Adds the node of an element, or finds the node that already holds its key: an element
    // whose key is taken gets no node of its own, and its children join that node.
    Parent addElementNode(const xml::Node& element, const Parent& parent)
    {
        const bool isElement = element.nodeType() == xml::NodeType::Element;
        const QString id = isElement ? element.getAttribute(Word2SPLID) : QString();
        const QString key = id.isEmpty() ? NewGUID() : id;
        if (settingsMode_ && isElement && id != key)
            writeKey(element.raw(), key);
        Parent added;
        added.item = index.value(key, nullptr);
        added.name = element.nodeName();
        added.attributes = editor_.BuildAttributeString(element);
        if (added.item) {
            added.revisited = true;
            added.inWords = settingsMode_ && !topLevel.isEmpty() && treeRootOf(added.item) == topLevel.first();
            return added;
        }
        added.item = new QTreeWidgetItem;
        setNodeKey(added.item, key);
        if (settingsMode_)
            added.caption = added.name + added.attributes;
        else
            setNodeCaption(added.item, added.name + added.attributes);
        if (parent.item) {
            parent.item->addChild(added.item);
            added.inWords = parent.inWords;
            if (added.inWords)
                belowRoot_.append(added.item);
        } else {
            added.inWords = settingsMode_ && topLevel.isEmpty();
            topLevel.append(added.item);
        }
        index.insert(key, added.item);
        return added;
    }

    void addTextContent(const xml::Node& content, Parent& parent)
    {
        if (!settingsMode_) {
            auto* item = new QTreeWidgetItem;
            setNodeCaption(item, content.text());
            parent.item->addChild(item);
            return;
        }
        parent.caption = wordsOf(parent.name) + QStringLiteral(": ") + content.text() + parent.attributes;
        parent.hasText = true;
    }

    // The node of an earlier element with the same key changes its caption only through text.
    void completeCaption(const Parent& element)
    {
        if (element.revisited && !element.hasText)
            return;
        if (!element.inWords) {
            setNodeCaption(element.item, element.caption);
            return;
        }
        const QString caption = SplitCamelCase(element.caption);
        setNodeCaption(element.item, caption);
        if (pictures_ && element.item != topLevel.first())
            pictures_->set(element.item, pictureKeyOf(element, caption));
    }

    // A caption's picture follows from its element name and whether it shows text or
    // attributes, so it is found once for each of those.
    QString pictureKeyOf(const Parent& element, const QString& caption)
    {
        QHash<QString, QString>& known =
            element.hasText ? textPictures_ : (element.attributes.isEmpty() ? namePictures_ : attributedPictures_);
        auto found = known.constFind(element.name);
        if (found == known.cend())
            found = known.insert(element.name, pictures_->forCaption(caption));
        return found.value();
    }

    // A document repeats a few hundred element names over thousands of values.
    const QString& wordsOf(const QString& name)
    {
        auto known = words_.constFind(name);
        if (known == words_.cend())
            known = words_.insert(name, SplitCamelCase(name));
        return known.value();
    }

    const frmXMLEditor& editor_;
    bool settingsMode_;
    std::optional<CaptionPictures> pictures_;
    QList<QTreeWidgetItem*> belowRoot_;
    QHash<QString, QString> words_;
    QHash<QString, QString> textPictures_;
    QHash<QString, QString> namePictures_;
    QHash<QString, QString> attributedPictures_;
};

// The editor holds about forty times a document's size (tree items over the parsed tree; see
// bench/editor_memory_bench.cpp), so larger files are refused before any work is done.
constexpr qint64 kMaxEditorDocumentBytes = 32LL * 1024 * 1024;

void requireEditableSize(const QString& file)
{
    const qint64 size = QFileInfo(file).size();
    if (size > kMaxEditorDocumentBytes)
        throw VbError(err::FileAccess, QStringLiteral("XMLOnTreeView"),
                      QStringLiteral("%1 is too large to open in the editor (%2 MB; the editor opens files up to %3 MB).")
                          .arg(vbstr::fileNameOf(file))
                          .arg(size / (1024 * 1024))
                          .arg(kMaxEditorDocumentBytes / (1024 * 1024)));
}

VbError loadError(const QString& file, const xml::ParseError& error)
{
    QString description = vbstr::fileNameOf(file) + QStringLiteral(": ") + error.reason;
    if (error.line > 0)
        description += QStringLiteral(" (line %1) %2").arg(error.line).arg(vbstr::trim(error.srcText));
    return VbError(error.errorCode, QStringLiteral("XMLOnTreeView"), description);
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
    if (hideEditorAttributes && onlyHiddenAttributes(SourceNode.raw()))
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
// the tree.
void frmXMLEditor::fillTree(EditorTreeView* target, const xml::NodeList& topLevel)
{
    TreeBuilder builder(*this, isSettingsMode(), TreeImageList::of(target));
    builder.addTopLevel(topLevel);
    if (isSettingsMode())
        skip([&] { builder.finishSettingsEmphasis(); });
    target->setContent(builder.topLevel, std::move(builder.index));
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
            makeBold(node);
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
    Saved = true;
    if (!document.load(file))
        return false;
    XMLDoc = std::make_unique<xml::Document>(document);
    fillTree(target, XMLDoc->childNodes());
    if (refreshDefinition)
        refreshDefinitionAttributes();
    return true;
}

void frmXMLEditor::XMLOnTreeView(EditorTreeView* TargetTreeView, const QString& XMLFile, const QString& Action,
                                 bool UpdateConstraintsFromTemplate)
{
    const bool newDocument = Action == QLatin1String("New SPLR4");
    try {
        requireEditableSize(XMLFile);
    } catch (const VbError& e) {
        ui::showError(e);
        return;
    }
    DrawRefresh(false);
    try {
        TargetTreeView->removeAllNodes();
        xml::Document document;
        const bool loaded = isSettingsMode()
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
    } catch (const std::exception& e) {
        ui::showError(toVbError(e, QStringLiteral("XMLOnTreeView")));
    }
    DrawRefresh(true);
}

void frmXMLEditor::RefreshXML(bool KeepColor)
{
    if (!XMLDoc)
        return;
    EditorCommandRunning running(*this);
    DrawRefresh(false);

    QStringList expandedKeys;
    QStringList selectedKeys;
    const QString currentKey = nodeKey(TreeView->selectedNode());
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

    skip([&] { fillTree(TreeView, XMLDoc->childNodes()); });

    for (const QString& key : std::as_const(expandedKeys))
        if (QTreeWidgetItem* node = TreeView->nodeByKey(key))
            node->setExpanded(true);
    if (QTreeWidgetItem* current = TreeView->nodeByKey(currentKey)) {
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
