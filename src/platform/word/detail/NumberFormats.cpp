#include "platform/word/detail/NumberFormats.h"

#include <QHash>
#include <QStringList>

namespace veldra::word::detail {

namespace {

// Roman numerals add an m per thousand and letters repeat once per 26, so a list starting
// near the largest number would need millions of characters a paragraph. Past Word's own
// largest start value they are shown as decimal numbers.
constexpr int kMaxSpelledNumber = 32767;

QString roman(int value)
{
    static const int values[] = {1000, 900, 500, 400, 100, 90, 50, 40, 10, 9, 5, 4, 1};
    static const char* const digits[] = {"m", "cm", "d", "cd", "c", "xc", "l", "xl", "x", "ix", "v", "iv", "i"};
    if (value <= 0 || value > kMaxSpelledNumber)
        return QString::number(value);
    QString result;
    for (int i = 0; i < 13; ++i)
        while (value >= values[i]) {
            result += QLatin1String(digits[i]);
            value -= values[i];
        }
    return result;
}

// a..z, then aa..zz, then aaa..: the letter repeats, it does not carry as in a spreadsheet.
QString letters(int value)
{
    if (value <= 0 || value > kMaxSpelledNumber)
        return QString::number(value);
    const int repeat = (value - 1) / 26 + 1;
    return QString(repeat, QChar(u'a' + (value - 1) % 26));
}

QString ordinalSuffix(int value)
{
    // The remainder first: the magnitude of the smallest int is no int.
    const int lastTwo = std::abs(value % 100);
    if (lastTwo >= 11 && lastTwo <= 13)
        return QStringLiteral("th");
    switch (std::abs(value % 10)) {
    case 1: return QStringLiteral("st");
    case 2: return QStringLiteral("nd");
    case 3: return QStringLiteral("rd");
    default: return QStringLiteral("th");
    }
}

const QStringList& ones()
{
    static const QStringList words{
        QString(), "one", "two", "three", "four", "five", "six", "seven", "eight", "nine", "ten", "eleven",
        "twelve", "thirteen", "fourteen", "fifteen", "sixteen", "seventeen", "eighteen", "nineteen"};
    return words;
}

QString cardinalWords(int value)
{
    static const QStringList tens{QString(), QString(), "twenty", "thirty", "forty", "fifty",
                                  "sixty", "seventy", "eighty", "ninety"};
    if (value <= 0 || value >= 1000000)
        return QString::number(value);
    if (value >= 1000) {
        const QString rest = value % 1000 ? QLatin1Char(' ') + cardinalWords(value % 1000) : QString();
        return cardinalWords(value / 1000) + QStringLiteral(" thousand") + rest;
    }
    if (value >= 100) {
        const QString rest = value % 100 ? QStringLiteral(" ") + cardinalWords(value % 100) : QString();
        return ones()[value / 100] + QStringLiteral(" hundred") + rest;
    }
    if (value < 20)
        return ones()[value];
    return tens[value / 10] + (value % 10 ? QLatin1Char('-') + ones()[value % 10] : QString());
}

QString ordinalWords(int value)
{
    static const QHash<QString, QString> irregular{
        {"one", "first"}, {"two", "second"}, {"three", "third"}, {"five", "fifth"},
        {"eight", "eighth"}, {"nine", "ninth"}, {"twelve", "twelfth"}};
    QString words = cardinalWords(value);
    const int cut = std::max(words.lastIndexOf(QLatin1Char(' ')), words.lastIndexOf(QLatin1Char('-'))) + 1;
    const QString last = words.mid(cut);
    QString ordinal;
    if (irregular.contains(last))
        ordinal = irregular.value(last);
    else if (last.endsWith(QLatin1Char('y')))
        ordinal = last.chopped(1) + QStringLiteral("ieth");
    else
        ordinal = last + QStringLiteral("th");
    return words.left(cut) + ordinal;
}

QString capitalized(QString text)
{
    if (!text.isEmpty())
        text[0] = text[0].toUpper();
    return text;
}

} // namespace

QString formatNumber(int value, const QString& format, bool* known)
{
    if (known)
        *known = true;
    if (format.isEmpty() || format == QLatin1String("decimal"))
        return QString::number(value);
    if (format == QLatin1String("decimalZero"))
        return value >= 0 && value < 10 ? QLatin1Char('0') + QString::number(value) : QString::number(value);
    if (format == QLatin1String("lowerRoman"))
        return roman(value);
    if (format == QLatin1String("upperRoman"))
        return roman(value).toUpper();
    if (format == QLatin1String("lowerLetter"))
        return letters(value);
    if (format == QLatin1String("upperLetter"))
        return letters(value).toUpper();
    if (format == QLatin1String("ordinal"))
        return QString::number(value) + ordinalSuffix(value);
    if (format == QLatin1String("cardinalText"))
        return capitalized(cardinalWords(value));
    if (format == QLatin1String("ordinalText"))
        return capitalized(ordinalWords(value));
    if (format == QLatin1String("none") || format == QLatin1String("bullet"))
        return QString();
    if (known)
        *known = false;
    return QString::number(value);
}

} // namespace veldra::word::detail
