#pragma once

#include <QString>

namespace veldra {

// Copies the file `from` to `to`, replacing a file there. The copy is written beside `to`
// first and then renamed over it, so a failed copy leaves the former file as it was. A file
// copied onto itself is left alone (the result is then false). Throws VbError (source
// "FileCopy") with the reason.
bool copyFileReplacing(const QString& from, const QString& to);

// The folder part of a path up to and including its last "/" or "\" ("" when it has none).
QString folderWithSeparator(const QString& path);

} // namespace veldra
