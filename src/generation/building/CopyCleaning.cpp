#include "generation/building/CopyCleaning.h"

#include "generation/building/BuildIndex.h"
#include "generation/building/DocumentCleaning.h"
#include "generation/building/NodeTests.h"
#include "generation/building/PathSteps.h"
#include "generation/building/TransformItems.h"

#include <QSet>

#include <algorithm>
#include <optional>

namespace veldra {

namespace {

bool isNameStart(QChar c)
{
    return c.isLetter() || c == QLatin1Char('_');
}

// A name as a step writes it, with or without a prefix.
bool isPlainName(QStringView text)
{
    bool atStart = true;
    bool prefixed = false;
    for (const QChar c : text) {
        if (atStart) {
            if (!isNameStart(c))
                return false;
            atStart = false;
        } else if (c == QLatin1Char(':') && !prefixed) {
            prefixed = atStart = true;
        } else if (!isNameStart(c) && !c.isDigit() && c != QLatin1Char('.') && c != QLatin1Char('-')) {
            return false;
        }
    }
    return !atStart;
}

// The element names a path steps through, its conditions and "." steps left out; nothing when
// a step is anything but a name (an axis, "..", "*", an attribute, a function, a union, "//").
std::optional<QStringList> nameSteps(const QString& path)
{
    QStringList names;
    QString name;
    const auto endStep = [&names, &name] {
        if (name != QLatin1String(".")) {
            if (!isPlainName(name))
                return false;
            names << name;
        }
        name.clear();
        return true;
    };
    int depth = 0;
    QChar quote;
    for (const QChar c : path) {
        if (!quote.isNull())
            quote = c == quote ? QChar() : quote;
        else if (depth > 0 && (c == QLatin1Char('\'') || c == QLatin1Char('"')))
            quote = c;
        else if (c == QLatin1Char('['))
            ++depth;
        else if (c == QLatin1Char(']') && depth > 0)
            --depth;
        else if (depth > 0)
            continue;
        else if (c != QLatin1Char('/'))
            name += c;
        else if (!endStep())
            return std::nullopt;
    }
    if (!endStep())
        return std::nullopt;
    return names;
}

bool reachesBelow(const QStringList& path, const QStringList& top)
{
    return path.size() > top.size() && std::equal(top.cbegin(), top.cend(), path.cbegin());
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

// Whether two of the settings elements share a Word2SPLID (the second would find and fill the
// copy made for the first, when both bear one name), or one lacks it.
bool identitiesRepeat(const std::vector<xml::Cursor>& elements)
{
    QSet<QByteArray> seen;
    seen.reserve(qsizetype(elements.size()));
    for (const xml::Cursor& element : elements) {
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

// What the decision needs to know of every Transform and PostProcessing entry, read once.
struct CopyCleaning::EntryPaths {
    xml::Node entry;
    bool transform = false;           // a Transform entry (else PostProcessing)
    QStringList sources;              // its Definition/Source paths
    bool cleaned = false;             // it has Values, so the cleaning pass runs for it
    std::optional<std::vector<QStringList>> cleaningNames;  // the names of its CleaningPaths, if all are plain
};

CopyCleaning::CopyCleaning(const xml::Document& transformation, const xml::Document& settings)
    : transformation_(transformation), settings_(settings)
{
}

CopyCleaning::~CopyCleaning() = default;

const std::vector<CopyCleaning::EntryPaths>& CopyCleaning::entryPaths()
{
    if (entryPaths_)
        return *entryPaths_;
    entryPaths_.emplace();
    const QString entries = QStringLiteral("Word2SPLTransform/Transform | Word2SPLTransform/PostProcessing");
    for (const xml::Node& entry : transformation_.selectNodes(entries)) {
        EntryPaths paths{entry, entry.nodeName() == QLatin1String("Transform"), sourcesOf(entry),
                         hasItem(entry, QStringLiteral("Value")), std::vector<QStringList>()};
        for (const QString& path : CleaningPaths(entry)) {
            std::optional<QStringList> names = nameSteps(path);
            if (!names) {
                paths.cleaningNames.reset();
                break;
            }
            paths.cleaningNames->push_back(std::move(*names));
        }
        entryPaths_->push_back(std::move(paths));
    }
    return *entryPaths_;
}

// Whether the entry makes its copies for `sourcePath` alone (no other Transform entry runs for
// those settings elements or for any below them), and no other entry's cleaning looks below
// the copies at `top`.
bool CopyCleaning::aloneAtAndBelow(const xml::Node& entry, const QString& sourcePath, const QStringList& top)
{
    const QString below = sourcePath + QLatin1Char('/');
    for (const EntryPaths& other : entryPaths()) {
        if (other.entry == entry)
            continue;
        if (other.transform)
            for (const QString& otherSource : other.sources)
                if (otherSource == sourcePath || otherSource.startsWith(below))
                    return false;
        if (!other.cleaned)
            continue;
        if (!other.cleaningNames)
            return false;
        for (const QStringList& names : *other.cleaningNames)
            if (reachesBelow(names, top))
                return false;
    }
    return true;
}

void CopyCleaning::cleanAfterValues(const xml::Node& entry, const PreparedEntry& prepared, const xml::Node& copy,
                                    const xml::Node& targetRoot)
{
    const Plan& plan = planFor(entry, prepared);
    if (plan.cleans && prepared.target.matches(copy, targetRoot)) {
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

bool CopyCleaning::qualifies(const xml::Node& entry, const PreparedEntry& prepared)
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
    if (sources.size() != 1 || !aloneAtAndBelow(entry, sources.first(), *top))
        return false;
    const std::vector<xml::Cursor> elements = matchingNodes(settings_, sources.first());
    if (identitiesRepeat(elements))
        return false;
    // A copy is cleaned for each: room for all of them at once spares the set growing step by step.
    cleaned_.reserve(cleaned_.size() + elements.size());
    return true;
}

} // namespace veldra
