#include "generation/crosscheck/ComparisonCost.h"

#include "platform/core/CountText.h"
#include "platform/xml/tree/Cursor.h"
#include "platform/xml/tree/Document.h"
#include "platform/xml/tree/UnorderedWalk.h"

#include <algorithm>
#include <limits>

namespace veldra {

namespace {

constexpr qint64 Largest = std::numeric_limits<qint64>::max();

qint64 saturatedProduct(qint64 a, qint64 b)
{
    if (a == 0 || b == 0)
        return 0;
    return a > Largest / b ? Largest : a * b;
}

qint64 stepsOf(const PlannedCheck& check, qint64 elements)
{
    return saturatedProduct(saturatedProduct(std::max<qint64>(check.controlValues, 1), check.queries), elements);
}

} // namespace

qint64 ComparisonCost::steps() const
{
    qint64 total = 0;
    for (const PlannedCheck& check : checks) {
        const qint64 steps = stepsOf(check, elements);
        total = steps > Largest - total ? Largest : total + steps;
    }
    return total;
}

qint64 elementCount(const xml::Document& document)
{
    qint64 count = 0;
    const xml::Node root = document.documentElement();
    if (!root.isNull())
        xml::forEachElementUnordered(xml::Cursor(root), [&count](const xml::Cursor&) {
            ++count;
            return true;
        });
    return count;
}

QString comparisonRefusal(const ComparisonCost& cost)
{
    if (cost.steps() <= ComparisonStepBound || cost.checks.empty())
        return {};
    const auto dearest = std::max_element(cost.checks.cbegin(), cost.checks.cend(), [&](const auto& a, const auto& b) {
        return stepsOf(a, cost.elements) < stepsOf(b, cost.elements);
    });
    return QStringLiteral(
               "The SPL Files are not compared: the check '%1' runs its %2 queries for each of the %3 values that "
               "SPL File 1 gives it, and each query reads all %4 elements of both files. The checks together make %5 "
               "steps, more than the %6 a comparison may take, so the comparison would keep Veldra busy for minutes.\r\n\r\n"
               "Check SPL File 1 for products or sections repeated by mistake, or compare smaller documents. The files "
               "are not changed.")
        .arg(dearest->name, countText(dearest->queries), countText(std::max<qint64>(dearest->controlValues, 1)),
             countText(cost.elements), countText(cost.steps()), countText(ComparisonStepBound));
}

} // namespace veldra
