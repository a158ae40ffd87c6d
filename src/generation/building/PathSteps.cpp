#include "generation/building/PathSteps.h"

#include "generation/building/BuildIndex.h"
#include "generation/building/StepPredicate.h"
#include "platform/core/QuoteBracketScan.h"
#include "platform/xml/tree/Cursor.h"
#include "platform/xml/tree/NodeList.h"

#include <QHash>
#include <QList>
#include <QStringList>
#include <QVarLengthArray>

#include <algorithm>
#include <memory>
#include <optional>
#include <vector>

namespace veldra {

namespace {

bool isAsciiLetter(QChar c)
{
    return (c >= QLatin1Char('a') && c <= QLatin1Char('z')) || (c >= QLatin1Char('A') && c <= QLatin1Char('Z'));
}

bool isNameStart(QChar c)
{
    return c.isLetter() || c == QLatin1Char('_') || c == QLatin1Char('*');
}

// A step is a name test followed by predicates; the name test holds no axis or function.
bool isChildStep(const QString& step)
{
    if (step.isEmpty() || !isNameStart(step[0]))
        return false;
    const qsizetype predicates = step.indexOf(QLatin1Char('['));
    const QString nameTest = predicates < 0 ? step : step.left(predicates);
    if (nameTest.contains(QLatin1Char(':')) || nameTest.contains(QLatin1Char('(')))
        return false;
    return predicates < 0 || step.endsWith(QLatin1Char(']'));
}

// Splits at the "/" that stand outside predicates and quotes; nothing when the path has a
// top-level character that is not part of a child step.
std::optional<QStringList> splitTopLevel(const QString& path)
{
    QStringList steps;
    QString step;
    QuoteBracketScan scan;
    for (const QChar c : path) {
        if (scan.take(c.unicode()) == QuoteBracketScan::Role::Plain && scan.depth() == 0) {
            if (c == QLatin1Char('/')) {
                steps << step;
                step.clear();
                continue;
            }
            if (c == QLatin1Char('|') || c.isSpace())
                return std::nullopt;
        }
        step += c;
    }
    if (!scan.balanced())
        return std::nullopt;
    steps << step;
    return steps;
}

// A step that is a name (or "*") and conditions StepPredicate takes is answered without the
// query engine; any other step is evaluated as a query relative to the node above.
struct Step {
    QString text;
    bool native = false;
    NameTest test;
    std::vector<StepPredicate> conditions;

    bool holdsConditions(const xml::Cursor& node) const
    {
        for (const StepPredicate& condition : conditions)
            if (!condition.holds(node))
                return false;
        return true;
    }

