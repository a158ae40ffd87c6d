#include "generation/crosscheck/ComparedValues.h"

#include "platform/xml/tree/NodeList.h"
#include "platform/xml/tree/SubtreeSize.h"

namespace veldra {

namespace {

bool isPathCharacter(QChar c)
{
    return c.isLetterOrNumber() || QStringLiteral("_-.:@/()*").contains(c);
}

bool isStepCharacter(QChar c)
{
    return c.isLetterOrNumber() || QStringLiteral("_-.:*").contains(c);
}

// The name of the step a predicate opening at `open` belongs to, skipping the predicates
// before it (`a[x][y="1"]` gives "a").
QString stepBefore(const QString& query, qsizetype open)
{
    qsizetype end = open;
    while (end > 0 && query.at(end - 1) == QLatin1Char(']')) {
        int depth = 0;
        do {
            --end;
            depth += query.at(end) == QLatin1Char(']') ? 1 : query.at(end) == QLatin1Char('[') ? -1 : 0;
        } while (end > 0 && depth > 0);
    }
    qsizetype start = end;
    while (start > 0 && isStepCharacter(query.at(start - 1)))
        --start;
    return query.mid(start, end - start);
}

// The query for the nodes one side of a comparison reads; empty for a literal, a number or
// a function's result.
QString sideQuery(const QString& path, const QString& step)
{
    if (path.isEmpty() || path.front().isDigit() || path.front() == QLatin1Char('-')
        || (path.endsWith(QLatin1Char(')')) && !path.endsWith(QStringLiteral("text()"))))
        return {};
    if (path.startsWith(QLatin1Char('/')))
        return path;
    const QString from = step.isEmpty() ? QStringLiteral("//") : QStringLiteral("//") + step;
    if (path == QLatin1String("."))
        return step.isEmpty() ? QString() : from;
    return step.isEmpty() ? from + path : from + QLatin1Char('/') + path;
}

struct Scan {
    const QString& query;
    QStringList found;
    QList<qsizetype> predicates;

    QString step() const { return predicates.isEmpty() ? QString() : stepBefore(query, predicates.last()); }

    void addSide(const QString& path)
    {
        const QString side = sideQuery(path, step());
        if (!side.isEmpty() && !found.contains(side))
            found << side;
    }

    // The operator is query[at, end).
    void comparison(qsizetype at, qsizetype end)
    {
        qsizetype start = at;
        while (start > 0 && query.at(start - 1).isSpace())
            --start;
        qsizetype leftEnd = start;
        while (start > 0 && isPathCharacter(query.at(start - 1)))
            --start;
        addSide(query.mid(start, leftEnd - start));
        while (end < query.size() && query.at(end).isSpace())
            ++end;
        qsizetype rightEnd = end;
        while (rightEnd < query.size() && isPathCharacter(query.at(rightEnd)))
            ++rightEnd;
        addSide(query.mid(end, rightEnd - end));
    }
};

} // namespace

qint64 valuesLength(const xml::NodeList& nodes, qint64 limit)
{
    qint64 length = 0;
    for (const xml::Node& node : nodes) {
        length += xml::valueBytesWithin(node);
        if (length > limit)
            break;
    }
    return length;
}

QStringList comparedNodesQueries(const QString& query)
{
    Scan scan{query, {}, {}};
    QChar quote;
    for (qsizetype i = 0; i < query.size(); ++i) {
        const QChar c = query.at(i);
        if (!quote.isNull()) {
            if (c == quote)
                quote = QChar();
        } else if (c == QLatin1Char('"') || c == QLatin1Char('\'')) {
            quote = c;
        } else if (c == QLatin1Char('[')) {
            scan.predicates << i;
        } else if (c == QLatin1Char(']') && !scan.predicates.isEmpty()) {
            scan.predicates.removeLast();
        } else if (c == QLatin1Char('=') || c == QLatin1Char('<') || c == QLatin1Char('>')) {
            const bool before = c == QLatin1Char('=') && i > 0 && QStringLiteral("!<>").contains(query.at(i - 1));
            const bool after = c != QLatin1Char('=') && i + 1 < query.size() && query.at(i + 1) == QLatin1Char('=');
            scan.comparison(before ? i - 1 : i, after ? i + 2 : i + 1);
            i += after ? 1 : 0;
        }
    }
    return scan.found;
}

} // namespace veldra
