#include "platform/xml/query/QueryLiteral.h"

#include <QStringList>

namespace veldra::xml {

QString queryLiteral(const QString& value)
{
    const QChar apostrophe = QLatin1Char('\'');
    const QChar quote = QLatin1Char('"');
    if (!value.contains(apostrophe))
        return apostrophe + value + apostrophe;
    if (!value.contains(quote))
        return quote + value + quote;
    QStringList pieces;
    const QStringList parts = value.split(apostrophe);
    for (qsizetype i = 0; i < parts.size(); ++i) {
        if (i > 0)
            pieces << QStringLiteral("\"'\"");
        if (!parts[i].isEmpty())
            pieces << apostrophe + parts[i] + apostrophe;
    }
    return QStringLiteral("concat(") + pieces.join(QStringLiteral(", ")) + QLatin1Char(')');
}

} // namespace veldra::xml
