#pragma once

namespace veldra {

namespace xml {
class Document;
}

// Adds the fragments of the PostProcessing entries to the target document of a build: for
// each settings node an entry's Definition/Source selects, a copy of the fragment at
// Definition/TemplateTarget of the entry's fragment template file is filled from the Values
// and placed below Definition/Target ("$FilterValue" replaced by the node's filter value),
// or, where Definition/RepeatTarget finds an existing group, only its repeated part is added
// to that group. A fragment that cannot be placed is logged and dropped; a value whose source
// or target is missing is logged and left unfilled; any other failure ends the post-processing
// with an "Error" line. Only `target` changes.
void RunPostProcessing(const xml::Document& settings, const xml::Document& transformation, const xml::Document& target);

} // namespace veldra
