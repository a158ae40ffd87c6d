#pragma once

#include <QColor>
#include <QString>

// The text and colour rules of the shared log, apart from the window that shows it.
namespace veldra::log_format {

// One log line: the category, blanks up to the message column, the message and LF.
// A category shorter than 15 characters puts the message in column 16; a longer one
// is followed by |30 - length| blanks. The separator category is written alone.
QString line(const QString& category, const QString& message);

// The colour of a category's line; categories compare exactly and case-sensitively.
QColor colour(const QString& category);

// The header that opens an empty log: title and version, publisher and year.
QString header();

// The red block that closes a build, a cross-check or a formatting analysis.
QString disclaimer();

} // namespace veldra::log_format
