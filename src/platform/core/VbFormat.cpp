#include "platform/core/VbFormat.h"

#include "platform/core/VbString.h"
#include "platform/core/VbText.h"

#include <QLocale>
#include <QStringList>
#include <algorithm>
#include <cmath>
#include <vector>

namespace veldra::vb {

namespace {

// One piece of a pattern: a literal text or a placeholder character.
struct Token {
    bool literal = false;
    QString text;
};

std::vector<Token> tokenize(const QString& section)
{
    std::vector<Token> tokens;
    for (qsizetype i = 0; i < section.size(); ++i) {
        const QChar c = section.at(i);
        if (c == QLatin1Char('"')) {
            const qsizetype end = section.indexOf(QLatin1Char('"'), i + 1);
            const qsizetype stop = end < 0 ? section.size() : end;
            tokens.push_back({true, section.mid(i + 1, stop - i - 1)});
            i = stop;
        } else if (c == QLatin1Char('\\') && i + 1 < section.size()) {
            tokens.push_back({true, QString(section.at(++i))});
        } else {
            tokens.push_back({false, QString(c)});
        }
    }
    return tokens;
}

QStringList splitSections(const QString& pattern)
{
    QStringList sections;
    QString current;
    bool quoted = false;
    for (qsizetype i = 0; i < pattern.size(); ++i) {
        const QChar c = pattern.at(i);
        if (c == QLatin1Char('"'))
            quoted = !quoted;
        if (c == QLatin1Char('\\') && i + 1 < pattern.size()) {
            current += c;
            current += pattern.at(++i);
            continue;
        }
        if (c == QLatin1Char(';') && !quoted) {
            sections << current;
            current.clear();
            continue;
        }
        current += c;
    }
    sections << current;
    return sections;
}

bool hasPlaceholder(const std::vector<Token>& tokens, const QString& letters)
{
    for (const Token& t : tokens)
        if (!t.literal && letters.contains(t.text.at(0).toLower()))
            return true;
    return false;
}

bool isDatePattern(const std::vector<Token>& tokens)
{
    if (hasPlaceholder(tokens, QStringLiteral("0#")))
        return false;
    return hasPlaceholder(tokens, QStringLiteral("ydhnsm"));
}

// ---- dates ----

// The length of the run of the same letter (case-insensitive) starting at `at`.
qsizetype runLength(const std::vector<Token>& tokens, size_t at)
{
    const QChar letter = tokens[at].text.at(0).toLower();
    size_t end = at;
    while (end < tokens.size() && !tokens[end].literal && tokens[end].text.at(0).toLower() == letter)
        ++end;
    return static_cast<qsizetype>(end - at);
}

bool matchesAt(const std::vector<Token>& tokens, size_t at, const QString& word)
{
    if (at + word.size() > tokens.size())
        return false;
    for (qsizetype k = 0; k < word.size(); ++k) {
        const Token& t = tokens[at + k];
        if (t.literal || t.text.at(0).toLower() != word.at(k).toLower())
            return false;
    }
    return true;
}

QString twoDigits(int value)
{
    return QStringLiteral("%1").arg(value, 2, 10, QLatin1Char('0'));
}

QString dateToken(QChar letter, qsizetype run, const QDateTime& when, bool minutes, bool twelveHour)
{
    const QLocale english(QLocale::English, QLocale::UnitedStates);
    const QDate date = when.date();
    const QTime time = when.time();
    switch (letter.unicode()) {
    case 'y':
        if (run >= 3)
            return QStringLiteral("%1").arg(date.year(), 4, 10, QLatin1Char('0'));
        return twoDigits(date.year() % 100);
    case 'm':
        if (minutes)
            return run >= 2 ? twoDigits(time.minute()) : QString::number(time.minute());
        if (run >= 4)
            return english.monthName(date.month(), QLocale::LongFormat);
        if (run == 3)
            return english.monthName(date.month(), QLocale::ShortFormat);
        return run == 2 ? twoDigits(date.month()) : QString::number(date.month());
    case 'd':
        if (run >= 4)
            return english.dayName(date.dayOfWeek(), QLocale::LongFormat);
        if (run == 3)
            return english.dayName(date.dayOfWeek(), QLocale::ShortFormat);
        return run == 2 ? twoDigits(date.day()) : QString::number(date.day());
    case 'h': {
        int hour = time.hour();
        if (twelveHour)
            hour = hour % 12 == 0 ? 12 : hour % 12;
        return run >= 2 ? twoDigits(hour) : QString::number(hour);
    }
    case 'n':
        return run >= 2 ? twoDigits(time.minute()) : QString::number(time.minute());
    case 's':
        return run >= 2 ? twoDigits(time.second()) : QString::number(time.second());
    default:
        return QString(letter);
    }
}

QString formatDate(const QDateTime& when, const std::vector<Token>& tokens)
{
    const bool twelveHour = [&] {
        for (size_t i = 0; i < tokens.size(); ++i)
            if (matchesAt(tokens, i, QStringLiteral("AM/PM")))
                return true;
        return false;
    }();
    QString out;
    bool afterHour = false;
    for (size_t i = 0; i < tokens.size();) {
        const Token& t = tokens[i];
        if (t.literal) {
            out += t.text;
            ++i;
            continue;
        }
        if (matchesAt(tokens, i, QStringLiteral("AM/PM"))) {
            out += when.time().hour() < 12 ? QStringLiteral("AM") : QStringLiteral("PM");
            i += 5;
            continue;
        }
        const QChar letter = t.text.at(0).toLower();
        if (!QStringLiteral("ymdhns").contains(letter)) {
            out += t.text;
            ++i;
            continue;
        }
        const qsizetype run = runLength(tokens, i);
        out += dateToken(letter, run, when, letter == QLatin1Char('m') && afterHour && run <= 2, twelveHour);
        if (letter == QLatin1Char('h'))
            afterHour = true;
        else if (letter != QLatin1Char('m'))
            afterHour = false;
        i += static_cast<size_t>(run);
    }
    return out;
}

// ---- numbers ----

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
    const double scale = std::pow(10.0, decimals);
    double rounded = std::round(std::fabs(value) * scale) / scale;
    QString text = QString::number(rounded, 'f', decimals);
    const qsizetype point = text.indexOf(QLatin1Char('.'));
    if (point < 0)
        return {text, QString()};
    return {text.left(point), text.mid(point + 1)};
}

QString formatNumber(double value, const std::vector<Token>& tokens, bool withSign)
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

QString formatAsNumber(double value, const QStringList& sections)
{
    if (value < 0 && sections.size() >= 2 && !sections.at(1).isEmpty())
        return formatNumber(-value, tokenize(sections.at(1)), false);
    if (value == 0 && sections.size() >= 3 && !sections.at(2).isEmpty())
        return formatNumber(value, tokenize(sections.at(2)), false);
    return formatNumber(value, tokenize(sections.at(0)), true);
}

} // namespace

QString format(const Variant& value, const QString& pattern)
{
    if (pattern.isEmpty())
        return toText(value);
    const QStringList sections = splitSections(pattern);
    const std::vector<Token> first = tokenize(sections.at(0));

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

    if (isDatePattern(first)) {
        if (date.isNull() && number)
            date = dateTimeFromSerial(*number);
        return date.isNull() ? toText(value) : formatDate(date, first);
    }
    if (!number && !date.isNull())
        number = serialFromDateTime(date);
    return number ? formatAsNumber(*number, sections) : toText(value);
}

} // namespace veldra::vb
