#pragma once

#include "platform/xml/tree/Node.h"

#include <libxml/tree.h>

#include <vector>

namespace veldra::xml {

// For passes that walk a document through its libxml2 pointers where a handle per visited
// node would cost more than the work itself.

// A handle on a node reached through its pointer (the document node, an element, a text, ...).
Node handleOn(xmlNodePtr node);

// Takes nodes out of their tree and frees them together when the batch ends. A pass that
// keeps pointers to nodes it may remove later (a list of matches, some inside subtrees taken
// out meanwhile) can still follow their parent pointers: nothing is freed before the batch
// ends. Should a handle point into any of the removed subtrees when the batch ends, none is
// freed: they are kept as the DOM keeps removed nodes, valid until their document is freed.
class RemovalBatch {
public:
    RemovalBatch() = default;
    RemovalBatch(const RemovalBatch&) = delete;
    RemovalBatch& operator=(const RemovalBatch&) = delete;
    ~RemovalBatch();

    // Takes `node` (a node in a tree, not an attribute or the document type) out of its tree.
    void remove(xmlNodePtr node);

private:
    std::vector<xmlNodePtr> removed_;
};

} // namespace veldra::xml
