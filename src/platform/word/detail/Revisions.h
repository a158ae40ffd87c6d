#pragma once

#include <libxml/tree.h>

namespace veldra::word::detail {

// Whether element properties (rPr, pPr, tblPr, …) record a tracked change of formatting.
bool holdsRevisionMarker(xmlNode* properties);

} // namespace veldra::word::detail
