#pragma once

#include <libxml/tree.h>

namespace veldra::xml::detail {

// A copy of the element `source` (with its subtree when `deep`) that belongs to `target` and
// has no parent. Namespaces declared within the copy are declared again there; those declared
// above the source are referenced through the target document, to be declared wherever the
// copy is inserted. Texts go into the target's dictionary when it has one. One pass over the
// subtree: a namespace is looked up once, however many nodes name it.
xmlNodePtr copyElement(xmlNodePtr source, xmlDocPtr target, bool deep);

} // namespace veldra::xml::detail
