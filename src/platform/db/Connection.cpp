#include "platform/db/Connection.h"

#include "platform/db/DbError.h"

#include <sqlite3.h>

namespace veldra::db {

Connection::~Connection()
{
    close();
}

void Connection::open(const QString& path, Access access)
{
    close();
    const int flags = access == Access::ReadOnly ? SQLITE_OPEN_READONLY
                                                 : SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE;
    sqlite3* opened = nullptr;
    const int rc = sqlite3_open_v2(path.toUtf8().constData(), &opened, flags, nullptr);
    if (rc != SQLITE_OK) {
        const VbError error = databaseError(QStringLiteral("Cannot open the database ") + path, opened);
        sqlite3_close(opened);
        throw error;
    }
    handle_ = opened;
    path_ = path;
    try {
        execute(QStringLiteral("SELECT count(*) FROM sqlite_master"));
    } catch (const VbError&) {
        const VbError error = databaseError(QStringLiteral("Cannot read the database ") + path, handle_);
        close();
        throw error;
    }
}

void Connection::close() noexcept
{
    for (sqlite3_stmt* statement : std::as_const(prepared_))
        sqlite3_finalize(statement);
    prepared_.clear();
    if (handle_) {
        sqlite3_close_v2(handle_);
        handle_ = nullptr;
    }
}

void Connection::execute(const QString& sql)
{
    char* message = nullptr;
    const int rc = sqlite3_exec(handle(), sql.toUtf8().constData(), nullptr, nullptr, &message);
    if (rc != SQLITE_OK) {
        const QString reason = message ? QString::fromUtf8(message) : QString::fromUtf8(sqlite3_errstr(rc));
        sqlite3_free(message);
        throw databaseError(QStringLiteral("Statement failed: ") + sql.left(200), reason);
    }
}

sqlite3* Connection::handle() const
{
    if (!handle_)
        throw databaseError(QStringLiteral("Operation is not allowed when the connection is closed"),
                            QStringLiteral("no open connection"));
    return handle_;
}

sqlite3_stmt* Connection::takePrepared(const QByteArray& sql) const
{
    return prepared_.take(sql);
}

void Connection::keepPrepared(const QByteArray& sql, sqlite3_stmt* statement) const noexcept
{
    // A few queries repeat; the rest are compiled anew rather than kept for ever.
    constexpr qsizetype keptAtMost = 32;
    if (!handle_ || sqlite3_db_handle(statement) != handle_ || prepared_.contains(sql) || prepared_.size() >= keptAtMost) {
        sqlite3_finalize(statement);
        return;
    }
    sqlite3_reset(statement);
    sqlite3_clear_bindings(statement);
    prepared_.insert(sql, statement);
}

} // namespace veldra::db
