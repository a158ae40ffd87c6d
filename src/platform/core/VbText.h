#pragma once

#include "platform/core/VbVariant.h"

#include <QString>

// Values turned into text the way the program's Visual-Basic-like rules print them.
namespace veldra::vb {

// A number with up to 15 significant digits and no trailing zeros: "12345", "12.5",
// "0.1" (not "0.1000000000000001"), "-3"; exponent form beyond that range ("1E+15",
// "1.5E-07").
QString numberText(double value);

// A date as "yyyy-MM-dd", with " HH:mm:ss" when it has a time of day; a time alone (the
// zero day) as "HH:mm:ss". The program prints dates this one way on every system, so an
// imported text does not depend on the user's regional settings.
QString dateText(const QDateTime& value);

// The text of any value: empty for Empty, "True"/"False" for booleans, an error's own
// text ("#N/A").
QString toText(const Variant& value);

// Reads a text as a date: "yyyy-MM-dd", "yyyy-MM-dd HH:mm[:ss]" (also with "T"),
// "M/d/yyyy" and "M/d/yyyy H:mm[:ss]". Null for anything else.
QDateTime parseDate(const QString& text);

} // namespace veldra::vb
