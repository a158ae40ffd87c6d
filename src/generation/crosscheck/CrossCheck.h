#pragma once

#include <QString>

namespace veldra {

// Compares two SPL files check by check and writes what is identical and what differs to the
// shared log. The checks come from SPLR4Definitions/CrossCheckInstruction.xml in the program
// folder: the Setup that lists the document type of both files says which checks run. Each
// node that a check's query selects in file 1 is looked for, by its text, among the nodes the
// same query selects in file 2; nodes only file 2 holds are not reported. An empty display
// name becomes "SPL File 1" or "SPL File 2". With logging off the summary is shown in a
// message box instead.
void CompareSPLFiles(const QString& file1, const QString& displayName1, const QString& file2,
                     const QString& displayName2, bool differencesOnly);

// The short description of an SPL file: the first product's name, or the author's
// organisation when that name is empty, then a blank and the document's effective time.
// Throws VbError when the file cannot be loaded or lacks one of the three items.
QString GetSPLDisplayName(const QString& file);

} // namespace veldra
