#pragma once

#include <QtGlobal>

namespace veldra {

// The longest address a link keeps. Real addresses hold a few hundred characters; one of
// megabytes cited by thousands of links would fill the log and the label with copies of it.
inline constexpr qsizetype kMaxLinkAddressCharacters = 2'048;

// What the links and cross references of one conversion may cost, in characters: each is
// looked for in the text of its paragraph and adds its markup. Past it they stay text, so
// that thousands of links in one long paragraph cannot keep the conversion busy for minutes.
inline constexpr qint64 kMaxLinkCharacters = 16'000'000;

} // namespace veldra
