#pragma once

#include "platform/xml/tree/Cursor.h"
#include "platform/xml/tree/Document.h"
#include "platform/xml/tree/Node.h"

#include <libxml/tree.h>

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
};

} // namespace veldra::xml::detail
