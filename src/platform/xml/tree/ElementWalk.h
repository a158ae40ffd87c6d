#pragma once

#include <libxml/tree.h>

#include <type_traits>

namespace veldra::xml {

// Visits `root` and every element below it in document order, without recursion and without
// node handles. A `visit` that returns bool ends the walk by returning false.
template <class Visit>
void forEachElement(xmlNodePtr root, Visit&& visit)
{
    xmlNodePtr cur = root;
    while (cur) {
        // The walk waits on memory: the next sibling is fetched while the children are visited.
        __builtin_prefetch(cur->next);
        if (cur->type == XML_ELEMENT_NODE) {
            if constexpr (std::is_same_v<std::invoke_result_t<Visit&, xmlNodePtr>, bool>) {
                if (!visit(cur))
                    return;
            } else {
                visit(cur);
            }
            if (cur->children) {
                cur = cur->children;
                continue;
            }
        }
        while (cur != root && !cur->next)
            cur = cur->parent;
        if (cur == root)
            return;
        cur = cur->next;
    }
}

} // namespace veldra::xml
