#include "codesystemsdb/DatabaseWriter.h"

#include "platform/core/VbError.h"
#include "platform/db/Connection.h"
#include "platform/db/Statement.h"

#include <QFile>
#include <cstdio>

namespace veldra::codedb {

namespace {

QString createTable(const TableSpec& table)
{
    QStringList columns;
    for (const QString& column : table.columns)
        columns << column + QStringLiteral(" TEXT COLLATE NOCASE");
    QString sql = QStringLiteral("CREATE TABLE %1 (%2);\n").arg(table.name, columns.join(QStringLiteral(", ")));
    // The code and the name are the two searched columns.
    for (const QString& column : table.columns.mid(0, 2))
        sql += QStringLiteral("CREATE INDEX %1_%2 ON %1 (%2);\n").arg(table.name, column);
    return sql;
}

// A trigram index over the two searched columns, so that a partial search need not
// scan the table; it holds no copy of the text (external content).
QString createSearchIndex(const TableSpec& table)
{
    return QStringLiteral("CREATE VIRTUAL TABLE %1_Search USING fts5(%2, %3, content='%1', tokenize='trigram');\n")
        .arg(table.name, table.columns[0], table.columns[1]);
}

QString fillSearchIndex(const TableSpec& table)
{
    return QStringLiteral("INSERT INTO %1_Search(%1_Search) VALUES('rebuild');\n").arg(table.name);
}

void insertRows(const db::Connection& connection, const TableSpec& table, const std::vector<Row>& rows)
{
    QStringList parameters;
    for (int i = 1; i <= table.columns.size(); ++i)
        parameters << QStringLiteral("?%1").arg(i);
    db::Statement insert(connection, QStringLiteral("INSERT INTO %1 (%2) VALUES (%3)")
                                         .arg(table.name, table.columns.join(QLatin1Char(',')), parameters.join(QLatin1Char(','))));
    for (const Row& row : rows) {
        for (int i = 0; i < table.columns.size(); ++i)
            insert.bind(i + 1, i < int(row.size()) ? row[i] : std::nullopt);
        insert.step();
        insert.reset();
    }
}

void insertSources(const db::Connection& connection, const std::vector<SourceNote>& sources)
{
    db::Statement insert(connection, QStringLiteral("INSERT INTO SourceInfo (TableName, Source, Notice) VALUES (?1, ?2, ?3)"));
    for (const SourceNote& note : sources) {
        insert.bind(1, note.table);
        insert.bind(2, note.source);
        insert.bind(3, note.notice);
        insert.step();
        insert.reset();
    }
}

} // namespace

QString schemaSql()
{
    QString sql;
    for (const TableSpec* table : allTables())
        sql += createTable(*table) + createSearchIndex(*table);
    // Where the rows came from and the terms they are shipped under; the program does not read it.
    sql += QStringLiteral("CREATE TABLE SourceInfo (TableName TEXT, Source TEXT, Notice TEXT);\n");
    return sql;
}

void writeDatabase(const CodeLists& lists, const QString& path)
{
    const QString temporary = path + QStringLiteral(".part");
    QFile::remove(temporary);
    try {
        db::Connection connection;
        connection.open(temporary, db::Connection::Access::ReadWriteCreate);
        connection.execute(QStringLiteral("PRAGMA journal_mode=OFF; PRAGMA synchronous=OFF;"));
        connection.execute(QStringLiteral("BEGIN"));
        connection.execute(schemaSql());
        for (const TableSpec* table : allTables())
            insertRows(connection, *table, lists.rowsOf(*table));
        insertSources(connection, lists.sources);
        for (const TableSpec* table : allTables())
            connection.execute(fillSearchIndex(*table));
        connection.execute(QStringLiteral("COMMIT"));
    } catch (...) {
        QFile::remove(temporary);
        throw;
    }
    if (std::rename(QFile::encodeName(temporary).constData(), QFile::encodeName(path).constData()) != 0) {
        QFile::remove(temporary);
        throw VbError(err::FileAccess, QStringLiteral("CodeLists"), QStringLiteral("Cannot write ") + path);
    }
}

} // namespace veldra::codedb
