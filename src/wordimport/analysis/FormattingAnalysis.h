#pragma once

#include <QString>

namespace veldra {

// Writes to the log, which it clears and shows first, how a Word label is formatted: each
// paragraph's style, estimated page and text, the paragraphs taken as section, excerpt and
// subsection headers under the three style names, where pictures (with the file names the
// import will give them) and tables are, a summary of the styles used with warnings for
// too many styles and for configured styles that never occur, and the numbers of pictures
// and tables. Reads only: the document is not changed. A file that cannot be read (missing,
// damaged, or a .doc or .rtf that must first be saved as .docx) gives one "Error" line.
void AnalyzeDocumentFormatting(const QString& FileName, const QString& SectionStyle, const QString& ExcerptStyle,
                               const QString& SubSectionStyle);

} // namespace veldra
