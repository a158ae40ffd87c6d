#pragma once

#include "platform/xml/tree/Cursor.h"

#include <functional>

namespace veldra::xml {

// Visits `root` and every element below it, as forEachElement does, but in no particular
// order. For questions whose answer does not hang on the order (whether any element is so,
// which elements are so, the first in document order when compared with Cursor::precedes).
//
// A walk of a large tree waits on memory: its nodes lie scattered among their texts, and an
// ordered walk reads them one after another, each read starting where the last one ended.
// This walk follows many branches of the tree at a time and starts their reads together,
// so their waits overlap; on a tree of hundreds of thousands of nodes it takes a fraction of
// the time. A `visit` that returns false ends the walk. The tree must not change during it.
void forEachElementUnordered(const Cursor& root, const std::function<bool(const Cursor&)>& visit);

} // namespace veldra::xml
