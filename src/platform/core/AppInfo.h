#pragma once

#include <QString>

namespace veldra::app_info {

// The program's title, as shown in window captions and message boxes.
QString title();
int versionMajor();
int versionMinor();
int versionRevision();
// "major.minor.revision"
QString versionText();
QString publisher();

} // namespace veldra::app_info
