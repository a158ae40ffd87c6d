#pragma once

#include <QString>

namespace veldra {

// Puts the tree picture of `imageKey` into `targetFolder` as imageKey & ".jpg": Images/<key>.jpg
// of the program folder is copied; a picture of the key in another format (the tree takes any,
// named <key>.<extension>) is written as JPEG on a white background. Throws VbError when the
// key has no picture or it cannot be written.
void copyReportPicture(const QString& imageKey, const QString& targetFolder);

} // namespace veldra
