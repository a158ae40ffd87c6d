#pragma once

#include <libxml/tree.h>

namespace veldra::xml::detail {

// After the element `root` was linked where it now stands: every element and attribute of its
// subtree names a namespace declared in scope there. When each namespace from outside the
// subtree is declared with its prefix in scope at the new place (a section copied into a
// label that declares what the section's label did), that takes one pass over the subtree and
// a lookup per namespace rather than per node. Any other subtree is left to libxml2's
// reconciliation, which declares what is missing node by node.
void fitNamespaces(xmlNodePtr root);

} // namespace veldra::xml::detail
