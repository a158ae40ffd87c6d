#include "platform/xml/tree/UnorderedWalk.h"

#include "platform/xml/tree/NodeAccess.h"

#include <libxml/tree.h>

#include <array>
#include <utility>
#include <vector>

namespace veldra::xml {

namespace {

// How many branches the walk follows at a time: enough reads in flight to hide most of the
// wait, few enough that the lanes stay in the cache.
constexpr std::size_t laneCount = 16;

bool mayHoldElements(xmlNodePtr node, xmlNodePtr root)
{
    return node->children && (node->type == XML_ELEMENT_NODE || node == root);
}

} // namespace

void forEachElementUnordered(const Cursor& root, const std::function<bool(const Cursor&)>& visit)
{
    xmlNodePtr const top = detail::NodeAccess::raw(root);
    if (!top)
        return;
    // Each lane follows a chain: a node, then its next siblings (the root has none here). A
    // node with children hands its next siblings to a waiting chain and goes on with its
    // children, so every node is reached exactly once: from its parent or its previous sibling.
    std::vector<xmlNodePtr> waiting;
    std::array<xmlNodePtr, laneCount> lanes{};
    lanes[0] = top;
    // An element is visited a round after it is reached, once its name, stored apart, has
    // been read in too.
    std::array<xmlNodePtr, laneCount> reached{};
    const auto visitReached = [&](xmlNodePtr& element) {
        const xmlNodePtr due = std::exchange(element, nullptr);
        return !due || visit(detail::NodeAccess::cursor(due));
    };
    for (bool busy = true; busy;) {
        busy = false;
        for (std::size_t i = 0; i < laneCount; ++i) {
            if (!visitReached(reached[i]))
                return;
            xmlNodePtr& lane = lanes[i];
            if (!lane) {
                if (waiting.empty())
                    continue;
                // Its read starts now; the lane steps on when its turn comes round again.
                lane = waiting.back();
                waiting.pop_back();
                __builtin_prefetch(lane);
                busy = true;
                continue;
            }
            busy = true;
            const xmlNodePtr node = lane;
            if (node->type == XML_ELEMENT_NODE) {
                __builtin_prefetch(node->name);
                reached[i] = node;
            }
            xmlNodePtr next = node == top ? nullptr : node->next;
            if (mayHoldElements(node, top)) {
                if (next) {
                    waiting.push_back(next);
                    __builtin_prefetch(next);
                }
                next = node->children;
            }
            lane = next;
            if (next)
                __builtin_prefetch(next);
        }
    }
}

} // namespace veldra::xml
