#pragma once

#include <QString>

namespace veldra {

// Validates a saved SPL file against the FDA SPL schema that the file's xsi:schemaLocation
// names (resolved to the local copy of the schema set) and reports the outcome in the log:
// the separator, two "Information" lines, then either "Information" that the file is valid
// or one "Error" entry with the reason, the offending source line (tabs removed) and its
// line number. Returns "" for a valid file, otherwise that source line as it stands (""
// when the failure has none, for example a schema that cannot be found). A failure of its
// own is logged as "ValidateAgainstSchema  - ..." and gives the result as it stood.
// This is the schema check of clsSPL; the SPL build calls it on the file it has saved.
QString ValidateAgainstSchema(const QString& strFile);

} // namespace veldra
