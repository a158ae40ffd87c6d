#pragma once

#include <QString>

namespace veldra {

// How the texts of a comparison's process are matched (its DataType): "Name" after whitespace
// normalisation; "DisplayName", the readable side of a code, which labels write in differing
// letter case, also whatever its case; every other text (codes among them) exactly.
enum class TextMatch { Exact, Name, DisplayName };

TextMatch textMatchOf(const QString& dataType);

// The text as it is matched.
QString matchKey(const QString& text, TextMatch match);

} // namespace veldra
