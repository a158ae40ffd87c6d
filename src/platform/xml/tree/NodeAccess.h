#pragma once

#include "platform/xml/tree/Cursor.h"
#include "platform/xml/tree/Document.h"
#include "platform/xml/tree/Node.h"

#include <libxml/tree.h>

#include <optional>

namespace veldra::xml::detail {

struct DocState;

// The bridge between handles and libxml2 pointers, for this layer's own files.
struct NodeAccess {
    // Null for nullptr.
    static Node wrap(xmlNodePtr node) { return Node(node, Node::Kind::Plain, nullptr); }
    static Node declaration(xmlDocPtr doc)
    {
        return Node(reinterpret_cast<xmlNodePtr>(doc), Node::Kind::Declaration, nullptr);
    }
    static Node namespaceDeclaration(xmlNodePtr owner, xmlNsPtr ns)
    {
        return Node(owner, Node::Kind::NamespaceDeclaration, ns);
    }
    static bool isDeclaration(const Node& node) { return node.kind_ == Node::Kind::Declaration; }
    static bool isNamespaceDeclaration(const Node& node) { return node.kind_ == Node::Kind::NamespaceDeclaration; }
    static Document document(DocState* state) { return Document(state); }
    static xmlNodePtr raw(const Node& node) { return node.node_; }
    static xmlNodePtr raw(const Cursor& cursor) { return cursor.node_; }
    static Cursor cursor(xmlNodePtr node) { return Cursor(node); }
};

// The kind the layer shows for a libxml2 node type; none for the kinds it does not show.
inline std::optional<NodeType> shownType(xmlElementType type)
{
    switch (type) {
    case XML_ELEMENT_NODE: return NodeType::Element;
    case XML_ATTRIBUTE_NODE: return NodeType::Attribute;
    case XML_TEXT_NODE: return NodeType::Text;
    case XML_CDATA_SECTION_NODE: return NodeType::CData;
    case XML_PI_NODE: return NodeType::ProcessingInstruction;
    case XML_COMMENT_NODE: return NodeType::Comment;
    case XML_DTD_NODE: return NodeType::DocumentType;
    case XML_DOCUMENT_NODE:
    case XML_HTML_DOCUMENT_NODE: return NodeType::Document;
    default: return std::nullopt;
    }
}

} // namespace veldra::xml::detail
