#pragma once

#include <QString>

namespace veldra::word::detail {

// One list number in a numbering format (w:numFmt): "decimal" 3 → "3", "lowerRoman" 4 →
// "iv", "upperLetter" 28 → "BB", "ordinal" 2 → "2nd", "cardinalText" 3 → "Three".
// *known is false for a format this model does not know; it then gives decimal.
QString formatNumber(int value, const QString& format, bool* known = nullptr);

} // namespace veldra::word::detail
