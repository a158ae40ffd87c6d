#pragma once

namespace veldra {

// The most section, subsection and excerpt headings a Word label may have. Real labels have
// about a hundred; each heading is looked up among the sections made before it, so tens of
// thousands of tiny sections in a small file would keep the conversion busy for hours.
inline constexpr int kMaxHeadings = 1'000;

} // namespace veldra
