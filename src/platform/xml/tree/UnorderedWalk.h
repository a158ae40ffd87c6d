#pragma once

#include "platform/xml/tree/Cursor.h"

#include <functional>

namespace veldra::xml {

// Visits `root` and every element below it, as forEachElement does, but in no particular
// order and much faster on a large tree (see forEachNodeInterleaved). For questions whose
// answer does not hang on the order: whether any element is so, which elements are so, the
// first in document order when compared with Cursor::precedes. A `visit` that returns false
// ends the walk. The tree must not change during it.
void forEachElementUnordered(const Cursor& root, const std::function<bool(const Cursor&)>& visit);

} // namespace veldra::xml
