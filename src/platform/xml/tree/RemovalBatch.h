#pragma once

#include "platform/xml/tree/Cursor.h"

#include <vector>

namespace veldra::xml {

// Takes nodes out of their tree and frees them together when the batch ends, for passes
// that walk a document with cursors where a handle per removal would cost more than the work
// itself. A pass that keeps cursors on nodes it may remove later (a list of matches, some
// inside subtrees taken out meanwhile) can still read them and follow their parents: nothing
// is freed before the batch ends. Should a handle point into any of the removed subtrees when
// the batch ends, none is freed: they are kept as the DOM keeps removed nodes, valid until
// their document is freed.
class RemovalBatch {
public:
    RemovalBatch() = default;
    RemovalBatch(const RemovalBatch&) = delete;
    RemovalBatch& operator=(const RemovalBatch&) = delete;
    ~RemovalBatch();

    // Takes `node` (a node in a tree, not an attribute, the document or the document type)
    // out of its tree.
    void remove(const Cursor& node);

private:
    std::vector<_xmlNode*> removed_;
};

} // namespace veldra::xml
