#pragma once

#include <libxml/tree.h>

namespace veldra::word::detail {

// Whether element properties (rPr, pPr, tblPr, …) record a tracked change of formatting.
bool holdsRevisionMarker(xmlNode* properties);
// Whether the properties of a paragraph mark, a row or a cell record it as deleted or moved
// away: accepting the changes takes it out.
bool marksRemoval(xmlNode* properties);
// Whether they record it as inserted or moved in: accepting the changes keeps it.
bool marksAddition(xmlNode* properties);

} // namespace veldra::word::detail
