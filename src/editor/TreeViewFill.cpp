// Turning a document into the editor's tree: the load of a file, the node fill with keys and
// captions, and the full rebuild that keeps what the user expanded, selected and coloured.

#include "editor/frmXMLEditor.h"

#include "app/Captions.h"
#include "app/SharedProcedures.h"
#include "editor/DefinitionDocument.h"
#include "editor/EditorTreeItem.h"
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
#include <QStringBuilder>
#include <QTreeWidgetItem>
#include <QVarLengthArray>

#include <optional>
#include <string>
#include <string_view>
#include <unordered_map>

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

// The element's Word2SPLID (null when it has none), read on the parsed attributes: nearly
// every element of a settings document carries one.
QString keyAttribute(const xmlNode* element)
{
    for (const xmlAttr* attribute = element->properties; attribute; attribute = attribute->next) {
        if (attribute->ns || !xmlStrEqual(attribute->name, BAD_CAST "Word2SPLID"))
            continue;
        const xmlNode* text = attribute->children;
        if (text && !text->next && text->type == XML_TEXT_NODE && text->content)  // the usual case, read in place
            return QString::fromUtf8(reinterpret_cast<const char*>(text->content));
        xmlChar* value = xmlNodeGetContent(reinterpret_cast<const xmlNode*>(attribute));
        const QString key = value ? QString::fromUtf8(reinterpret_cast<const char*>(value)) : QStringLiteral("");
        xmlFree(value);
        return key;
    }
    return {};
}

// A new key is hex digits and dashes, so it is written to the element as it is.
void writeKey(xmlNodePtr element, const QString& key)
{
    QVarLengthArray<char, 40> bytes(key.size() + 1);
    for (qsizetype i = 0; i < key.size(); ++i)
        bytes[i] = key.at(i).toLatin1();
    bytes[key.size()] = '\0';
    xmlSetNsProp(element, nullptr, BAD_CAST "Word2SPLID", reinterpret_cast<const xmlChar*>(bytes.constData()));
}

// The text of a text or CDATA node, as Node::text() gives it.
QString textOf(const xml::Node& content)
{
    const xmlChar* text = content.raw()->content;
    return text ? QString::fromUtf8(reinterpret_cast<const char*>(text)) : QStringLiteral("");
}

void makeBold(QTreeWidgetItem* node)
{
    QFont font = node->font(0);
    font.setBold(true);
    node->setFont(0, font);
}

// What a caption shows besides the element name; a node's picture follows from its element
// name and this.
enum class CaptionKind { Text, Name, Attributes };
constexpr int CaptionKinds = 3;

// What a fill works out once per element name: a document repeats a few hundred names over
// thousands of elements.
struct ElementName {
    QString name;
    QString words;
    struct Picture {
        QString key;
        QIcon icon;
    };
    std::optional<Picture> pictures[CaptionKinds];
};

// The element names met by one fill, found by the parsed name without making a string.
class ElementNames {
public:
    ElementName& of(const xml::Node& element)
    {
        const xmlNode* raw = element.raw();
        std::string prefixed;
        std::string_view name(reinterpret_cast<const char*>(raw->name));
        if (raw->ns && raw->ns->prefix) {
            prefixed = reinterpret_cast<const char*>(raw->ns->prefix) + std::string(":") + std::string(name);
            name = prefixed;
        }
        auto found = names_.find(name);
        if (found == names_.end()) {
            const QString qualified = element.nodeName();
            found = names_.emplace(std::string(name), ElementName{qualified, SplitCamelCase(qualified), {}}).first;
        }
        return found->second;
    }

private:
    struct Hash {
        using is_transparent = void;
        std::size_t operator()(std::string_view text) const { return std::hash<std::string_view>{}(text); }
    };
    std::unordered_map<std::string, ElementName, Hash, std::equal_to<>> names_;
};

// Builds the nodes of one tree, detached from any tree control, in one walk of the document.
// Keys go into a hash as they are made, so a taken key is found without a search. A settings
// document's nodes below its root get their captions as words and their pictures as they are
// made, each caption set once when its element is complete.
class TreeBuilder {
public:
    TreeBuilder(const frmXMLEditor& editor, bool settingsMode, const TreeImageList* images)
        : editor_(editor), settingsMode_(settingsMode), images_(images)
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
        for (const xml::Node& node : nodes)
            skip([&] { addNode(node, none); });
    }

    // The root's caption in bold and its picture; the nodes below it bold when they have
    // children, black when they are leaves.
    void finishSettingsEmphasis()
    {
        if (topLevel.isEmpty())
            return;
        makeBold(topLevel.first());
        for (EditorTreeItem* item : std::as_const(belowRoot_))
            item->setEmphasis(item->childCount() > 0 ? EditorTreeItem::Emphasis::Bold : EditorTreeItem::Emphasis::Black);
        if (pictures_)
            pictures_->setRoot(topLevel.first());
    }

    QList<QTreeWidgetItem*> topLevel;
    QHash<QString, QTreeWidgetItem*> index;

