#pragma once

// The attribute limit (kMaxAttributesPerElement) is shared with the Office readers and lives
// with the scan that holds it.
#include "platform/core/InputScan.h"

#include <QtGlobal>

namespace veldra::xml {

// Inputs above this size are refused before parsing. Real SPL documents stay far below it.
inline constexpr qint64 kMaxInputBytes = 256LL * 1024 * 1024;
// Elements nested deeper than this are refused while parsing (the document element is level 1).
inline constexpr int kMaxElementDepth = 256;

} // namespace veldra::xml
