#pragma once

#include "platform/core/VbVariant.h"

#include <QString>

// Format patterns in the manner of Visual Basic's Format, in the subset the program's
// definition files use. Sections are separated by ";" (positive; negative; zero).
//
// Date patterns (a pattern holding y, d, h, n or s, or m without digit placeholders):
// yyyy, yy, mmmm, mmm, mm, m, dddd, ddd, dd, d, hh, h, nn, n, ss, s and AM/PM; m and mm
// right after an hour are minutes. Month and day names are English.
// Number patterns: 0 (digit or zero), # (digit or nothing), "." (decimal point), ","
// between digit placeholders (thousands grouping), % (per cent). Halves round away from
// zero.
// Everywhere: text in double quotes and a character after "\" are written as they are,
// as is every other character.
namespace veldra::vb {

// Formats a value: a number or a date by the pattern; a text that reads as a number
// or a date (VbText.h parseDate) as that; any other value is returned as its text
// unchanged. A number under a date pattern is a date serial. An empty pattern gives
// the value's text.
QString format(const Variant& value, const QString& pattern);

} // namespace veldra::vb
