#include "platform/db/DbError.h"

#include <sqlite3.h>

namespace veldra::db {

VbError databaseError(const QString& context, sqlite3* handle)
{
    const QString reason = handle ? QString::fromUtf8(sqlite3_errmsg(handle)) : QStringLiteral("out of memory");
    return databaseError(context, reason);
}

VbError databaseError(const QString& context, const QString& reason)
{
    return VbError(err::Database, QStringLiteral("SQLite"), context + QStringLiteral(" (") + reason + QLatin1Char(')'));
}

} // namespace veldra::db
