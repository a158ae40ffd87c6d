#include "generation/crosscheck/ComparisonCost.h"

#include <gtest/gtest.h>

#include <limits>

using namespace veldra;

namespace {

// Each query of a check runs once per control value (once without a control query) over the
// elements of both files; the checks add up, and no count wraps.
TEST(ComparisonCostTest, TheStepsOfAllChecksAreHeldToTheBound)
{
    constexpr qint64 Largest = std::numeric_limits<qint64>::max();
    const struct {
        const char* name;
        qint64 elements;
        std::vector<PlannedCheck> checks;
        qint64 steps;
    } cases[] = {
        {"one run without control values, at the bound", 1'000, {{"A", 0, 40'000}}, ComparisonStepBound},
        {"one query past it", 1'000, {{"A", 0, 40'001}}, ComparisonStepBound + 1'000},
        {"one control value counts as one run", 1'000, {{"A", 1, 40'000}}, ComparisonStepBound},
        {"control values times queries, at the bound", 10'000, {{"A", 100, 40}}, ComparisonStepBound},
        {"two checks, each within, past it together", 10'000, {{"A", 100, 20}, {"B", 101, 20}}, ComparisonStepBound + 200'000},
        {"counts past any real file", Largest / 2, {{"A", Largest / 2, 3}, {"B", 2, 2}}, Largest},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        const ComparisonCost cost{c.elements, c.checks};
        EXPECT_EQ(cost.steps(), c.steps);
        EXPECT_EQ(comparisonRefusal(cost).isEmpty(), c.steps <= ComparisonStepBound);
    }
}

TEST(ComparisonCostTest, TheRefusalNamesTheDearestCheckItsCountsAndTheBound)
{
    const ComparisonCost cost{20'000, {{"Sections", 10, 3}, {"Products", 300, 30}, {"Labeler", 0, 1}}};
    EXPECT_EQ(comparisonRefusal(cost),
              "The SPL Files are not compared: the check 'Products' runs its 30 queries for each of the 300 values that "
              "SPL File 1 gives it, and each query reads all 20,000 elements of both files. The checks together make "
              "180,620,000 steps, more than the 40,000,000 a comparison may take, so the comparison would keep Veldra busy "
              "for minutes.\r\n\r\nCheck SPL File 1 for products or sections repeated by mistake, or compare smaller "
              "documents. The files are not changed.");
}

} // namespace
