#include "generation/build/PathSteps.h"

#include "generation/build/BuildIndex.h"
#include "platform/xml/NodeList.h"

#include <QList>
#include <QHash>

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
    int depth = 0;
    QChar quote;
    for (const QChar c : path) {
        if (!quote.isNull()) {
            if (c == quote)
                quote = QChar();
        } else if (c == QLatin1Char('\'') || c == QLatin1Char('"')) {
            quote = c;
        } else if (c == QLatin1Char('[')) {
            ++depth;
        } else if (c == QLatin1Char(']')) {
            --depth;
        } else if (depth == 0 && c == QLatin1Char('/')) {
            steps << step;
            step.clear();
            continue;
        } else if (depth == 0 && (c == QLatin1Char('|') || c.isSpace())) {
            return std::nullopt;
        }
        step += c;
    }
    if (depth != 0 || !quote.isNull())
        return std::nullopt;
    steps << step;
    return steps;
}

// A step that is a name alone selects the child elements of that local name, whatever
// their namespace, as the query would; it is answered without the query engine.
bool isBareName(const QString& step)
{
    if (step.isEmpty() || !(isAsciiLetter(step[0]) || step[0] == QLatin1Char('_')))
        return false;
    for (const QChar c : step)
        if (!(isAsciiLetter(c) || c.isDigit() || c == QLatin1Char('.') || c == QLatin1Char('_') || c == QLatin1Char('-')))
            return false;
    return true;
}

bool isElementNamed(const xml::Node& node, const QString& name)
{
    return node.nodeType() == xml::NodeType::Element && node.localName() == name;
}

std::optional<xml::Node> firstMatchFrom(const xml::Node& context, const QStringList& steps, int index)
{
    if (index == steps.size())
        return context;
    const QString& step = steps[index];
    if (isBareName(step)) {
        for (xml::Node child = context.firstChild(); !child.isNull(); child = child.nextSibling())
            if (isElementNamed(child, step))
                if (std::optional<xml::Node> found = firstMatchFrom(child, steps, index + 1))
                    return found;
        return std::nullopt;
    }
    for (const xml::Node& child : context.selectNodes(step))
        if (std::optional<xml::Node> found = firstMatchFrom(child, steps, index + 1))
            return found;
    return std::nullopt;
}

bool contains(const xml::NodeList& nodes, const xml::Node& node)
{
    for (const xml::Node& candidate : nodes)
        if (candidate == node)
            return true;
    return false;
}

std::optional<QStringList> parseChildSteps(const QString& path)
{
    std::optional<QStringList> steps = splitTopLevel(path);
    if (!steps)
        return std::nullopt;
    for (const QString& step : *steps)
        if (!isChildStep(step))
            return std::nullopt;
    return steps;
}

} // namespace

// A build asks the same few dozen paths thousands of times.
std::optional<QStringList> childSteps(const QString& path)
{
    thread_local QHash<QString, std::optional<QStringList>> parsed;
    const auto known = parsed.constFind(path);
    if (known != parsed.cend())
        return *known;
    if (parsed.size() > 4096)
        parsed.clear();
    return *parsed.insert(path, parseChildSteps(path));
}

xml::Node firstMatch(const xml::Node& context, const QString& path)
{
    const std::optional<QStringList> steps = indexedLookups() ? childSteps(path) : std::nullopt;
    if (!steps)
        return context.selectSingleNode(path);
    return firstMatchFrom(context, *steps, 0).value_or(xml::Node());
}

bool matchesPath(const xml::Node& node, const xml::Node& context, const QString& path)
{
    const std::optional<QStringList> steps = indexedLookups() ? childSteps(path) : std::nullopt;
    if (!steps)
        return contains(context.selectNodes(path), node);
    // The node's ancestors below the context, one per step.
    QList<xml::Node> chain{node};
    while (chain.size() < steps->size()) {
        const xml::Node parent = chain.first().parentNode();
        if (parent.isNull() || parent == context)
            return false;
        chain.prepend(parent);
    }
    if (chain.first().parentNode() != context)
        return false;
    xml::Node above = context;
    for (qsizetype i = 0; i < chain.size(); ++i) {
        const QString& step = steps->at(i);
        if (isBareName(step) ? !isElementNamed(chain[i], step) : !contains(above.selectNodes(step), chain[i]))
            return false;
        above = chain[i];
    }
    return true;
}

} // namespace veldra
