#pragma once

#include <QString>

namespace veldra::word::detail {

// Symbol fonts draw their own glyphs at ASCII code points (or at U+F020..U+F0FF, where
// symbols inserted from a dialog are stored). Reading such text as it is stored would
// turn "≥" into "³" or a private-use character, which corrupts dosing text, so the
// characters of the Symbol font (and a few common Wingdings bullets) are mapped to the
// Unicode characters they show.
bool isSymbolFont(const QString& font);
// The Unicode character shown; *mapped is false (and c is returned) when the font's
// character has no mapping.
char32_t mapSymbolCharacter(char32_t c, const QString& font, bool* mapped);

} // namespace veldra::word::detail
