#pragma once

#include <libxml/tree.h>

#include <optional>

namespace veldra::word::detail {

struct ParaProps;

// The left indent a paragraph-properties element (w:pPr) states in its w:ind, in twentieths
// of a point; nullopt when it states none.
std::optional<int> readLeftIndent(xmlNode* pPr);

// The left indent a paragraph shows: its own; else its numbering's when the numbering is set
// on the paragraph itself; else its style's; else its numbering's (a style's own indent wins
// over the numbering the style brings). `direct` holds the paragraph's own properties,
// `resolved` those with its style chain folded in.
int shownLeftIndent(const ParaProps& direct, const ParaProps& resolved, std::optional<int> numberingIndent);

} // namespace veldra::word::detail
