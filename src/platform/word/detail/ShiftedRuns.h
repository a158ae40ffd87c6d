#pragma once

#include <vector>

namespace veldra::word::detail {

// A run of a paragraph as it is shown: where its characters lie, its size and how far it is
// raised (positive) or lowered (negative) from the baseline, both in half-points.
struct ShownRun {
    int start = 0;
    int end = 0;
    int size = 0;
    int position = 0;
    bool script = false;    // a superscript or subscript by its vertical alignment already
};

enum class Script { None, Superscript, Subscript };

// What each run reads as. Some word processors write a superscript as a run raised from the
// baseline in a smaller size than the text around it, and a subscript as one lowered; a shift
// in the same size or larger only nudges the layout. The text around a run is the nearest run
// on the baseline before it, else the nearest after it, else the paragraph's own text.
std::vector<Script> scriptsByShift(const std::vector<ShownRun>& runs, int paragraphSize);

} // namespace veldra::word::detail
