#include "generation/building/CopyCleaning.h"

#include "generation/building/BuildIndex.h"
#include "generation/building/DocumentCleaning.h"
#include "generation/building/NodeTests.h"
#include "generation/building/PathSteps.h"
#include "generation/building/TransformItems.h"

#include <QRegularExpression>
#include <QSet>

#include <optional>

namespace veldra {

namespace {

// The element names a path steps through, its conditions and "." steps left out; nothing when
// a step is anything but a name (an axis, "..", "*", an attribute, a function, a union, "//").
std::optional<QStringList> nameSteps(const QString& path)
{
    static const QRegularExpression name(QStringLiteral("^[A-Za-z_][A-Za-z0-9_.-]*(?::[A-Za-z_][A-Za-z0-9_.-]*)?$"));
    QString bare;
    int depth = 0;
    QChar quote;
    for (const QChar c : path) {
        if (!quote.isNull())
            quote = c == quote ? QChar() : quote;
        else if (depth > 0 && (c == QLatin1Char('\'') || c == QLatin1Char('"')))
            quote = c;
        else if (c == QLatin1Char('['))
            ++depth;
        else if (c == QLatin1Char(']'))
            --depth;
        else if (depth == 0)
            bare += c;
    }
    QStringList names;
    for (const QString& step : bare.split(QLatin1Char('/'))) {
        if (step == QLatin1String("."))
            continue;
        if (!name.match(step).hasMatch())
            return std::nullopt;
        names << step;
    }
    return names;
}

bool reachesBelow(const QStringList& path, const QStringList& top)
{
    return path.size() > top.size() && path.mid(0, top.size()) == top;
}

QStringList sourcesOf(const xml::Node& entry)
{
    QStringList sources;
    for (const xml::Node& item : allMatches(entry, QStringLiteral("Definition/Source")))
        sources << item.text();
    sources.removeDuplicates();
    return sources;
}

bool hasItem(const xml::Node& entry, const QString& item)
{
    return !firstMatch(entry, item).isNull();
}

// Whether a cloning entry makes its copies for `sourcePath` alone: no other Transform entry
// runs for those settings elements or for any below them.
bool soleEntryOfItsSource(const xml::Document& transformation, const xml::Node& entry, const QString& sourcePath)
{
    const QString below = sourcePath + QLatin1Char('/');
    for (const xml::Node& other : allMatches(transformation, QStringLiteral("Word2SPLTransform/Transform"))) {
        if (other == entry)
            continue;
        for (const QString& otherSource : sourcesOf(other))
            if (otherSource == sourcePath || otherSource.startsWith(below))
                return false;
    }
    return true;
}

// Whether no other entry's cleaning looks below the copies at `top`.
bool noOtherCleaningBelow(const xml::Document& transformation, const xml::Node& entry, const QStringList& top)
{
    const QString entries = QStringLiteral("Word2SPLTransform/Transform | Word2SPLTransform/PostProcessing");
    for (const xml::Node& other : transformation.selectNodes(entries)) {
        if (other == entry || !hasItem(other, QStringLiteral("Value")))
            continue;
        for (const QString& path : CleaningPaths(other)) {
            const std::optional<QStringList> names = nameSteps(path);
            if (!names || reachesBelow(*names, top))
                return false;
        }
    }
    return true;
}

// Whether two settings elements at `sourcePath` share a Word2SPLID (the second would find and
// fill the copy made for the first, when both bear one name), or one lacks it.
bool identitiesRepeat(const xml::Document& settings, const QString& sourcePath)
{
    QSet<QByteArray> seen;
    for (const xml::Cursor& element : matchingNodes(settings, sourcePath)) {
        const xml::Cursor mark = markOf(element);
        if (!mark)
            return true;
        const QByteArray id = mark.textUtf8();
        if (seen.contains(id))
            return true;
        seen.insert(id);
    }
    return false;
}

} // namespace

CopyCleaning::CopyCleaning(const xml::Document& transformation, const xml::Document& settings)
    : transformation_(transformation), settings_(settings)
{
}

void CopyCleaning::cleanAfterValues(const xml::Node& entry, const PreparedEntry& prepared, const xml::Node& copy,
                                    const xml::Node& targetRoot)
{
    const Plan& plan = planFor(entry, prepared);
    if (plan.cleans && matchesPath(copy, targetRoot, prepared.target.text())) {
        CleanBelowCopy(copy, plan.valueTargets);
        cleaned_.insert(xml::Cursor(copy));
    }
}

const CopyCleaning::Plan& CopyCleaning::planFor(const xml::Node& entry, const PreparedEntry& prepared)
{
    if (const auto known = plans_.find(xml::Cursor(entry)); known != plans_.end())
        return known->second;
    Plan plan;
    plan.cleans = qualifies(entry, prepared);
    if (plan.cleans)
        for (const PreparedValue* value : prepared.preparedValues)
            plan.valueTargets.push_back(&value->targetBelowCopy);
    return plans_.emplace(xml::Cursor(entry), std::move(plan)).first->second;
}

bool CopyCleaning::qualifies(const xml::Node& entry, const PreparedEntry& prepared) const
{
    if (!indexedLookups() || isDirectCopyText(prepared.directCopy) || hasItem(entry, QStringLiteral("Definition/FilterSource"))
        || hasItem(entry, QStringLiteral("Definition/TemplateTarget")))
        return false;
    for (const PreparedValue* value : prepared.preparedValues)
        if (!value || !value->targetLookupsCannotFail)
            return false;
    const QString targetPath = prepared.target.text();
    const std::optional<QStringList> top = nameSteps(targetPath);
    if (!top || top->isEmpty() || lastStep(targetPath).contains(QLatin1Char('[')))
        return false;
    const QStringList sources = sourcesOf(entry);
    return sources.size() == 1 && soleEntryOfItsSource(transformation_, entry, sources.first())
        && noOtherCleaningBelow(transformation_, entry, *top) && !identitiesRepeat(settings_, sources.first());
}

} // namespace veldra
