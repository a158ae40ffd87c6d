#pragma once

#include <QtGlobal>

namespace veldra {

// The most section, subsection and excerpt headings a Word label may have. Real labels have
// about a hundred; each heading is looked up among the sections made before it, so tens of
// thousands of tiny sections in a small file would keep the conversion busy for hours.
inline constexpr int kMaxHeadings = 1'000;
// The most characters those headings may hold together. Headings are compared with each
// other whole, so a thousand headings of a page of text each would cost as much again.
inline constexpr qsizetype kMaxHeadingCharacters = 100'000;

} // namespace veldra
