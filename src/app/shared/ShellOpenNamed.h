#pragma once

#include <QString>

namespace veldra {

// Opens a file or a folder that a document names with the desktop: a folder in the file
// manager, a file with its program. When it cannot be opened, says so in a message box that
// names it and says why: no path at all, nothing at the path, or a desktop that could not
// open it.
void ShellOpenNamedPath(const QString& path);

} // namespace veldra
