#pragma once

#include <QVarLengthArray>

#include <libxml/tree.h>

#include <array>
#include <cstddef>
#include <utility>

namespace veldra::xml {

// Visits `root` and every node below it (attributes aside), each with its depth below `root`
// (root: 0), in no particular order. A `visit(node, depth)` that returns false ends the walk,
// and the function then returns false. The tree must not change during the walk.
//
// A walk of a large tree waits on memory: its nodes lie scattered among their texts, and an
// ordered walk reads them one after another, each read starting once the last one has ended.
// This walk follows many branches at a time and starts their reads together, so that their
// waits overlap. Each lane follows a chain: a node, then its next siblings (none for the
// root). A node with children hands its next siblings to a waiting chain and goes on with
// its children, so every node is reached exactly once: from its parent or its previous
// sibling. A node is visited a round after it is reached, when its name, stored apart, has
// been read in too.
template <class Visit>
bool forEachNodeInterleaved(xmlNodePtr root, Visit&& visit)
{
    struct Place {
        xmlNodePtr node = nullptr;
        int depth = 0;
    };
    // Enough reads in flight to hide most of the wait, few enough lanes to stay in the cache.
    constexpr std::size_t laneCount = 16;
    // The chains waiting for a lane: those of a label of a few products fit on the stack and
    // take nothing from the heap; a large tree leaves more waiting, and they go on in the heap.
    QVarLengthArray<Place, 512> waiting;
    std::array<Place, laneCount> lanes{};
    std::array<Place, laneCount> reached{};
    lanes[0] = {root, 0};
    // A round in which a lane stepped is followed by one more, which visits what it reached.
    for (bool busy = root != nullptr; busy;) {
        busy = false;
        for (std::size_t i = 0; i < laneCount; ++i) {
            const Place due = std::exchange(reached[i], Place{});
            if (due.node && !visit(due.node, due.depth))
                return false;
            Place& lane = lanes[i];
            if (!lane.node) {
                if (waiting.empty())
                    continue;
                // Its read starts now; the lane steps on when its turn comes round again.
                lane = waiting.back();
                waiting.removeLast();
                __builtin_prefetch(lane.node);
                busy = true;
                continue;
            }
            busy = true;
            const Place at = lane;
            if (at.node->type == XML_ELEMENT_NODE)
                __builtin_prefetch(at.node->name);
            reached[i] = at;
            lane = {at.node == root ? nullptr : at.node->next, at.depth};
            if (at.node->children && (at.node->type == XML_ELEMENT_NODE || at.node == root)) {
                if (lane.node) {
                    waiting.append(lane);
                    __builtin_prefetch(lane.node);
                }
                lane = {at.node->children, at.depth + 1};
            }
            if (lane.node)
                __builtin_prefetch(lane.node);
        }
    }
    return true;
}

} // namespace veldra::xml
