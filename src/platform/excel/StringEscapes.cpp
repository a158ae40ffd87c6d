#include "platform/excel/StringEscapes.h"

namespace veldra::excel {

namespace {

int hexValue(QChar c)
{
    const char16_t u = c.unicode();
    if (u >= u'0' && u <= u'9')
        return u - u'0';
    if (u >= u'a' && u <= u'f')
        return u - u'a' + 10;
    if (u >= u'A' && u <= u'F')
        return u - u'A' + 10;
    return -1;
}

// The character of "_xHHHH_" at `at`, or -1 when no escape starts there.
int escapeAt(const QString& text, qsizetype at)
{
    if (at + 7 > text.size() || text.at(at + 1) != QLatin1Char('x') || text.at(at + 6) != QLatin1Char('_'))
        return -1;
    int value = 0;
    for (qsizetype i = at + 2; i < at + 6; ++i) {
        const int digit = hexValue(text.at(i));
        if (digit < 0)
            return -1;
        value = value * 16 + digit;
    }
    return value;
}

bool storable(int c)
{
    return c >= 0x20 || c == 0x09 || c == 0x0A || c == 0x0D;
}

} // namespace

QString decodeEscapes(const QString& text)
{
    if (!text.contains(QLatin1String("_x")))
        return text;
    QString out;
    out.reserve(text.size());
    for (qsizetype i = 0; i < text.size(); ++i) {
        const int escaped = text.at(i) == QLatin1Char('_') ? escapeAt(text, i) : -1;
        if (escaped < 0) {
            out += text.at(i);
            continue;
        }
        if (storable(escaped) && !QChar::isSurrogate(static_cast<char32_t>(escaped)))
            out += QChar(static_cast<char16_t>(escaped));
        i += 6;
    }
    return out;
}

} // namespace veldra::excel
