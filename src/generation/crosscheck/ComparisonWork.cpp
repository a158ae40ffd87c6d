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
    checkCharacters_ = 0;
}

void ComparisonWork::addControlQuery(qint64 compared)
{
    add(saturatedSum(elements1_, compared), compared);
}

void ComparisonWork::addProcessQuery(qint64 compared)
{
    add(saturatedSum(saturatedSum(elements1_, elements2_), compared), compared);
}

void ComparisonWork::addSelected(qint64 nodes)
{
    add(nodes);
}

void ComparisonWork::addCharacters(qint64 characters)
{
    add(characters, characters);
}

void ComparisonWork::addReplay(qint64 results, qint64 characters)
{
    add(saturatedSum(results, characters), characters);
}

void ComparisonWork::add(qint64 steps, qint64 characters)
{
    steps_ = saturatedSum(steps_, steps);
    checkSteps_ = saturatedSum(checkSteps_, steps);
    checkCharacters_ = saturatedSum(checkCharacters_, characters);
    if (checkSteps_ > dearestSteps_) {
        dearest_ = check_;
        dearestSteps_ = checkSteps_;
        dearestCharacters_ = checkCharacters_;
    }
}

bool ComparisonWork::overCap() const
{
    return steps_ > comparisonWorkCap();
}

QString ComparisonWork::refusal() const
{
    return QStringLiteral(
               "The comparison was stopped: it came to %1 steps, more than the %2 a comparison may take. The check "
               "'%3' came to %4 of them, %5 for the characters of the values it compares: each of its queries reads "
               "all %6 elements of both files (%7 of SPL File 1, %8 of SPL File 2), each node it selects counts once "
               "more, and so does each character of a value it compares or gives again.\r\n\r\nCheck the files "
               "for products or sections repeated by mistake, or for titles and texts of great length, or compare "
               "smaller documents. The files are not changed.")
        .arg(countText(steps_), countText(comparisonWorkCap()), dearest_, countText(dearestSteps_),
             countText(dearestCharacters_), countText(saturatedSum(elements1_, elements2_)), countText(elements1_),
             countText(elements2_));
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
