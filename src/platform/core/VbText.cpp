#include "platform/core/VbText.h"

#include <QStringList>
#include <cmath>

namespace veldra::vb {

namespace {

// "1.5E+015" style exponents of printf become "1.5E+15".
QString tidyExponent(QString text)
{
    const qsizetype e = text.indexOf(QLatin1Char('E'));
    if (e < 0)
        return text;
    QString mantissa = text.left(e);
    const QChar sign = text.at(e + 1);
    QString digits = text.mid(e + 2);
    while (digits.size() > 2 && digits.startsWith(QLatin1Char('0')))
        digits.remove(0, 1);
    return mantissa + QLatin1Char('E') + sign + digits;
}

} // namespace

QString numberText(double value)
{
    if (!std::isfinite(value))
        return QString();
    if (value == 0)
        return QStringLiteral("0");
    char buffer[40];
    std::snprintf(buffer, sizeof buffer, "%.15G", value);
    return tidyExponent(QString::fromLatin1(buffer));
}

QString dateText(const QDateTime& value)
{
    if (value.isNull())
        return QString();
    const bool zeroDay = value.date() == QDate(1899, 12, 30);
    const bool hasTime = value.time() != QTime(0, 0);
    if (zeroDay && hasTime)
        return value.toString(QStringLiteral("HH:mm:ss"));
    if (hasTime)
        return value.toString(QStringLiteral("yyyy-MM-dd HH:mm:ss"));
    return value.toString(QStringLiteral("yyyy-MM-dd"));
}

QString toText(const Variant& value)
{
    switch (value.kind) {
    case Variant::Kind::Empty:
        return QString();
    case Variant::Kind::Number:
        return numberText(value.number);
    case Variant::Kind::Bool:
        return value.number != 0 ? QStringLiteral("True") : QStringLiteral("False");
    case Variant::Kind::Date:
        return dateText(value.dateTime());
    case Variant::Kind::Text:
    case Variant::Kind::Error:
        return value.text;
    }
    return QString();
}

QDateTime parseDate(const QString& text)
{
    static const QStringList dateForms = {QStringLiteral("yyyy-MM-dd"), QStringLiteral("M/d/yyyy")};
    static const QStringList timeForms = {QString(), QStringLiteral(" H:mm"), QStringLiteral(" H:mm:ss"),
                                          QStringLiteral("THH:mm"), QStringLiteral("THH:mm:ss")};
    const QString trimmed = text.trimmed();
    for (const QString& date : dateForms) {
        for (const QString& time : timeForms) {
            QDateTime parsed = QDateTime::fromString(trimmed, date + time);
            if (parsed.isValid()) {
                parsed.setTimeSpec(Qt::UTC);
                return parsed;
            }
        }
    }
    return {};
}

} // namespace veldra::vb
