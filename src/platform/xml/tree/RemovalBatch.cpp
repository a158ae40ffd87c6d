#include "platform/xml/tree/RemovalBatch.h"

#include "platform/xml/tree/DocState.h"
#include "platform/xml/tree/NodeAccess.h"
#include "platform/xml/tree/TreeEdit.h"

namespace veldra::xml {

void RemovalBatch::remove(const Cursor& cursor)
{
    const xmlNodePtr node = detail::NodeAccess::raw(cursor);
    xmlUnlinkNode(node);
    removed_.push_back(node);
}

// A subtree a handle points into is kept with all the others: its namespaces may be declared
// in another removed subtree, which must then live as long as the document. A subtree whose
// document holds no handles on its nodes has none within it, and is not walked.
RemovalBatch::~RemovalBatch()
{
    bool referenced = false;
    for (xmlNodePtr node : removed_)
        referenced = referenced || (detail::stateOf(node->doc)->nodeHandles != 0 && detail::handlesWithin(node) != 0);
    for (xmlNodePtr node : removed_) {
        if (referenced)
            detail::keepDetached(node);
        else
            xmlFreeNode(node);
    }
}

} // namespace veldra::xml
