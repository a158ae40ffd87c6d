#pragma once

#include <QString>
#include <QStringList>
#include <optional>
#include <vector>

// The three code tables of the code-system database, as the build tool writes them.
namespace veldra::codedb {

// One row: its values in the order of the table's columns; an empty value is NULL.
using Row = std::vector<std::optional<QString>>;

struct TableSpec {
    QString name;
    QStringList columns;  // in order; the first two are searched (code and name)
};

// LOINC (LOINC_NUM, COMPONENT, SYSTEM), NCIThesaurus (Field1 code, Field2 the name
// searched, Field3 subset, Field4 preferred name), UNII (UNII, Name).
const TableSpec& loincTable();
const TableSpec& nciTable();
const TableSpec& uniiTable();
const std::vector<const TableSpec*>& allTables();
// The table of that name (case-insensitive), or nullptr.
const TableSpec* findTable(const QString& name);

// Where rows of a table came from, with the file's notice (its comment lines: what
// the list holds, and the licence terms it is shipped under).
struct SourceNote {
    QString table;
    QString source;  // file name
    QString notice;
};

// The rows of every table and their sources.
struct CodeLists {
    std::vector<Row> loinc;
    std::vector<Row> nci;
    std::vector<Row> unii;
    std::vector<SourceNote> sources;

    std::vector<Row>& rowsOf(const TableSpec& table);
    const std::vector<Row>& rowsOf(const TableSpec& table) const;
    // Replaces the table's rows, and its sources by `source`.
    void replace(const TableSpec& table, std::vector<Row> rows, const SourceNote& source);
};

} // namespace veldra::codedb
