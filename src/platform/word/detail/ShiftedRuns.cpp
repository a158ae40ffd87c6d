#include "platform/word/detail/ShiftedRuns.h"

#include <optional>

namespace veldra::word::detail {

namespace {

bool onBaseline(const ShownRun& run)
{
    return !run.script && run.position == 0;
}

// For each run, the size of the nearest run on the baseline after it, if any.
std::vector<std::optional<int>> baselineSizesAfter(const std::vector<ShownRun>& runs)
{
    std::vector<std::optional<int>> sizes(runs.size());
    std::optional<int> next;
    for (size_t index = runs.size(); index-- > 0;) {
        sizes[index] = next;
        if (onBaseline(runs[index]))
            next = runs[index].size;
    }
    return sizes;
}

} // namespace

std::vector<Script> scriptsByShift(const std::vector<ShownRun>& runs, int paragraphSize)
{
    const std::vector<std::optional<int>> after = baselineSizesAfter(runs);
    std::vector<Script> scripts(runs.size(), Script::None);
    std::optional<int> before;
    for (size_t index = 0; index < runs.size(); ++index) {
        const ShownRun& run = runs[index];
        if (onBaseline(run)) {
            before = run.size;
            continue;
        }
        const int around = before ? *before : after[index].value_or(paragraphSize);
        if (!run.script && run.size < around)
            scripts[index] = run.position > 0 ? Script::Superscript : Script::Subscript;
    }
    return scripts;
}

} // namespace veldra::word::detail
