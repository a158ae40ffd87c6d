#include "generation/reverse/PickedValueQuery.h"

#include "platform/xml/query/QueryLiteral.h"

namespace veldra {

QString withPickedValue(QString query, const QString& placeholder, const QString& picked)
{
    const QString literal = xml::queryLiteral(picked);
    qsizetype at = query.indexOf(placeholder);
    while (at >= 0) {
        qsizetype start = at;
        qsizetype end = at + placeholder.size();
        const QChar before = start > 0 ? query[start - 1] : QChar();
        const bool quoted = (before == QLatin1Char('\'') || before == QLatin1Char('"')) && end < query.size()
            && query[end] == before;
        if (quoted) {
            --start;
            ++end;
        }
        query.replace(start, end - start, literal);
        at = query.indexOf(placeholder, start + literal.size());
    }
    return query;
}

} // namespace veldra
