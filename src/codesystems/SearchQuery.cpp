#include "codesystems/SearchQuery.h"

#include "codesystems/SearchPattern.h"

namespace veldra::codesystems {

namespace {

// A trigram index finds only runs of at least three characters.
constexpr qsizetype shortestIndexedWord = 3;

// The words of a partial search as partialSearchPattern splits them.
QStringList searchWords(QString searchText)
{
    searchText.replace(QStringLiteral(" AND "), QStringLiteral(" "));
    return searchText.split(QLatin1Char(' '), Qt::SkipEmptyParts);
}

QString quotedPhrase(QString word)
{
    word.replace(QLatin1Char('"'), QStringLiteral("\"\""));
    return QLatin1Char('"') + word + QLatin1Char('"');
}

} // namespace

QString trigramMatchExpression(const QString& searchText)
{
    QStringList phrases;
    for (const QString& word : searchWords(searchText)) {
        if (word.toUcs4().size() >= shortestIndexedWord)
            phrases << quotedPhrase(word);
    }
    return phrases.join(QStringLiteral(" AND "));
}

SearchQuery searchQuery(const SearchedTable& table, const QString& searchText, bool exact, bool useIndex)
{
    const QString comparison = exact ? QStringLiteral(" = ?1") : QStringLiteral(" LIKE ?1") + likeEscapeClause();
    const QString parameter = exact ? searchText : partialSearchPattern(searchText);
    const QString match = exact || !useIndex ? QString() : trigramMatchExpression(searchText);
    const QString narrowing = match.isEmpty()
        ? QString()
        : QStringLiteral("rowid IN (SELECT rowid FROM %1_Search WHERE %1_Search MATCH ?2) AND ").arg(table.table);
    SearchQuery query;
    query.sql = QStringLiteral("SELECT %1 FROM %2 WHERE %6(%3%5 OR %4%5) ORDER BY %3 ASC, %4 ASC")
                    .arg(table.columns, table.table, table.nameColumn, table.codeColumn, comparison, narrowing);
    query.parameters << parameter;
    if (!match.isEmpty())
        query.parameters << match;
    return query;
}

} // namespace veldra::codesystems
