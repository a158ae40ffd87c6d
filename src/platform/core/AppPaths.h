#pragma once

#include <QString>

namespace veldra::app_paths {

// The program folder: the folder of the executable, holding SPLR4Definitions/,
// LabelDefinitions/, Images/, Preview/, Help/ and the other data files.
QString programFolder();

// Tests point the program folder at a copy of their own; an empty path restores the default.
void setProgramFolderForTesting(const QString& folder);

// A path below the program folder. Accepts names written with "\" separators and a
// leading separator ("\SPLR4Definitions\Wizards.xml").
QString inProgram(const QString& relative);

} // namespace veldra::app_paths