    bool matches(const xml::Cursor& node) const { return test.matches(node) && holdsConditions(node); }
};

using Steps = std::vector<Step>;

bool isStepName(const QString& name)
{
    if (name == QLatin1String("*"))
        return true;
    if (name.isEmpty() || !(isAsciiLetter(name[0]) || name[0] == QLatin1Char('_')))
        return false;
    for (const QChar c : name)
        if (!(isAsciiLetter(c) || c.isDigit() || c == QLatin1Char('.') || c == QLatin1Char('_') || c == QLatin1Char('-')))
            return false;
    return true;
}

// The conditions of a step ("[a][b='x']" without its name), each without its brackets;
// nothing when something stands between them.
std::optional<QStringList> conditionsOf(const QString& brackets)
{
    QStringList conditions;
    QuoteBracketScan scan;
    QString condition;
    for (const QChar c : brackets) {
        switch (scan.take(c.unicode())) {
        case QuoteBracketScan::Role::Open:
            if (scan.depth() == 1)
                continue;
            break;
        case QuoteBracketScan::Role::Close:
            if (scan.depth() == 0) {
                conditions << condition;
                condition.clear();
                continue;
            }
            break;
        case QuoteBracketScan::Role::Plain:
            if (scan.depth() == 0)
                return std::nullopt;
            break;
        case QuoteBracketScan::Role::Quoted: break;
        }
        condition += c;
    }
    return conditions;
}

Step compileStep(const QString& text)
{
    Step step{text, false, {}, {}};
    const qsizetype bracket = text.indexOf(QLatin1Char('['));
    const QString name = bracket < 0 ? text : text.left(bracket);
    if (!isStepName(name))
        return step;
    if (name != QLatin1String("*"))
        step.test.name = name.toUtf8();
    const std::optional<QStringList> conditions = bracket < 0 ? QStringList() : conditionsOf(text.mid(bracket));
    if (!conditions)
        return step;
    for (const QString& condition : *conditions) {
        std::optional<StepPredicate> predicate = StepPredicate::parse(condition);
        if (!predicate) {
            step.conditions.clear();
            return step;
        }
        step.conditions.push_back(std::move(*predicate));
    }
    step.native = true;
    return step;
}

std::optional<Steps> compilePath(const QString& path)
{
    // The context itself: no step to take. The build asks it of every copy and element it fills.
    if (path == QLatin1String("."))
        return Steps();
    std::optional<QStringList> texts = splitTopLevel(path);
    if (!texts)
        return std::nullopt;
    Steps steps;
    for (const QString& text : *texts) {
        if (!isChildStep(text))
            return std::nullopt;
        steps.push_back(compileStep(text));
    }
    return steps;
}

// A build asks the same few dozen paths thousands of times.
std::shared_ptr<const Steps> stepsOf(const QString& path)
{
    thread_local QHash<QString, std::shared_ptr<const Steps>> compiled;
    const auto known = compiled.constFind(path);
    if (known != compiled.cend())
        return *known;
    if (compiled.size() > 4096)
        compiled.clear();
    std::optional<Steps> steps = compilePath(path);
    return *compiled.insert(path, steps ? std::make_shared<const Steps>(std::move(*steps)) : nullptr);
}

std::shared_ptr<const Steps> indexedSteps(const QString& path)
{
    return indexedLookups() ? stepsOf(path) : nullptr;
}

// Calls `found` for each match of steps[index...] below `context`, in document order, until it
// answers false; answers false when it was stopped. Walks with a cursor: nothing changes the
// tree meanwhile, so no handle is needed to keep a visited node alive.
template<typename Found>
bool eachMatch(const xml::Cursor& context, const Steps& steps, size_t index, Found&& found)
{
    if (index == steps.size())
        return found(context);
    const Step& step = steps[index];
    if (step.native) {
        for (const xml::Cursor child : context.children(step.test.lookedFor()))
            if (step.holdsConditions(child) && !eachMatch(child, steps, index + 1, found))
                return false;
        return true;
    }
    for (const xml::Node& child : context.node().selectNodes(step.text))
        if (!eachMatch(xml::Cursor(child), steps, index + 1, found))
            return false;
    return true;
}

// A node the walk can start at: the document node or a node of the tree, not the XML
// declaration or a namespace declaration shown as a node. Throws VbError for a null handle, as
// any query from it does.
bool isWalkable(const xml::Node& node)
{
    node.nodeType();  // throws for a null handle
    return !xml::Cursor(node).isNull();
}

bool contains(const xml::NodeList& nodes, const xml::Node& node)
{
    for (const xml::Node& candidate : nodes)
        if (candidate == node)
            return true;
    return false;
}

QList<xml::Node> listOf(const xml::NodeList& nodes)
{
    QList<xml::Node> list;
    list.reserve(nodes.length());
    for (const xml::Node& node : nodes)
        list << node;
    return list;
}

xml::Node firstMatchOf(const xml::Node& context, const QString& path, const Steps* steps)
{
    if (!steps || !isWalkable(context))
        return context.selectSingleNode(path);
    xml::Cursor first;
    eachMatch(xml::Cursor(context), *steps, 0, [&](const xml::Cursor& node) {
        first = node;
        return false;
    });
    return first.node();
}

} // namespace

struct LocationPath::Compiled {
    std::shared_ptr<const Steps> steps;
};

LocationPath::LocationPath(const QString& path)
    : path_(path), compiled_(std::make_shared<const Compiled>(Compiled{indexedSteps(path)}))
{
}

xml::Node LocationPath::firstMatch(const xml::Node& context) const
{
    return firstMatchOf(context, path_, compiled_->steps.get());
}

xml::Node firstMatch(const xml::Node& context, const QString& path)
{
    return firstMatchOf(context, path, indexedSteps(path).get());
}

QList<xml::Node> allMatches(const xml::Node& context, const QString& path)
{
    const std::shared_ptr<const Steps> steps = indexedSteps(path);
    if (!steps || !isWalkable(context))
        return listOf(context.selectNodes(path));
    QList<xml::Node> matches;
    eachMatch(xml::Cursor(context), *steps, 0, [&](const xml::Cursor& node) {
        matches << node.node();
        return true;
    });
    return matches;
}

namespace {

std::vector<xml::Cursor> matchingNodesOf(const xml::Node& context, const QString& path, const Steps* steps)
{
    std::vector<xml::Cursor> matches;
    if (!steps || !isWalkable(context)) {
        for (const xml::Node& node : context.selectNodes(path))
            if (isWalkable(node))
                matches.push_back(xml::Cursor(node));
        return matches;
    }
    eachMatch(xml::Cursor(context), *steps, 0, [&](const xml::Cursor& node) {
        matches.push_back(node);
        return true;
    });
    return matches;
}

bool matchesPathOf(const xml::Node& node, const xml::Node& context, const QString& path, const Steps* steps)
{
    if (!steps)
        return contains(context.selectNodes(path), node);
    if (steps->empty())
        return node == context;
    node.nodeType();  // throws for a null handle
    // The node's ancestors below the context, one per step, read with cursors: nothing changes
    // the tree meanwhile. The XML declaration and a namespace declaration (null cursors) match
    // no step, and no node stands below them.
    const xml::Cursor top(context);
    QVarLengthArray<xml::Cursor, 16> chain(qsizetype(steps->size()));
    xml::Cursor at(node);
    for (qsizetype i = chain.size() - 1; i >= 0; --i) {
        if (!at || at == top)
            return false;
        chain[i] = at;
        at = at.parent();
    }
    if (!top || at != top)
        return false;
    for (qsizetype i = 0; i < chain.size(); ++i) {
        const Step& step = (*steps)[size_t(i)];
        const xml::Cursor above = i == 0 ? top : chain[i - 1];
        if (step.native ? !step.matches(chain[i]) : !contains(above.node().selectNodes(step.text), chain[i].node()))
            return false;
    }
    return true;
}

} // namespace

std::vector<xml::Cursor> LocationPath::matchingNodes(const xml::Node& context) const
{
    return matchingNodesOf(context, path_, compiled_->steps.get());
}

bool LocationPath::matches(const xml::Node& node, const xml::Node& context) const
{
    return matchesPathOf(node, context, path_, compiled_->steps.get());
}

std::vector<xml::Cursor> matchingNodes(const xml::Node& context, const QString& path)
{
    return matchingNodesOf(context, path, indexedSteps(path).get());
}

std::vector<xml::Cursor> matchingNodes(const xml::Document& document, const QString& path)
{
    const xml::Node root = document.documentElement();
    return matchingNodes(root.isNull() ? document.asNode() : root.parentNode(), path);
}

struct PrefixedPaths::Prefix {
    std::shared_ptr<const Steps> steps;
    std::optional<int> reach;  // the deepest level its steps and their conditions look at
};

namespace {

// A step of a rest with a condition that looks at its node's children, and the level below
// the context of the nodes it is asked of.
struct WatchedStep {
    int level;
    const Step* step;
};

} // namespace

// The rests found in one walk of each prefix match, with what each matched then, and the steps
// of theirs with conditions that look at their node's children.
struct PrefixedPaths::Shares {
    QHash<QString, size_t> rests;  // where each rest's matches are in `found`
    std::vector<std::vector<xml::Cursor>> found;
    std::vector<WatchedStep> watched;
    std::vector<std::shared_ptr<const Steps>> kept;  // the steps `watched` points into

