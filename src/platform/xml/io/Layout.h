#pragma once

namespace veldra::xml {

// How serialised text is laid out. AsIs writes the tree exactly as it is. Indented also puts
// each element of element-only content on a line of its own (two blanks per level), leaving
// text and mixed content untouched, so that loading the indented text gives the same tree.
enum class Layout { AsIs, Indented };

} // namespace veldra::xml
