#pragma once

#include "platform/xml/tree/NodeType.h"

#include <QString>

struct _xmlNode;
struct _xmlNs;

namespace veldra::xml {

class Document;
class NodeList;
namespace detail {
struct NodeAccess;
}

// A handle on one node of a Document. Handles are cheap to copy; copies refer to the same
// node, and a handle keeps the node's document alive (also after the node was removed from
// its tree or moved into another document). A default-constructed handle is null: isNull()
// tells, and every other member of a null handle throws VbError (err::XmlNode), as does any
// misuse (a child for a text node, an unknown prefix, text XML cannot hold).
//
// The handle is like a pointer: const members may change the node it points to.
//
// Names and kinds are the DOM's: elements and attributes by qualified name, "#text",
// "#cdata-section", "#comment", "#document", a processing instruction by its target. The XML
// declaration is shown as the document's first child, a processing instruction named "xml"
// whose pseudo-attributes version, encoding and standalone are read and written with
// getAttribute/setAttribute. Namespace declarations appear among an element's attributes
// ("xmlns", "xmlns:xsi"), before its other attributes. Attributes have no child nodes and no
// parent node; their value is text().
//
// Line breaks: text and attribute values are stored with LF line breaks; CR LF and lone CR
// written through setText, setAttribute or the create functions become LF, as they would when
// the saved file is read again. So a value read, edited and written back any number of times
// never grows CR CR LF. Text that XML cannot hold (control characters other than TAB, LF, CR)
// is refused with VbError instead of producing a file that cannot be loaded.
class Node {
public:
    Node() = default;
    Node(const Node& other);
    Node(Node&& other) noexcept;
    Node& operator=(const Node& other);
    Node& operator=(Node&& other) noexcept;
    ~Node();

    bool isNull() const { return node_ == nullptr; }
    explicit operator bool() const { return !isNull(); }
    // Same underlying node.
    bool operator==(const Node& other) const;
    bool operator!=(const Node& other) const { return !(*this == other); }

    QString nodeName() const;
    NodeType nodeType() const;
    // The name without its prefix ("type" for xsi:type; "xsi" for xmlns:xsi).
    QString baseName() const;
    QString localName() const { return baseName(); }
    QString prefix() const;
    // The element's or attribute's namespace; empty for none.
    QString namespaceURI() const;

    // All text below the node, concatenated and untrimmed (an attribute's value; a comment's
    // or processing instruction's content).
    QString text() const;
    // Replaces an element's children by one text node (none for empty text); sets the value
    // of an attribute and the content of a text, comment or processing instruction.
    void setText(const QString& text) const;

    Node parentNode() const;
    NodeList childNodes() const;
    Node firstChild() const;
    Node lastChild() const;
    Node nextSibling() const;
    Node previousSibling() const;
    bool hasChildNodes() const;
    Document ownerDocument() const;

    // Attributes by qualified name. getAttribute gives a null QString when the attribute is
    // absent (isNull() tells absent from empty).
    QString getAttribute(const QString& name) const;
    bool hasAttribute(const QString& name) const;
    // Sets or creates the attribute. A prefix must be declared on the element or above it.
    void setAttribute(const QString& name, const QString& value) const;
    // The same for a name and value in UTF-8. A name without prefix and a value XML stores as
    // it is (no CR, nothing XML cannot hold) are written without converting either, for passes
    // that copy thousands of values read from documents.
    void setAttributeUtf8(const char* name, const QByteArray& value) const;
    // Removes the attribute when present; a namespace declaration only while nothing uses it.
    void removeAttribute(const QString& name) const;
    NodeList attributes() const;
    Node getAttributeNode(const QString& name) const;
    // Puts an attribute node (from createAttribute) on this element, replacing the attribute
    // of the same name, which is returned (null when there was none).
    Node setAttributeNode(const Node& attribute) const;

    // Child operations. A node from elsewhere in the document moves; a node from another
    // document is moved into this one with its namespaces kept declared. Each returns the
    // node inserted (removeChild and replaceChild: the node taken out, which stays usable).
    Node appendChild(const Node& newChild) const;
    // refChild null: appends.
    Node insertBefore(const Node& newChild, const Node& refChild) const;
    Node replaceChild(const Node& newChild, const Node& oldChild) const;
    Node removeChild(const Node& oldChild) const;

    // A copy that belongs to the same document and has no parent; deep copies the subtree.
    Node cloneNode(bool deep) const;

    // Queries in the program's dialect (see QueryTranslator.h), relative to this node.
    // Throw VbError for a query outside the dialect.
    NodeList selectNodes(const QString& query) const;
    Node selectSingleNode(const QString& query) const;

    // The subtree as XML text; an element's text declares the namespaces it uses.
    QString xml() const;

private:
    friend struct detail::NodeAccess;
    friend class Cursor;
    enum class Kind : unsigned char { Plain, Declaration, NamespaceDeclaration };

    Node(_xmlNode* node, Kind kind, _xmlNs* ns);
    void requireNotNull() const;
    void acquire();
    void drop();

    _xmlNode* node_ = nullptr;  // the node; the document for the declaration; the owner element for a namespace declaration
    _xmlNs* ns_ = nullptr;      // the namespace declaration
    Kind kind_ = Kind::Plain;
};

} // namespace veldra::xml
