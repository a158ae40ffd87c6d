#include "platform/xml/query/QueryLiteral.h"

#include "platform/xml/io/XmlErrors.h"
#include "platform/xml/tree/XmlStrings.h"

#include <libxml/tree.h>

namespace veldra::xml {

QString queryLiteral(const QString& value)
{
    const QChar apostrophe = QLatin1Char('\'');
    const QChar quote = QLatin1Char('"');
    if (!value.contains(apostrophe))
        return apostrophe + value + apostrophe;
    if (!value.contains(quote))
        return quote + value + quote;
    QString doubled = value;
    doubled.replace(apostrophe, QStringLiteral("''"));
    return apostrophe + doubled + apostrophe;
}

QString withLiteral(QString query, const QString& placeholder, const QString& value)
{
    const QString literal = queryLiteral(value);
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

QString queryName(const QString& name)
{
    const QByteArray utf8 = detail::toXml(name);
    if (name.isEmpty() || xmlValidateQName(detail::bytes(utf8), 0) != 0)
        detail::throwQueryError(QStringLiteral("'%1' is not an XML name, so it cannot stand as a name in a query.").arg(name));
    return name;
}

} // namespace veldra::xml
