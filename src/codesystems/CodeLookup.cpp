#include "codesystems/CodeLookup.h"

#include "app/Log.h"
#include "codesystems/CodeSystemsDatabase.h"
#include "codesystems/SearchMode.h"
#include "codesystems/SearchPattern.h"

namespace veldra {

namespace {

// Exact mode compares with "="; partial mode with LIKE and an escaped pattern.
// Names compare and sort without regard to case (the columns are NOCASE); ties are
// broken by the code so that listings come out in one order.
QString queryText(const CodeLookup::Table& table, bool exact)
{
    const QString comparison = exact ? QStringLiteral(" = ?1") : QStringLiteral(" LIKE ?1") + codesystems::likeEscapeClause();
    return QStringLiteral("SELECT %1 FROM %2 WHERE %3%5 OR %4%5 ORDER BY %3 ASC, %4 ASC")
        .arg(table.columns, table.table, table.nameColumn, table.codeColumn, comparison);
}

} // namespace

void CodeLookup::openConnection()
{
    codesystems::openDatabase(connection_);
}

void CodeLookup::closeConnection() noexcept
{
    connection_.close();
}

CodeLookup::Found CodeLookup::search(const Table& table, const QString& searchText, db::Recordset& rows,
                                     QString& likePattern)
{
    Cancel = false;
    const bool exact = codesystems::wholeWordSearch();
    likePattern = exact ? codesystems::escapeLikeText(searchText) : codesystems::partialSearchPattern(searchText);
    rows.open(connection_, queryText(table, exact), {exact ? searchText : likePattern});
    if (rows.eof()) {
        WriteLog(QStringLiteral("Warning"),
                 searchText + QStringLiteral(" - Corresponding ") + table.listName + QStringLiteral(" code not found"));
        return Found::None;
    }
    if (rows.recordCount() <= 1)
        return Found::One;
    WriteLog(QStringLiteral("Warning"),
             searchText + QStringLiteral(" - Multiple ") + table.listName + QStringLiteral(" codes found"));
    return Found::Several;
}

void CodeLookup::listRows(const Table& table, db::Recordset& rows)
{
    while (!rows.eof()) {
        WriteLog(table.rowCategory, QString(5, QLatin1Char(' ')) + table.rowLine(rows));
        rows.moveNext();
        if (Cancel) {
            WriteLog(QStringLiteral("Warning"), table.listName + QStringLiteral(" get Code and Name cancelled"));
            return;
        }
    }
}

void CodeLookup::assignUnlessNull(QString& target, const std::optional<QString>& value)
{
    if (value)
        target = *value;
}

} // namespace veldra
