#pragma once

#include "codesystemsdb/CodeTables.h"

namespace veldra::codedb {

// Writes the lists as the code-system database at `path`. Text columns compare and
// sort without regard to letter case (COLLATE NOCASE), and the code and name of
// every table are indexed, so exact searches do not scan the table. The file is
// written beside the target under a temporary name and renamed over it at the end,
// so a failed run leaves an existing database as it was. Throws VbError.
void writeDatabase(const CodeLists& lists, const QString& path);

// The statements that create the three tables, their indexes and the table
// SourceInfo (TableName, Source, Notice) that names each table's sources.
QString schemaSql();

} // namespace veldra::codedb
