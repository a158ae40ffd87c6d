#pragma once

#include <QString>

// The texts of the formatting analysis's lines, apart from the walk that writes them.
namespace veldra::formatting_analysis {

// "Style: " and the style's name, filled with blanks to column 32, or to column 50 when it
// is 32 or longer; a prefix longer than 50 stays as it is. The lines' texts then line up.
QString stylePrefix(const QString& style);

// Where a paragraph lies: "P3/12, ¶41" for paragraph 41 on page 3 of 12.
QString locationLabel(int page, int pages, int paragraph);

// A paragraph's text on one log line: paragraph marks dropped, line breaks as blanks,
// non-breaking hyphens as "-", and the other control characters (page and column breaks,
// optional hyphens) left out.
QString plainText(const QString& text);

} // namespace veldra::formatting_analysis
