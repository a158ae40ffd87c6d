#pragma once

#include <QString>

namespace veldra::excel {

// Workbook texts carry characters that XML cannot hold as "_xHHHH_" (a carriage return as
// "_x000D_", a literal "_x" as "_x005F_x"). Decodes them; characters that the program's
// documents cannot hold either (control characters other than tab, line feed and carriage
// return) are left out.
QString decodeEscapes(const QString& text);

} // namespace veldra::excel
