#pragma once

#include "platform/xml/tree/Node.h"
#include "platform/xml/tree/NodeType.h"

#include <QByteArray>
#include <QHashFunctions>
#include <QString>

#include <cstddef>
#include <functional>
#include <type_traits>

struct _xmlNode;

namespace veldra::xml {

class ElementRange;
namespace detail {
struct NodeAccess;
}

// A light read cursor on one node of a Document, for walks that visit thousands of nodes
// where a Node handle per visited node would cost more than the work itself. A cursor is one
// pointer and is copied freely; it does not keep its node or its document alive and is not
// counted among the document's handles, which a removal checks to know whether it may free
// what it takes out. So a cursor is for reading while no one removes nodes: a removal that frees its node leaves it dangling (a RemovalBatch frees nothing before
// it ends, so cursors on what it took out stay readable until then). Take a Node (node()) of
// what a walk finds to keep it or to change it.
//
// A default-constructed cursor is null; every lookup on a null cursor gives null again (a
// null cursor, empty text, false), so a chain needs one check at its end. Nothing throws.
//
// A cursor sees the tree as libxml2 holds it, as a Node handle does: whitespace-only text the
// load dropped is not there, an attribute is not a child. Unlike a handle it shows neither the
// XML declaration nor namespace declarations as nodes: a cursor made from either is null.
//
// Names are the UTF-8 bytes the document holds; name arguments are UTF-8 too. An attribute
// named without a prefix is the one of that name in no namespace (as getAttribute finds it).
class Cursor {
public:
    Cursor() = default;
    // Null for a null handle, the XML declaration or a namespace declaration.
    explicit Cursor(const Node& node) : node_(node.kind_ == Node::Kind::Plain ? node.node_ : nullptr) {}

    bool isNull() const { return node_ == nullptr; }
    explicit operator bool() const { return node_ != nullptr; }
    bool operator==(const Cursor& other) const { return node_ == other.node_; }
    bool operator!=(const Cursor& other) const { return node_ != other.node_; }

    // A handle on the node (null for a null cursor), which keeps it alive.
    Node node() const;

    // The node's kind; all false for a null cursor.
    bool isElement() const;
    bool isDocument() const;
    // The node's kind as Node::nodeType gives it; ask isNull() first (a null cursor, like a
    // kind the layer does not show, gives DocumentType).
    NodeType type() const;

    // An element's or attribute's name without prefix; "" for other nodes and null.
    const char* localName() const;
    // The prefix of an element's or attribute's name; nullptr when it has none.
    const char* prefix() const;
    bool hasNamespace() const;
    // Whether an element's or attribute's local name is `localName`.
    bool isNamed(const char* localName) const;
    // The qualified name as Node::nodeName gives it for an element or attribute.
    QString qualifiedName() const;

    // A text, CDATA, comment or processing instruction node's own content, as stored; "" for
    // other nodes and null.
    const char* value() const;
    // All text below the node, as Node::text gives it ("" for null).
    QString text() const;
    // The same in UTF-8, sharing the stored bytes where the text is one node's (an element or
    // attribute of one text, a text), which stay valid while the node is unchanged.
    QByteArray textUtf8() const;

    // The parent as the DOM shows it: attributes and the document node have none.
    Cursor parent() const;
    // Whether the node is in its document's tree: not an attribute, nor a node taken out (or
    // inside a subtree taken out).
    bool isInDocument() const;
    // How many levels the node lies below the document node (the document element: 1).
    int depth() const;
    Cursor firstChild() const;
    Cursor nextSibling() const;
    bool hasChildren() const;
    // The first child element of that local name (any namespace); null when there is none.
    Cursor child(const char* localName) const;
    // The next sibling element, of that local name when one is given.
    Cursor nextElement(const char* localName = nullptr) const;
    // The child elements, of that local name when one is given (the name must outlive the range).
    ElementRange children(const char* localName = nullptr) const;

    // Attributes: cursors on attribute nodes, whose value is text().
    Cursor firstAttribute() const;
    Cursor nextAttribute() const;
    // The attribute of that name in no namespace; null when absent.
    Cursor attribute(const char* name) const;
    bool hasAttribute(const char* name) const { return !attribute(name).isNull(); }
    // Its value, or a null QString when absent.
    QString attributeValue(const char* name) const;
    // Whether the element declares namespaces.
    bool declaresNamespaces() const;

    // The element after this one in a walk of `root`'s subtree in document order; null at its
    // end. The walk needs no recursion.
    Cursor nextElementWithin(const Cursor& root) const;

    // Whether this node comes before `other` in document order (both in one document).
    bool precedes(const Cursor& other) const;

    friend size_t qHash(const Cursor& cursor, size_t seed = 0) noexcept
    {
        return qHash(static_cast<const void*>(cursor.node_), seed);
    }

private:
    friend struct detail::NodeAccess;
    explicit Cursor(_xmlNode* node) : node_(node) {}

    _xmlNode* node_ = nullptr;
};

// The child elements of a node, of one local name when one is given.
class ElementRange {
public:
    class iterator {
    public:
        iterator(Cursor at, const char* name) : at_(at), name_(name) {}
        Cursor operator*() const { return at_; }
        iterator& operator++()
        {
            at_ = at_.nextElement(name_);
            return *this;
        }
        bool operator!=(const iterator& other) const { return at_ != other.at_; }

    private:
        Cursor at_;
        const char* name_;
    };

    ElementRange(Cursor first, const char* name) : first_(first), name_(name) {}
    iterator begin() const { return {first_, name_}; }
    iterator end() const { return {Cursor(), name_}; }

private:
    Cursor first_;
    const char* name_;
};

// Visits `root` and every element below it in document order, without recursion and without
// node handles. A `visit` that returns bool ends the walk by returning false.
template <class Visit>
void forEachElement(const Cursor& root, Visit&& visit)
{
    Cursor element = root.isElement() ? root : root.nextElementWithin(root);
    for (; element; element = element.nextElementWithin(root)) {
        if constexpr (std::is_same_v<std::invoke_result_t<Visit&, Cursor>, bool>) {
            if (!visit(element))
                return;
        } else {
            visit(element);
        }
    }
}

} // namespace veldra::xml

template <>
struct std::hash<veldra::xml::Cursor> {
    size_t operator()(const veldra::xml::Cursor& cursor) const noexcept { return qHash(cursor); }
};
