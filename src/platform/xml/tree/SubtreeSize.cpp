#include "platform/xml/tree/SubtreeSize.h"

#include "platform/xml/tree/DocState.h"
#include "platform/xml/tree/NodeAccess.h"

namespace veldra::xml {

qint64 nodesWithin(const Node& node)
{
    xmlNodePtr root = detail::NodeAccess::raw(node);
    if (!root)
        return 0;
    qint64 count = 0;
    detail::forEachInSubtree(root, [&count](xmlNodePtr visited) {
        // An attribute's value is counted with its attribute.
        if (!visited->parent || visited->parent->type != XML_ATTRIBUTE_NODE)
            ++count;
    });
    return count;
}

} // namespace veldra::xml
