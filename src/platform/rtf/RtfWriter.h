#pragma once

#include <QByteArray>

class QTextDocument;

namespace veldra::rtf {

// Writes a rich-text document as RTF (Qt reads RTF nowhere and writes it nowhere).
// Kept per character: text colour, bold and font size, with the fonts and colours
// gathered into the font and colour tables. Paragraphs are separated by \par, line breaks
// inside a paragraph become \line, tabs \tab; "\", "{" and "}" are escaped and
// every character outside ASCII is written as \uN? (N the signed UTF-16 unit).
QByteArray toRtf(const QTextDocument& document);

} // namespace veldra::rtf
