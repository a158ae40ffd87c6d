#pragma once

#include <QString>
#include <QStringList>

namespace veldra::codesystems {

// The query of one code table's search by name or code.
struct SearchQuery {
    QString sql;
    QStringList parameters;
};

// What a search query needs to know of its table.
struct SearchedTable {
    QString table;       // table name; its trigram index is "<table>_Search"
    QString columns;     // selected columns
    QString codeColumn;  // searched
    QString nameColumn;  // searched and sorted on
};

// Exact mode compares with "="; partial mode with LIKE and the escaped pattern of
// partialSearchPattern. Names compare and sort without regard to case (the columns
// are NOCASE); ties are broken by the code so that listings come out in one order.
//
// A partial search whose words include one of three or more characters first narrows
// the rows through the table's trigram index, then applies the same LIKE as the plain
// query, so both give the same rows in the same order; shorter words cannot use the
// index and keep the scan. `useIndex` false gives the plain query.
SearchQuery searchQuery(const SearchedTable& table, const QString& searchText, bool exact, bool useIndex = true);

// The trigram index's MATCH expression for the words of a partial search: each word of
// three or more characters as a quoted phrase, joined by AND; empty when there is none.
QString trigramMatchExpression(const QString& searchText);

} // namespace veldra::codesystems
