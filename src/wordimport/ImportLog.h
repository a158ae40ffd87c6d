#pragma once

#include "app/Log.h"
#include "platform/core/VbError.h"

#include <QString>

namespace veldra::wordlog {

// Detail lines are indented by five blanks, and by ten inside lists and tables.
inline const QString indent5 = QString(5, QLatin1Char(' '));
inline const QString indent10 = QString(10, QLatin1Char(' '));

inline void information(const QString& message, bool bold = false) { WriteLog(QStringLiteral("Information"), message, bold); }
inline void processing(const QString& message, bool bold = false) { WriteLog(QStringLiteral("Processing"), message, bold); }
inline void warning(const QString& message) { WriteLog(QStringLiteral("Warning"), message); }
inline void error(const QString& message) { WriteLog(QStringLiteral("Error"), message); }
inline void reference(const QString& message) { WriteLog(QStringLiteral("Reference"), message); }
inline void separator(bool bold = false) { WriteLog(logSeparator(), QString(), bold); }

} // namespace veldra::wordlog
