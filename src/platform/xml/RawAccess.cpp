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
    if (detail::handlesWithin(node) != 0) {
        detail::detachChild(node);
        return;
    }
    xmlUnlinkNode(node);
    unreferenced_.push_back(node);
}

RemovalBatch::~RemovalBatch()
{
    bool referenced = false;
    for (xmlNodePtr node : unreferenced_)
        referenced = referenced || detail::handlesWithin(node) != 0;
    for (xmlNodePtr node : unreferenced_) {
        if (referenced)
            detail::keepDetached(node);
        else
            xmlFreeNode(node);
    }
}

} // namespace veldra::xml
