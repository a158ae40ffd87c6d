#include "codesystems/CodeSystemsDatabase.h"

#include "platform/core/AppPaths.h"
#include "platform/db/Connection.h"

namespace veldra::codesystems {

QString databaseFileName()
{
    return QStringLiteral("SPLCodeSystems.sqlite");
}

QString databasePath()
{
    return app_paths::inProgram(databaseFileName());
}

void openDatabase(db::Connection& connection)
{
    connection.open(databasePath(), db::Connection::Access::ReadOnly);
}

} // namespace veldra::codesystems
