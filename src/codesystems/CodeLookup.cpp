#include "codesystems/CodeLookup.h"

#include "app/log/Log.h"
#include "codesystems/CodeSystemsDatabase.h"
#include "codesystems/SearchMode.h"
#include "codesystems/SearchPattern.h"
#include "codesystems/SearchQuery.h"

namespace veldra {

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
    const codesystems::SearchQuery query = codesystems::searchQuery(
        {table.table, table.columns, table.codeColumn, table.nameColumn}, searchText, exact);
    rows.open(connection_, query.sql, query.parameters);
    if (rows.eof()) {
        WriteLog(log_category::Warning,
                 searchText + QStringLiteral(" - Corresponding ") + table.listName + QStringLiteral(" code not found"));
        return Found::None;
    }
    if (rows.recordCount() <= 1)
        return Found::One;
    WriteLog(log_category::Warning,
             searchText + QStringLiteral(" - Multiple ") + table.listName + QStringLiteral(" codes found"));
    return Found::Several;
}

void CodeLookup::listRows(const Table& table, db::Recordset& rows)
{
    while (!rows.eof()) {
        WriteLog(table.rowCategory, QString(5, QLatin1Char(' ')) + table.rowLine(rows));
        rows.moveNext();
        if (Cancel) {
            WriteLog(log_category::Warning, table.listName + QStringLiteral(" get Code and Name cancelled"));
            return;
        }
    }
}

void CodeLookup::assignUnlessNull(QString& target, const std::optional<QString>& value)
{
    if (value)
        target = *value;
}

void CodeLookup::findCodeAndName(const Table& table, const QString& searchText, QString& code, QString& name,
                                 const QString& codeField, const QStringList& nameFields)
{
    code.clear();
    name.clear();
    db::Recordset rows;
    QString likePattern;
    switch (search(table, searchText, rows, likePattern)) {
    case Found::None:
        return;
    case Found::One:
        assignUnlessNull(code, rows.field(codeField));
        for (const QString& field : nameFields)
            assignUnlessNull(name, rows.field(field));
        return;
    case Found::Several:
        listRows(table, rows);
        return;
    }
}

} // namespace veldra
