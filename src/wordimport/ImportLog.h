#pragma once

#include "app/log/Log.h"
#include "platform/core/VbError.h"

#include <QString>

namespace veldra::wordlog {

// The Word import writes its lines with WriteLog under the shared log categories.
// Detail lines are indented by five blanks, and by ten inside lists and tables.
inline const QString indent5 = QString(5, QLatin1Char(' '));
inline const QString indent10 = QString(10, QLatin1Char(' '));

} // namespace veldra::wordlog
