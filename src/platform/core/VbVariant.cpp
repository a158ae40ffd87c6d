#include "platform/core/VbVariant.h"

#include "platform/core/VbString.h"

#include <cmath>

namespace veldra::vb {

namespace {

const QDate SerialZero(1899, 12, 30);
constexpr double SecondsPerDay = 86400.0;

std::optional<Variant> numberResult(double value)
{
    if (!std::isfinite(value))
        return std::nullopt;
    return Variant::fromNumber(value);
}

bool isDate(const Variant& value)
{
    return value.kind == Variant::Kind::Date;
}

bool isTextLike(const Variant& value)
{
    return value.kind == Variant::Kind::Text || value.kind == Variant::Kind::Empty;
}

// Applies `op` to the numbers of both values; the result is a date when exactly one
// side is a date and `keepsDate` says the operator moves dates.
template <class Op>
std::optional<Variant> arithmetic(const Variant& a, const Variant& b, Op op, bool keepsDate)
{
    const std::optional<double> x = toNumber(a);
    const std::optional<double> y = toNumber(b);
    if (!x || !y)
        return std::nullopt;
    const double result = op(*x, *y);
    if (keepsDate && isDate(a) != isDate(b)) {
        if (!std::isfinite(result) || dateTimeFromSerial(result).isNull())
            return std::nullopt;
        return Variant::fromSerial(result);
    }
    return numberResult(result);
}

} // namespace

Variant Variant::fromDateTime(const QDateTime& value)
{
    return fromSerial(serialFromDateTime(value));
}

QDateTime Variant::dateTime() const
{
    return dateTimeFromSerial(number);
}

QDateTime dateTimeFromSerial(double serial)
{
    if (!std::isfinite(serial))
        return {};
    const qint64 seconds = std::llround(serial * SecondsPerDay);
    qint64 days = seconds / 86400;
    qint64 rest = seconds % 86400;
    if (rest < 0) {
        // Before the zero day the fraction still counts forward from midnight.
        rest = -rest;
    }
    const QDate date = SerialZero.addDays(days);
    if (!date.isValid() || date.year() < 100 || date.year() > 9999)
        return {};
    // UTC: a date of the workbook has no time zone, and no local clock change may move it.
    return QDateTime(date, QTime(0, 0).addSecs(static_cast<int>(rest)), Qt::UTC);
}

double serialFromDateTime(const QDateTime& value)
{
    const double days = static_cast<double>(SerialZero.daysTo(value.date()));
    const double time = value.time().msecsSinceStartOfDay() / 1000.0 / SecondsPerDay;
    return days < 0 ? days - time : days + time;
}

std::optional<double> toNumber(const Variant& value)
{
    switch (value.kind) {
    case Variant::Kind::Empty:
        return 0.0;
    case Variant::Kind::Number:
    case Variant::Kind::Date:
        return value.number;
    case Variant::Kind::Bool:
        return value.number != 0 ? -1.0 : 0.0;
    case Variant::Kind::Text:
        if (vbstr::isNumeric(value.text))
            return value.text.trimmed().toDouble();
        return std::nullopt;
    case Variant::Kind::Error:
        break;
    }
    return std::nullopt;
}

std::optional<Variant> add(const Variant& a, const Variant& b)
{
    if (isTextLike(a) && isTextLike(b) && !(a.isEmpty() && b.isEmpty()))
        return Variant::fromText(a.text + b.text);
    return arithmetic(a, b, [](double x, double y) { return x + y; }, true);
}

std::optional<Variant> subtract(const Variant& a, const Variant& b)
{
    if (isDate(a) && isDate(b))
        return numberResult(a.number - b.number);
    return arithmetic(a, b, [](double x, double y) { return x - y; }, true);
}

std::optional<Variant> multiply(const Variant& a, const Variant& b)
{
    return arithmetic(a, b, [](double x, double y) { return x * y; }, false);
}

std::optional<Variant> divide(const Variant& a, const Variant& b)
{
    const std::optional<double> divisor = toNumber(b);
    if (!divisor || *divisor == 0)
        return std::nullopt;
    return arithmetic(a, b, [](double x, double y) { return x / y; }, false);
}

std::optional<Variant> combine(const Variant& a, QChar op, const Variant& b)
{
    switch (op.unicode()) {
    case '+':
        return add(a, b);
    case '-':
        return subtract(a, b);
    case '*':
        return multiply(a, b);
    case '/':
        return divide(a, b);
    default:
        return std::nullopt;
    }
}

} // namespace veldra::vb
