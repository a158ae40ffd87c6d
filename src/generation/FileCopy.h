#pragma once

#include <QString>

namespace veldra {

// Copies the file `from` to `to`, replacing a file there. The copy is written beside `to`
// first and then renamed over it, so a failed copy leaves the former file as it was. A file
// copied onto itself is left alone (the result is then false). Throws VbError (source
// "FileCopy") with the reason.
//
// Only a regular file that lies in the folder it is named in is copied: a name that is a
// symbolic link (which could point anywhere, at another user's secrets or a device) or that
// names a device, pipe or folder is refused. The target is written as ReplacingFile writes,
// so a link, special or read-only file there is refused too. The copy keeps the file's
// permissions, so a file only its owner may read stays so.
bool copyFileReplacing(const QString& from, const QString& to);

// The folder part of a path up to and including its last "/" or "\" ("" when it has none).
QString folderWithSeparator(const QString& path);

} // namespace veldra
