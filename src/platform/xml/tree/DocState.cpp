#include "platform/xml/tree/DocState.h"

#include "platform/xml/tree/Allocated.h"

#include <cstdint>

namespace veldra::xml::detail {

namespace {

bool isDocumentNode(xmlNodePtr node)
{
    return node->type == XML_DOCUMENT_NODE || node->type == XML_HTML_DOCUMENT_NODE;
}

std::uintptr_t handleCount(xmlNodePtr node)
{
    return reinterpret_cast<std::uintptr_t>(node->_private);
}

void setHandleCount(xmlNodePtr node, std::uintptr_t count)
{
    node->_private = reinterpret_cast<void*>(count);
}

void freeDetached(DocState* state)
{
    for (xmlNodePtr node : state->detached) {
        // A root that was inserted elsewhere or moved to another document is not ours to free.
        if (node->parent == nullptr && node->doc == state->doc)
            xmlFreeNode(node);
    }
    state->detached.clear();
    for (xmlNsPtr ns : state->retiredNamespaces)
        xmlFreeNs(ns);
    state->retiredNamespaces.clear();
}

void destroy(DocState* state)
{
    if (state->xpath)
        xmlXPathFreeContext(state->xpath);
    freeDetached(state);
    state->doc->_private = nullptr;
    xmlFreeDoc(state->doc);
    delete state;
}

} // namespace

DocState* adoptDocument(xmlDocPtr doc, bool hasDeclaration)
{
    auto* state = new DocState;
    state->doc = doc;
    state->hasDeclaration = hasDeclaration;
    doc->_private = state;
    return state;
}

DocState* newEmptyState()
{
    return adoptDocument(allocated(xmlNewDoc(reinterpret_cast<const xmlChar*>("1.0"))), false);
}

DocState* stateOf(xmlDocPtr doc)
{
    return static_cast<DocState*>(doc->_private);
}

void retain(DocState* state)
{
    ++state->refs;
}

void release(DocState* state)
{
    if (--state->refs == 0)
        destroy(state);
}

void retainNode(xmlNodePtr node)
{
    if (isDocumentNode(node)) {
        retain(stateOf(reinterpret_cast<xmlDocPtr>(node)));
        return;
    }
    setHandleCount(node, handleCount(node) + 1);
    DocState* state = stateOf(node->doc);
    ++state->nodeHandles;
    retain(state);
}

void releaseNode(xmlNodePtr node)
{
    if (isDocumentNode(node)) {
        release(stateOf(reinterpret_cast<xmlDocPtr>(node)));
        return;
    }
    setHandleCount(node, handleCount(node) - 1);
    DocState* state = stateOf(node->doc);
    --state->nodeHandles;
    release(state);
}

long handlesWithin(xmlNodePtr node)
{
    long total = 0;
    forEachInSubtree(node, [&total](xmlNodePtr n) { total += static_cast<long>(handleCount(n)); });
    return total;
}

void moveHandles(xmlNodePtr subtree, DocState* from, DocState* to)
{
    if (from == to || from->nodeHandles == 0)  // no handles on `from`'s nodes, so none on the subtree
        return;
    const long moved = handlesWithin(subtree);
    if (moved == 0)
        return;
    to->refs += moved;
    to->nodeHandles += moved;
    from->nodeHandles -= moved;
    from->refs -= moved - 1;
    release(from);  // takes the last one off and frees `from` when nothing else holds it
}

} // namespace veldra::xml::detail
