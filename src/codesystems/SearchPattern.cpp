#include "codesystems/SearchPattern.h"

namespace veldra::codesystems {

namespace {
const QChar escapeChar = QLatin1Char('\\');
const QChar anyRun = QLatin1Char('%');

bool isLikeSpecial(QChar c)
{
    return c == anyRun || c == QLatin1Char('_') || c == escapeChar;
}
} // namespace

QString likeEscapeClause()
{
    return QStringLiteral(" ESCAPE '\\'");
}

QString escapeLikeText(const QString& text)
{
    QString escaped;
    escaped.reserve(text.size());
    for (const QChar c : text) {
        if (isLikeSpecial(c))
            escaped += escapeChar;
        escaped += c;
    }
    return escaped;
}

QString partialSearchPattern(const QString& searchText)
{
    QString pattern = escapeLikeText(searchText);
    pattern.replace(QStringLiteral(" AND "), QStringLiteral(" "));
    pattern.replace(QLatin1Char(' '), anyRun);
    return anyRun + pattern + anyRun;
}

QString pickerSearchPattern(const QString& boxText)
{
    QString pattern;
    for (qsizetype i = 0; i < boxText.size(); ++i) {
        const QChar c = boxText[i];
        if (c == escapeChar) {
            // An escaped character stays literal; a "\" at the end stands for itself.
            pattern += escapeChar;
            pattern += i + 1 < boxText.size() ? boxText[++i] : escapeChar;
        } else if (c == QLatin1Char(' ')) {
            pattern += anyRun;
        } else if (c == QLatin1Char('_')) {
            pattern += escapeChar;
            pattern += c;
        } else {
            pattern += c;
        }
    }
    return pattern.isEmpty() ? pattern : anyRun + pattern + anyRun;
}

} // namespace veldra::codesystems
