#include "platform/core/FormatPattern.h"

#include <QLocale>

namespace veldra::vb::patterns {

namespace {

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

} // namespace

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

} // namespace veldra::vb::patterns
