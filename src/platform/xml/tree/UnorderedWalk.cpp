#include "platform/xml/tree/UnorderedWalk.h"

#include "platform/xml/tree/InterleavedWalk.h"
#include "platform/xml/tree/NodeAccess.h"

namespace veldra::xml {

void forEachElementUnordered(const Cursor& root, const std::function<bool(const Cursor&)>& visit)
{
    forEachNodeInterleaved(detail::NodeAccess::raw(root), [&visit](xmlNodePtr node, int) {
        return node->type != XML_ELEMENT_NODE || visit(detail::NodeAccess::cursor(node));
    });
}

} // namespace veldra::xml
