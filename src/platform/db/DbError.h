#pragma once

#include "platform/core/VbError.h"

struct sqlite3;

namespace veldra::db {

// The error of a failed database call: source "SQLite", our database error number,
// the given context and SQLite's own message for the connection.
VbError databaseError(const QString& context, sqlite3* handle);
VbError databaseError(const QString& context, const QString& reason);

} // namespace veldra::db
