#include "platform/xml/RawAccess.h"

#include "platform/xml/DocState.h"
#include "platform/xml/NodeAccess.h"
#include "platform/xml/TreeEdit.h"

namespace veldra::xml {

Node handleOn(xmlNodePtr node)
{
    return detail::NodeAccess::wrap(node);
}

void RemovalBatch::remove(xmlNodePtr node)
{
    xmlUnlinkNode(node);
    removed_.push_back(node);
}

// A subtree a handle points into is kept with all the others: its namespaces may be declared
// in another removed subtree, which must then live as long as the document.
RemovalBatch::~RemovalBatch()
{
    bool referenced = false;
    for (xmlNodePtr node : removed_)
        referenced = referenced || detail::handlesWithin(node) != 0;
    for (xmlNodePtr node : removed_) {
        if (referenced)
            detail::keepDetached(node);
        else
            xmlFreeNode(node);
    }
}

} // namespace veldra::xml
