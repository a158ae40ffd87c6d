#include "platform/core/VbFormat.h"

#include "platform/core/FormatPattern.h"
#include "platform/core/VbString.h"
#include "platform/core/VbText.h"

namespace veldra::vb {

QString format(const Variant& value, const QString& pattern)
{
    if (pattern.isEmpty())
        return toText(value);
    const QStringList sections = patterns::splitSections(pattern);
    const std::vector<patterns::Token> first = patterns::tokenize(sections.at(0));

    std::optional<double> number;
    QDateTime date;
    switch (value.kind) {
    case Variant::Kind::Number:
        number = value.number;
        break;
    case Variant::Kind::Date:
        date = value.dateTime();
        number = value.number;
        break;
    case Variant::Kind::Text:
        if (vbstr::isNumeric(value.text))
            number = value.text.trimmed().toDouble();
        else
            date = parseDate(value.text);
        break;
    default:
        return toText(value);
    }

    if (patterns::isDatePattern(first)) {
        if (date.isNull() && number)
            date = dateTimeFromSerial(*number);
        return date.isNull() ? toText(value) : patterns::formatDate(date, first);
    }
    if (!number && !date.isNull())
        number = serialFromDateTime(date);
    return number ? patterns::formatNumber(*number, sections) : toText(value);
}

} // namespace veldra::vb
