#pragma once

#include <QtGlobal>

namespace veldra::xml {

// Inputs above this size are refused before parsing. Real SPL documents stay far below it.
inline constexpr qint64 kMaxInputBytes = 256LL * 1024 * 1024;

// An element with more attributes is refused before parsing: libxml2's duplicate check takes
// time quadratic in the count, and no settings or SPL element holds more than a few dozen.
inline constexpr int kMaxAttributesPerElement = 500;

} // namespace veldra::xml
