#pragma once

#include <QString>

// Line breaks of multi-line values. A stored value may hold LF, CR LF or lone CR line breaks
// (values typed on another system, or written back before the document was saved); the box
// shows each of them as one line break, and hands the value back with CR LF line breaks.
// Editing a value any number of times therefore never multiplies its line breaks.
namespace veldra {

// The text a multi-line box shows for a stored value: every line break becomes one LF.
QString multiLineDisplayText(const QString& value);

// The value of a multi-line box's text: every line break becomes CR LF.
QString multiLineValue(const QString& shown);

} // namespace veldra
