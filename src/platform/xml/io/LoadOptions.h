#pragma once

#include "platform/core/InputScan.h"

#include <QtGlobal>

#include <limits>

namespace veldra::xml {

// How a file is read into a tree.
struct LoadOptions {
    // Nodes of every kind together (elements, attributes, namespace declarations, texts, comments
    // and processing instructions), counted in the raw input before anything is built; a file
    // with more is refused with the count and the limit.
    qint64 maxNodes = std::numeric_limits<qint64>::max();
    // Comments and processing instructions show nothing in a label and match no query of an
    // element; a reader that only queries or shows a file may leave them out of its tree.
    bool keepCommentsAndInstructions = true;
    // The longest text or attribute value. The program's own files and settings documents may
    // hold longer ones; an outside file goes on to the stylesheet program, which takes no more.
    qint64 maxTextCharacters = std::numeric_limits<qint64>::max();
};

// The nodes of an outside file (an SPL label, a settings snapshot) that a reader builds a whole
// tree of. A parsed node costs up to some 300 bytes with its text, so two files at the limit
// compared side by side stay under 1 GB whatever their shape. Real labels hold one node per 20
// to 35 bytes: this admits labels of 20 MB and more.
inline constexpr qint64 kMaxOutsideFileNodes = 1'000'000;

inline constexpr LoadOptions OutsideFile{kMaxOutsideFileNodes, true, kMaxTextCharacters};
inline constexpr LoadOptions OutsideFileWithoutComments{kMaxOutsideFileNodes, false, kMaxTextCharacters};

} // namespace veldra::xml
