// The fill of an editor tree: one walk of the document that makes every node with its key,
// caption, picture and emphasis.

#include "editor/tree/TreeBuilder.h"

#include "app/shared/SharedProcedures.h"
#include "app/window/Captions.h"
#include "editor/document/EditorLimit.h"
#include "editor/tree/EditorTreeItem.h"
#include "editor/tree/TreeView.h"
#include "editor/window/frmXMLEditor.h"
#include "platform/core/MemoryRoom.h"
#include "platform/core/Skip.h"
#include "platform/xml/tree/Cursor.h"
#include "platform/xml/tree/Document.h"

#include <QStringBuilder>

#include <new>
#include <optional>
#include <string>
#include <string_view>
#include <unordered_map>

namespace veldra {

namespace {

// Runs one node's statement and skips its failure, so the nodes after it are still made; but
// running out of memory ends the whole fill, since a tree that silently lacks nodes would be
// taken for the document.
template <class F>
void skipFailingNode(F&& statement, const char* function = __builtin_FUNCTION(), int line = __builtin_LINE())
{
    try {
        std::forward<F>(statement)();
    } catch (const std::bad_alloc&) {
        throw;
    } catch (...) {
        reportSkippedError(std::current_exception(), SkipSite{__FILE__, line, function});
    }
}

// Every element gets a key, so the key hash is sized once for all of them.
qsizetype elementsIn(const xml::Cursor& node)
{
    if (!node.isElement())
        return 0;
    qsizetype count = 0;
    xml::forEachElement(node, [&count](const xml::Cursor&) { ++count; });
    return count;
}

// The widgets library is built without exceptions: an allocation that fails inside it reads
// through a null pointer instead of throwing, and a QHash that cannot grow ends the program.
// So a fill starts only when twice what an element costs at the peak of an open is free for
// each element, which leaves room for what the open does with the nodes afterwards (their
// colours, ids and expansion); else it fails as running out of memory does.
void requireRoomForTree(qsizetype elements)
{
    requireMemory(std::size_t(2 * editorMemoryOf({elements, 0, 0})));
}

bool isTextContent(xml::NodeType type)
{
    return type == xml::NodeType::Text || type == xml::NodeType::CData;
}

// The element's Word2SPLID (null when it has none), read on the parsed attributes: nearly
// every element of a settings document carries one.
QString keyAttribute(const xml::Cursor& element)
{
    return element.attributeValue("Word2SPLID");
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
        const xml::Cursor parsed(element);
        std::string prefixed;
        std::string_view name(parsed.localName());
        if (const char* prefix = parsed.prefix()) {
            prefixed = prefix + std::string(":") + std::string(name);
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
            elements += elementsIn(xml::Cursor(node));
        requireRoomForTree(elements);
        index.reserve(elements);
        if (settingsMode_)
            belowRoot_.reserve(elements);
        Parent none;
        for (const xml::Node& node : nodes)
            skipFailingNode([&] { addNode(node, none); });
    }

    // The root's caption in bold and its picture; the nodes below it bold when they have
    // children, black when they are leaves.
    void finishSettingsEmphasis()
    {
        if (topLevel.isEmpty())
            return;
        makeNodeBold(topLevel.first());
        for (EditorTreeItem* item : std::as_const(belowRoot_))
            item->setEmphasis(item->childCount() > 0 ? EditorTreeItem::Emphasis::Bold : EditorTreeItem::Emphasis::Black);
        if (pictures_)
            pictures_->setRoot(topLevel.first());
    }

    QList<QTreeWidgetItem*> topLevel;
    QHash<QString, QTreeWidgetItem*> index;
    int renewedIds = 0;

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
        bool inWords = false;    // at or below the first top-level node
    };

    void addNode(const xml::Node& node, Parent& parent)
    {
        const xml::NodeType type = node.nodeType();
        if (type == xml::NodeType::Element) {
            Parent element = addElementNode(node, parent);
            for (xml::Node child = node.firstChild(); !child.isNull(); child = child.nextSibling())
                skipFailingNode([&] { addNode(child, element); });
            if (settingsMode_)
                completeCaption(element);
        } else if (isTextContent(type) && parent.item) {
            addTextContent(node, parent);
        }
    }

    // Adds the node of an element under a key no earlier node holds. The tree finds an element
    // by the path of its keys, so an element whose Word2SPLID is missing, already taken (a block
    // copied in a text editor) or holds "_" (which the path cannot tell apart) gets a fresh one,
    // written into a settings document; the first holder of an id keeps it. An id written where
    // there was none is no change of what the file says; one that replaces an id is counted.
    Parent addElementNode(const xml::Node& element, const Parent& parent)
    {
        const QString id = keyAttribute(xml::Cursor(element));
        const bool usable = !id.isEmpty() && !id.contains(QLatin1Char('_')) && !index.contains(id);
        const QString key = usable ? id : NewGUID();
        if (settingsMode_ && !usable) {
            element.setAttributeUtf8("Word2SPLID", key.toLatin1());  // hex digits and dashes
            if (!id.isEmpty())
                ++renewedIds;
        }
        Parent added;
        added.name = &names_.of(element);
        added.attributes = editor_.BuildAttributeString(element);
        added.item = new EditorTreeItem(key);
        index.insert(key, added.item);
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
            item->setCaption(xml::Cursor(content).text());
            parent.item->addChild(item);
            return;
        }
        parent.text = xml::Cursor(content).text();
        parent.hasText = true;
    }

    void completeCaption(const Parent& element)
    {
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

} // namespace

TreeNodes buildTreeNodes(const frmXMLEditor& editor, const xml::NodeList& topLevel, const TreeImageList* images)
{
    TreeBuilder builder(editor, editor.isSettingsMode(), images);
    try {
        builder.addTopLevel(topLevel);
        if (editor.isSettingsMode())
            skipFailingNode([&] { builder.finishSettingsEmphasis(); });
    } catch (...) {
        qDeleteAll(builder.topLevel);  // each node deletes its children
        throw;
    }
    return {std::move(builder.topLevel), std::move(builder.index), builder.renewedIds};
}

} // namespace veldra
