#pragma once

#include "platform/xml/io/ParseError.h"

#include <QHash>
#include <QString>

#include <libxml/tree.h>
#include <libxml/xpath.h>

#include <unordered_set>
#include <vector>

namespace veldra::xml::detail {

struct DocBox;

// What this layer keeps beside one libxml2 document. Lifetime: the document lives while a
// Document object shows it or a Node handle points into it. Every node handle counts twice:
// once on its node (the node's _private field holds the number of handles on it) and once on
// the document that holds the node now. When a subtree moves to another document, the
// handles on it move with it, so a node never outlives the document it belongs to.
//
// Nodes taken out of the tree stay valid while referenced: they are kept as detached roots
// and freed together with the document.
struct DocState {
    xmlDocPtr doc = nullptr;
    long refs = 0;
    long nodeHandles = 0;  // the part of refs held by handles on nodes other than the document node
    bool hasDeclaration = false;
    std::unordered_set<xmlNodePtr> detached;
    std::vector<xmlNsPtr> retiredNamespaces;      // removed namespace declarations, freed with the document
    QHash<QString, QString> selectionNamespaces;  // prefix -> namespace URI for prefixed queries
    xmlXPathContextPtr xpath = nullptr;           // created on first query
    DocBox* box = nullptr;                        // the Document object showing this state, if any (it holds a reference)
};

// The object behind Document handles: copies of a Document share it, so a reload through one
// copy is seen by all of them, as with a COM reference.
struct DocBox {
    long refs = 0;
    DocState* state = nullptr;
    ParseError parseError;
};

// Wraps a document just parsed or created; the state owns it from now on.
DocState* adoptDocument(xmlDocPtr doc, bool hasDeclaration);
DocState* newEmptyState();
DocState* stateOf(xmlDocPtr doc);

void retain(DocState* state);
void release(DocState* state);

// A handle on node (the document node included) starts or ends.
void retainNode(xmlNodePtr node);
void releaseNode(xmlNodePtr node);

// Handles held on node and everything below it (attributes included).
long handlesWithin(xmlNodePtr node);
// After a subtree moved from one document to another: its handles now keep `to` alive.
void moveHandles(xmlNodePtr subtree, DocState* from, DocState* to);

// Visits node and every node below it, attributes and their text included, in document order.
template <class Visit>
void forEachInSubtree(xmlNodePtr root, Visit&& visit)
{
    auto visitAttribute = [&visit](xmlAttrPtr attr) {
        visit(reinterpret_cast<xmlNodePtr>(attr));
        for (xmlNodePtr text = attr->children; text; text = text->next)
            visit(text);
    };
    if (root->type == XML_ATTRIBUTE_NODE) {
        visitAttribute(reinterpret_cast<xmlAttrPtr>(root));
        return;
    }
    xmlNodePtr cur = root;
    while (cur) {
        visit(cur);
        if (cur->type == XML_ELEMENT_NODE)
            for (xmlAttrPtr attr = cur->properties; attr; attr = attr->next)
                visitAttribute(attr);
        const bool descend = cur->children && cur->type != XML_DTD_NODE && cur->type != XML_ENTITY_REF_NODE;
        if (descend) {
            cur = cur->children;
            continue;
        }
        while (cur != root && !cur->next)
            cur = cur->parent;
        if (cur == root)
            break;
        cur = cur->next;
    }
}

} // namespace veldra::xml::detail
