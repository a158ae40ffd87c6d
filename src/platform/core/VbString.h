#pragma once

#include <QString>

// Text rules of the program, which differ from Qt's defaults in small ways that matter.
namespace veldra::vbstr {

// Removes leading and trailing blanks (U+0020) only; tabs and line breaks stay.
QString trim(const QString& s);
QString ltrim(const QString& s);
QString rtrim(const QString& s);

// The folder part of a path: everything before the last "/" or "\" (empty when none).
QString folderOf(const QString& path);
// The file part of a path: everything after the last "/" or "\".
QString fileNameOf(const QString& path);
// Converts "\" separators of Windows-made documents to "/".
QString toNativeSeparators(const QString& path);

// True when the text converts to a number: digits with an optional sign, decimal
// separator and exponent, blanks around allowed. Empty text is not numeric.
bool isNumeric(const QString& s);

} // namespace veldra::vbstr