    // Whether taking out `removal` may change what a rest matches beyond the nodes taken out:
    // it was a child of a node a condition looks at, of a name the condition looks for (or no
    // child of any node).
    bool disturbedBy(const Removal& removal) const
    {
        if (!removal.parent)
            return true;
        for (const WatchedStep& watch : watched)
            if (removal.depth == watch.level + 1 && watch.step->test.matches(removal.parent))
                for (const StepPredicate& condition : watch.step->conditions)
                    if (condition.looksAtChild(removal.node))
                        return true;
        return false;
    }
};

namespace {

std::optional<int> reachOf(const Steps& steps)
{
    int deepest = int(steps.size());
    for (size_t i = 0; i < steps.size(); ++i) {
        if (!steps[i].native)
            return std::nullopt;
        for (const StepPredicate& condition : steps[i].conditions) {
            const std::optional<int> reach = condition.reach();
            if (!reach)
                return std::nullopt;
            deepest = std::max(deepest, int(i) + 1 + *reach);
        }
    }
    return deepest;
}

// Whether `path` begins with the steps of `prefix`.
bool beginsWith(const Steps& path, const Steps& prefix)
{
    if (path.size() <= prefix.size())
        return false;
    for (size_t i = 0; i < prefix.size(); ++i)
        if (path[i].text != prefix[i].text)
            return false;
    return true;
}

// Whether the steps after the first `from` are names whose conditions look at their node, its
// attributes or its children and no deeper: taking nodes out then changes what they match only
// by what is taken out, or by a child taken out from a node with such a condition (added to
// `watched`).
bool holdsOnlyShallowConditions(const Steps& steps, size_t from, std::vector<WatchedStep>& watched)
{
    for (size_t i = from; i < steps.size(); ++i) {
        if (!steps[i].native)
            return false;
        for (const StepPredicate& condition : steps[i].conditions) {
            const std::optional<int> reach = condition.reach();
            if (!reach || *reach > 1)
                return false;
            if (*reach == 1)
                watched.push_back(WatchedStep{int(i) + 1, &steps[i]});
        }
    }
    return true;
}

const QString selfRest = QStringLiteral(".");

} // namespace

PrefixedPaths::PrefixedPaths(const xml::Node& context, const QString& prefix, const QStringList& rests,
                             const std::unordered_set<xml::Cursor>* passedOver)
    : context_(context), prefix_(prefix), rests_(rests), passedOver_(passedOver)
{
    auto compiled = std::make_shared<Prefix>();
    compiled->steps = indexedSteps(prefix);
    if (compiled->steps && isWalkable(context))
        compiled->reach = reachOf(*compiled->steps);
    compiled_ = std::move(compiled);
}

PrefixedPaths::~PrefixedPaths() = default;

bool PrefixedPaths::passedOver(const xml::Cursor& prefixMatch) const
{
    return passedOver_ && passedOver_->count(prefixMatch);
}

void PrefixedPaths::takeIn(const std::vector<Removal>& removed)
{
    const std::optional<int> reach = compiled_->reach;
    for (const Removal& removal : removed) {
        if (!reach || removal.depth <= *reach)
            known_ = false;
        if (shares_ && (!known_ || shares_->disturbedBy(removal)))
            shares_.reset();
    }
}

void PrefixedPaths::findPrefixMatches()
{
    prefixMatches_.clear();
    eachMatch(xml::Cursor(context_), *compiled_->steps, 0, [&](const xml::Cursor& node) {
        prefixMatches_.push_back(node);
        return true;
    });
    known_ = true;
}

std::vector<xml::Cursor> PrefixedPaths::prefixMatches(const std::vector<Removal>& removed)
{
    takeIn(removed);
    if (!compiled_->reach)
        return matchingNodes(context_, prefix_);
    if (!known_)
        findPrefixMatches();
    return prefixMatches_;
}

namespace {

// The steps of several rests below the prefix, those that begin alike sharing their first
// steps, so that one walk goes down each step once for all of them.
struct StepTree {
    const Step* step = nullptr;  // null at the top, the prefix match
    std::vector<size_t> ends;    // the rests whose last step this is
    std::vector<StepTree> below;