private:
    // The tree node that takes the children of an element, with what the caption of the
    // element's text needs.
    struct Parent {
        EditorTreeItem* item = nullptr;
        ElementName* name = nullptr;
        QString attributes;
        // Settings mode: the element's text (that of its last text node), shown in its caption.
        QString text;
        bool hasText = false;
        bool revisited = false;  // the node of an earlier element with the same key
        bool inWords = false;    // at or below the first top-level node
    };

    void addNode(const xml::Node& node, Parent& parent)
    {
        const xml::NodeType type = node.nodeType();
        if (type == xml::NodeType::Element) {
            Parent element = addElementNode(node, parent);
            for (xml::Node child = node.firstChild(); !child.isNull(); child = child.nextSibling())
                skip([&] { addNode(child, element); });
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
        const QString id = keyAttribute(element.raw());
        const QString key = id.isEmpty() ? NewGUID() : id;
        if (settingsMode_ && id != key)
            writeKey(element.raw(), key);
        Parent added;
        added.name = &names_.of(element);
        added.attributes = editor_.BuildAttributeString(element);
        // The key's place in the hash, found once: empty for a key not yet taken.
        QTreeWidgetItem*& keyed = index[key];
        if (keyed) {
            added.item = static_cast<EditorTreeItem*>(keyed);
            added.revisited = true;
            added.inWords = settingsMode_ && !topLevel.isEmpty() && treeRootOf(added.item) == topLevel.first();
            return added;
        }
        added.item = new EditorTreeItem(key);
        keyed = added.item;
        if (!settingsMode_)
            added.item->setCaption(added.name->name + added.attributes);
        if (parent.item) {
            parent.item->addChild(added.item);
            added.inWords = parent.inWords;
            if (added.inWords)
                belowRoot_.append(added.item);
        } else {
            added.inWords = settingsMode_ && topLevel.isEmpty();
            topLevel.append(added.item);
        }
        return added;
    }

    void addTextContent(const xml::Node& content, Parent& parent)
    {
        if (!settingsMode_) {
            auto* item = new EditorTreeItem(QString());
            item->setCaption(textOf(content));
            parent.item->addChild(item);
            return;
        }
        parent.text = textOf(content);
        parent.hasText = true;
    }

    // The node of an earlier element with the same key changes its caption only through text.
    void completeCaption(const Parent& element)
    {
        if (element.revisited && !element.hasText)
            return;
        element.item->setCaption(settingsCaption(element));
        if (element.inWords && pictures_ && element.item != topLevel.first())
            setPicture(element);
    }

    // "Words Of The Name: text [@attribute="value"]". An element without text shows its name
    // in words below the first top-level node; a caption with attributes holds a blank, so
    // it is never split into words.
    static QString settingsCaption(const Parent& element)
    {
        if (element.hasText)
            return element.name->words % QLatin1String(": ") % element.text % element.attributes;
        if (element.attributes.isEmpty() && element.inWords)
            return element.name->words;
        return element.name->name + element.attributes;
    }

    void setPicture(const Parent& element)
    {
        const CaptionKind kind = element.hasText
                                     ? CaptionKind::Text
                                     : (element.attributes.isEmpty() ? CaptionKind::Name : CaptionKind::Attributes);
        std::optional<ElementName::Picture>& picture = element.name->pictures[int(kind)];
        if (!picture) {
            const QString key = pictures_->forCaption(settingsCaption(element));
            picture = ElementName::Picture{key, images_->icon(key)};
        }
        element.item->setPicture(picture->icon, picture->key);
    }

    const frmXMLEditor& editor_;
    bool settingsMode_;
    const TreeImageList* images_;
    std::optional<CaptionPictures> pictures_;
    ElementNames names_;
    QList<EditorTreeItem*> belowRoot_;
};

// The editor holds about thirty times a document's size (tree items over the parsed tree; see
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
