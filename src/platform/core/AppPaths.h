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

// The per-user data folder (Qt's writable app-data location). What the program writes for
// itself, its scratch folders above all, goes here: the program folder is read-only once
// Veldra is installed.
QString userDataFolder();

// Tests keep the per-user data in a folder of their own; an empty path restores the default.
void setUserDataFolderForTesting(const QString& folder);

// A path below the per-user data folder ("Preview/doc-1").
QString inUserData(const QString& relative);

} // namespace veldra::app_paths