    void add(const Steps& steps, size_t from, size_t rest)
    {
        StepTree* tree = this;
        for (size_t i = from; i < steps.size(); ++i) {
            const auto same = std::find_if(tree->below.begin(), tree->below.end(),
                                           [&](const StepTree& next) { return next.step->text == steps[i].text; });
            tree = same != tree->below.end() ? &*same : &tree->below.emplace_back(StepTree{&steps[i], {}, {}});
        }
        tree->ends.push_back(rest);
    }
};

// Visits the node's subtree as far as the tree's steps go, in document order, and adds each
// node to the matches of the rests that end at the step it matched: for each rest, the nodes
// its own walk from the same node finds, in the same order.
void walkTogether(const xml::Cursor& node, const StepTree& tree, std::vector<std::vector<xml::Cursor>>& found)
{
    for (const size_t rest : tree.ends)
        found[rest].push_back(node);
    if (tree.below.empty())
        return;
    for (const xml::Cursor child : node.children())
        for (const StepTree& next : tree.below)
            if (next.step->matches(child))
                walkTogether(child, next, found);
}

} // namespace

// Walks each prefix match once for all the rests, when every rest qualifies (see the class).
void PrefixedPaths::shareOut()
{
    sharesTried_ = true;
    auto shares = std::make_unique<Shares>();
    const size_t below = compiled_->steps->size();
    StepTree tree;
    for (const QString& rest : rests_) {
        if (rest == selfRest || shares->rests.contains(rest))
            continue;
        std::shared_ptr<const Steps> steps = indexedSteps(prefix_ + QLatin1Char('/') + rest);
        if (!steps || !beginsWith(*steps, *compiled_->steps) || !holdsOnlyShallowConditions(*steps, below, shares->watched))
            return;
        tree.add(*steps, below, shares->found.size());
        shares->rests.insert(rest, shares->found.size());
        shares->found.emplace_back();
        shares->kept.push_back(std::move(steps));
    }
    for (const xml::Cursor& start : prefixMatches_)
        if (!passedOver(start))
            walkTogether(start, tree, shares->found);
    shares_ = std::move(shares);
}

std::vector<xml::Cursor> PrefixedPaths::matches(const QString& rest, const std::vector<Removal>& removed)
{
    takeIn(removed);
    const QString path = prefix_ + QLatin1Char('/') + rest;
    const std::optional<int> reach = compiled_->reach;
    // "prefix/." selects what the prefix does.
    if (reach && rest == selfRest)
        return prefixMatches({});
    const std::shared_ptr<const Steps> steps = reach ? indexedSteps(path) : nullptr;
    if (!steps || !beginsWith(*steps, *compiled_->steps))
        return matchingNodes(context_, path);
    if (!known_)
        findPrefixMatches();
    if (!sharesTried_)
        shareOut();
    std::vector<xml::Cursor> matches;
    if (shares_) {
        if (const auto known = shares_->rests.constFind(rest); known != shares_->rests.cend()) {
            for (const xml::Cursor& node : shares_->found[*known])
                if (node.isInDocument())
                    matches.push_back(node);
            return matches;
        }
    }
    // The walk of the whole path goes through the prefix's matches in the same order.
    for (const xml::Cursor& start : prefixMatches_)
        if (!passedOver(start))
            eachMatch(start, *steps, compiled_->steps->size(), [&](const xml::Cursor& node) {
                matches.push_back(node);
                return true;
            });
    return matches;
}

std::vector<std::vector<xml::Cursor>> matchingNodesOfEach(const xml::Document& document, const QStringList& paths)
{
    std::vector<std::vector<xml::Cursor>> found(size_t(paths.size()));
    const xml::Node root = document.documentElement();
    std::vector<std::shared_ptr<const Steps>> kept;  // the steps the tree points into
    StepTree tree;
    for (qsizetype i = 0; i < paths.size(); ++i) {
        std::shared_ptr<const Steps> steps = indexedSteps(paths[i]);
        const bool walkable = steps && !root.isNull()
            && std::all_of(steps->cbegin(), steps->cend(), [](const Step& step) { return step.native; });
        if (!walkable) {
            found[size_t(i)] = matchingNodes(document, paths[i]);
            continue;
        }
        tree.add(*steps, 0, size_t(i));
        kept.push_back(std::move(steps));
    }
    if (!kept.empty())
        walkTogether(xml::Cursor(root.parentNode()), tree, found);
    return found;
}

xml::Node firstMatch(const xml::Document& document, const QString& path)
{
    const xml::Node root = document.documentElement();
    return root.isNull() ? document.selectSingleNode(path) : firstMatch(root.parentNode(), path);
}

QList<xml::Node> allMatches(const xml::Document& document, const QString& path)
{
    const xml::Node root = document.documentElement();
    return root.isNull() ? listOf(document.selectNodes(path)) : allMatches(root.parentNode(), path);
}

namespace {

// The elements named `name` below `node`, in document order.
void collectNamed(const xml::Cursor& node, const QByteArray& name, std::vector<xml::Cursor>& found)
{
    forEachElement(node, [&](const xml::Cursor& element) {
        if (element != node && element.isNamed(name.constData()))
            found.push_back(element);
    });
}

} // namespace

QList<xml::Node> elementsNamed(const xml::Document& document, const QString& name)
{
    const QString query = QStringLiteral("//") + name;
    if (!indexedLookups() || !isStepName(name) || name == QLatin1String("*") || document.documentElement().isNull())
        return listOf(document.selectNodes(query));
    std::vector<xml::Cursor> found;
    collectNamed(xml::Cursor(document.documentElement().parentNode()), name.toUtf8(), found);
    QList<xml::Node> elements;
    elements.reserve(qsizetype(found.size()));
    for (const xml::Cursor& element : found)
        elements << element.node();
    return elements;
}

bool matchesPath(const xml::Node& node, const xml::Node& context, const QString& path)
{
    return matchesPathOf(node, context, path, indexedSteps(path).get());
}

} // namespace veldra
