#pragma once

#include <QString>
#include <QStringList>
#include <vector>

// Reading the delimited text files that code lists come in.
namespace veldra::codedb {

// The whole file as UTF-8 text (a byte-order mark is dropped). Throws VbError when
// the file cannot be read.
QString readUtf8File(const QString& path);

// Records of CSV text: fields separated by ",", optionally in double quotes, with
// "" standing for one quote and line breaks allowed inside quotes. Empty lines
// give no record.
std::vector<QStringList> parseCsv(const QString& text);

// Records of tab-separated text, one per line (LF or CR LF); empty lines give none.
std::vector<QStringList> parseTabSeparated(const QString& text);

// The index of the first header cell equal to one of `names` (letter case and
// surrounding blanks ignored; the names are tried in order), or -1.
int findColumn(const QStringList& header, const QStringList& names);

} // namespace veldra::codedb
