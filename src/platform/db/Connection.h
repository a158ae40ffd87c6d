#pragma once

#include <QByteArray>
#include <QHash>
#include <QString>

struct sqlite3;
struct sqlite3_stmt;

namespace veldra::db {

// One connection to an SQLite database file. Failures throw a VbError whose
// source is "SQLite" and whose description names the file and SQLite's reason.
class Connection {
public:
    enum class Access { ReadOnly, ReadWriteCreate };

    Connection() = default;
    ~Connection();
    Connection(const Connection&) = delete;
    Connection& operator=(const Connection&) = delete;

    // Opens the file and reads its schema once, so that a missing file or a file
    // that is no database fails here rather than at the first query.
    void open(const QString& path, Access access);
    // Closes the connection; does nothing when it is not open.
    void close() noexcept;
    bool isOpen() const { return handle_ != nullptr; }

    // Runs one or more statements that return no rows (schema, transactions).
    void execute(const QString& sql);

    // The SQLite handle, for the statements of this layer.
    sqlite3* handle() const;

    // Compiled statements kept for reuse by their SQL text, so that a query run once per
    // item of a long job is compiled once. A Statement takes one out while it runs (null:
    // none kept) and gives it back, reset, when it ends; closing finalizes them all.
    sqlite3_stmt* takePrepared(const QByteArray& sql) const;
    void keepPrepared(const QByteArray& sql, sqlite3_stmt* statement) const noexcept;
    const QString& path() const { return path_; }

private:
    sqlite3* handle_ = nullptr;
    QString path_;
    mutable QHash<QByteArray, sqlite3_stmt*> prepared_;
};

} // namespace veldra::db
