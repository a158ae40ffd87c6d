#pragma once

#include <QString>

namespace veldra::buildform {

class frmBuildSPL;

// Writes every entry of the build form to a snapshot file at `path`, through a temporary
// file, so a failed save leaves the former file as it was. Failures get the critical message.
void SaveSettingsFile(frmBuildSPL& form, const QString& path);
void SaveSettingsFile(const QString& path);

// Restores the build form from the snapshot at `path`. The whole file is read and checked
// first: a file that is not a snapshot, or one with a malformed entry, gets the critical
// message and leaves the form as it was. A missing file clears the form without a word.
void LoadSettingsFile(frmBuildSPL& form, const QString& path);
void LoadSettingsFile(const QString& path);

// The start-up restore of the last snapshot: the per-user copy of "LastSettings.xml" when
// there is one, else `programFolderFile`. A missing file leaves the form empty without a
// word; a file that cannot be restored is named in one log line and changes nothing.
void RestoreLastSettings(frmBuildSPL& form, const QString& programFolderFile);

// Where a saved "LastSettings.xml" would go: the per-user data folder, since the program
// folder may be read-only.
QString userLastSettingsFile();

} // namespace veldra::buildform
