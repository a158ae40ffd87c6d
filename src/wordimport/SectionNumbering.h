#pragma once

#include <QString>

namespace veldra {

namespace xml {
class Document;
}
class clsWord;

// Numbers the label sections of a settings document by position: "i" + separator + " " +
// title for each section, "i.j " + title for its subsections in their stored order, which
// is the order the built label shows them in; deeper sections keep their titles. The log
// lists each title as it is written (a subsection's indented). A section or subsection
// without a title (an SPL file's section may have none) is passed over with a warning naming
// its place, and takes no number.
void ProductLabelAddSectionNumbers(xml::Document& document, const QString& separator);
// Titles the label sections with the numbers the word processor showed in front of the
// headings that the converter indexed during its conversion.
void ProductLabelAddSectionNumbersFromWord(xml::Document& document, const clsWord& word);

} // namespace veldra
