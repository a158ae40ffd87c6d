#pragma once

#include <QString>

namespace veldra::excel {

// Whether a cell's number format shows its number as a date or time: the built-in formats
// 14 to 22 and 45 to 47, or a custom format code with a day, month, year, hour or second
// letter outside quoted text, escapes and bracketed colours or locales ("[h]" elapsed
// hours count as time).
bool isBuiltInDateFormat(int id);
bool isDateFormatCode(const QString& code);

} // namespace veldra::excel
