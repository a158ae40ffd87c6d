#include "platform/core/FormatPattern.h"

#include <algorithm>
#include <cmath>

namespace veldra::vb::patterns {

namespace {

struct NumberLayout {
    int integerZeros = 0;   // "0" placeholders before the point
    int decimalZeros = 0;   // "0" after the point
    int decimalHashes = 0;  // "#" after the point
    bool hasPoint = false;
    bool grouping = false;
    bool percent = false;
};

NumberLayout layoutOf(const std::vector<Token>& tokens)
{
    NumberLayout layout;
    bool seenDigit = false;
    for (size_t i = 0; i < tokens.size(); ++i) {
        const Token& t = tokens[i];
        if (t.literal)
            continue;
        const QChar c = t.text.at(0);
        if (c == QLatin1Char('0') || c == QLatin1Char('#')) {
            seenDigit = true;
            if (layout.hasPoint)
                (c == QLatin1Char('0') ? layout.decimalZeros : layout.decimalHashes) += 1;
            else if (c == QLatin1Char('0'))
                ++layout.integerZeros;
        } else if (c == QLatin1Char('.') && !layout.hasPoint) {
            layout.hasPoint = true;
        } else if (c == QLatin1Char(',') && seenDigit && !layout.hasPoint && i + 1 < tokens.size()
                   && !tokens[i + 1].literal
                   && (tokens[i + 1].text == QLatin1String("#") || tokens[i + 1].text == QLatin1String("0"))) {
            layout.grouping = true;
        } else if (c == QLatin1Char('%')) {
            layout.percent = true;
        }
    }
    return layout;
}

QString groupThousands(const QString& digits)
{
    QString out;
    for (qsizetype i = 0; i < digits.size(); ++i) {
        if (i > 0 && (digits.size() - i) % 3 == 0)
            out += QLatin1Char(',');
        out += digits.at(i);
    }
    return out;
}

// Integer and decimal digits of |value| rounded to `decimals` places, half away from zero.
std::pair<QString, QString> digitsOf(double value, int decimals)
{
    decimals = std::min(decimals, 15);  // a double holds no more
    const double scale = std::pow(10.0, decimals);
    const double rounded = std::round(std::fabs(value) * scale) / scale;
    const QString text = QString::number(rounded, 'f', decimals);
    const qsizetype point = text.indexOf(QLatin1Char('.'));
    if (point < 0)
        return {text, QString()};
    return {text.left(point), text.mid(point + 1)};
}

QString formatSection(double value, const std::vector<Token>& tokens, bool withSign)
{
    const NumberLayout layout = layoutOf(tokens);
    if (layout.percent)
        value *= 100;
    auto [integer, decimals] = digitsOf(value, layout.decimalZeros + layout.decimalHashes);
    while (decimals.size() > layout.decimalZeros && decimals.endsWith(QLatin1Char('0')))
        decimals.chop(1);
    if (integer == QLatin1String("0") && layout.integerZeros == 0)
        integer.clear();
    while (integer.size() < layout.integerZeros)
        integer.prepend(QLatin1Char('0'));
    if (layout.grouping)
        integer = groupThousands(integer);

    // Literals stay where they stand. Integer digits fill the integer placeholders from the
    // right, the leftmost taking all that remain (grouped digits all go to the first);
    // decimals go where the first decimal placeholder stands.
    std::vector<size_t> integerSlots;
    for (size_t i = 0; i < tokens.size(); ++i) {
        const Token& t = tokens[i];
        if (!t.literal && t.text == QLatin1String("."))
            break;
        if (!t.literal && (t.text == QLatin1String("0") || t.text == QLatin1String("#")))
            integerSlots.push_back(i);
    }
    std::vector<QString> slotDigits(integerSlots.size());
    if (layout.grouping && !slotDigits.empty()) {
        slotDigits.front() = integer;
    } else {
        QString rest = integer;
        for (size_t k = slotDigits.size(); k-- > 0;) {
            slotDigits[k] = k == 0 ? rest : rest.right(1);
            rest.chop(k == 0 ? rest.size() : std::min<qsizetype>(1, rest.size()));
        }
    }

    QString out;
    size_t slot = 0;
    bool decimalsWritten = false;
    bool afterPoint = false;
    for (const Token& t : tokens) {
        const QChar c = t.text.isEmpty() ? QChar() : t.text.at(0);
        if (t.literal) {
            out += t.text;
        } else if (c == QLatin1Char('0') || c == QLatin1Char('#')) {
            if (!afterPoint && slot < slotDigits.size()) {
                out += slotDigits[slot++];
            } else if (afterPoint && !decimalsWritten) {
                out += decimals;
                decimalsWritten = true;
            }
        } else if (c == QLatin1Char('.') && !afterPoint) {
            afterPoint = true;
            out += QLatin1Char('.');
        } else if (c == QLatin1Char(',') && layout.grouping && !afterPoint) {
            // Grouping is part of the integer digits.
        } else {
            out += t.text;
        }
    }
    // A value that rounds to zero shows no sign.
    const QString shown = integer + decimals;
    const bool negative = value < 0 && std::any_of(shown.begin(), shown.end(), [](QChar d) {
        return d.isDigit() && d != QLatin1Char('0');
    });
    return withSign && negative ? QStringLiteral("-") + out : out;
}

} // namespace

QString formatNumber(double value, const QStringList& sections)
{
    if (value < 0 && sections.size() >= 2 && !sections.at(1).isEmpty())
        return formatSection(-value, tokenize(sections.at(1)), false);
    if (value == 0 && sections.size() >= 3 && !sections.at(2).isEmpty())
        return formatSection(value, tokenize(sections.at(2)), false);
    return formatSection(value, tokenize(sections.at(0)), true);
}

} // namespace veldra::vb::patterns
