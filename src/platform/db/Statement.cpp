#include "platform/db/Statement.h"

#include "platform/db/Connection.h"
#include "platform/db/DbError.h"

#include <sqlite3.h>

namespace veldra::db {

Statement::Statement(const Connection& connection, const QString& sql)
    : connection_(connection), sql_(sql), sqlText_(sql.toUtf8())
{
    sqlite3* handle = connection.handle();
    stmt_ = connection.takePrepared(sqlText_);
    if (stmt_)
        return;
    if (sqlite3_prepare_v2(handle, sqlText_.constData(), int(sqlText_.size()), &stmt_, nullptr) != SQLITE_OK)
        throw databaseError(QStringLiteral("Query rejected: ") + sql, handle);
}

Statement::~Statement()
{
    if (stmt_)
        connection_.keepPrepared(sqlText_, stmt_);
}

void Statement::bind(int index, const std::optional<QString>& value)
{
    int rc;
    if (value) {
        const QByteArray text = value->toUtf8();
        rc = sqlite3_bind_text(stmt_, index, text.constData(), int(text.size()), SQLITE_TRANSIENT);
    } else {
        rc = sqlite3_bind_null(stmt_, index);
    }
    if (rc != SQLITE_OK)
        throw databaseError(QStringLiteral("Cannot bind parameter %1 of: %2").arg(index).arg(sql_), connection_.handle());
}

bool Statement::step()
{
    const int rc = sqlite3_step(stmt_);
    if (rc == SQLITE_ROW)
        return true;
    if (rc == SQLITE_DONE)
        return false;
    throw databaseError(QStringLiteral("Query failed: ") + sql_, connection_.handle());
}

void Statement::reset()
{
    sqlite3_reset(stmt_);
    sqlite3_clear_bindings(stmt_);
}

int Statement::columnCount() const
{
    return sqlite3_column_count(stmt_);
}

QString Statement::columnName(int column) const
{
    return QString::fromUtf8(sqlite3_column_name(stmt_, column));
}

std::optional<QString> Statement::value(int column) const
{
    if (sqlite3_column_type(stmt_, column) == SQLITE_NULL)
        return std::nullopt;
    const auto* text = reinterpret_cast<const char*>(sqlite3_column_text(stmt_, column));
    return QString::fromUtf8(text, sqlite3_column_bytes(stmt_, column));
}

} // namespace veldra::db
