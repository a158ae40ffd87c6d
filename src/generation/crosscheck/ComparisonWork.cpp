#include "generation/crosscheck/ComparisonWork.h"

#include "platform/core/CountText.h"
#include "platform/xml/tree/Cursor.h"
#include "platform/xml/tree/Document.h"
#include "platform/xml/tree/UnorderedWalk.h"

#include <limits>

namespace veldra {

namespace {

qint64& capInForce()
{
    static qint64 cap = ComparisonWorkCap;
    return cap;
}

// Held at the largest qint64 rather than wrapping.
qint64 saturatedSum(qint64 a, qint64 b)
{
    constexpr qint64 Largest = std::numeric_limits<qint64>::max();
    return b > Largest - a ? Largest : a + b;
}

} // namespace

ComparisonWork::ComparisonWork(qint64 elements1, qint64 elements2) : elements1_(elements1), elements2_(elements2) {}

void ComparisonWork::startCheck(const QString& name)
{
    check_ = name;
    checkSteps_ = 0;
}

void ComparisonWork::addControlQuery(qint64 selected)
{
    add(saturatedSum(elements1_, selected));
}

void ComparisonWork::addProcessQuery(qint64 selected1, qint64 selected2)
{
    add(saturatedSum(saturatedSum(elements1_, elements2_), saturatedSum(selected1, selected2)));
}

void ComparisonWork::addMatches(qint64 results)
{
    add(results);
}

void ComparisonWork::add(qint64 steps)
{
    steps_ = saturatedSum(steps_, steps);
    checkSteps_ = saturatedSum(checkSteps_, steps);
    if (checkSteps_ > dearestSteps_) {
        dearest_ = check_;
        dearestSteps_ = checkSteps_;
    }
}

bool ComparisonWork::overCap() const
{
    return steps_ > comparisonWorkCap();
}

QString ComparisonWork::refusal() const
{
    return QStringLiteral(
               "The comparison was stopped: it took %1 steps, more than the %2 a comparison may take. The check '%3' "
               "took %4 of them: each of its queries reads all %5 elements of both files (%6 of SPL File 1, %7 of "
               "SPL File 2), and each node it selects counts once more.\r\n\r\nCheck the files for products or "
               "sections repeated by mistake, or compare smaller documents. The files are not changed.")
        .arg(countText(steps_), countText(comparisonWorkCap()), dearest_, countText(dearestSteps_),
             countText(saturatedSum(elements1_, elements2_)), countText(elements1_), countText(elements2_));
}

qint64 comparisonWorkCap()
{
    return capInForce();
}

void setComparisonWorkCap(qint64 cap)
{
    capInForce() = cap > 0 ? cap : ComparisonWorkCap;
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

} // namespace veldra
