#pragma once

#include <QString>

namespace veldra {

// The search service of the main window's code-search panel, for the field dialogs,
// wizards and entry dialogs that look a term up. The result is the log window's
// new lines; nothing is returned.

// The code-system box entry for a long code-system name ("National Cancer Institute
// Thesaurus" gives "NCI Thesaurus"); any name without its own list, and any text
// that differs in case or blanks, gives "All Code Systems".
QString codeSystemSearchEntry(const QString& longCodeSystemName);

// Puts the term and the code-system entry into the panel and presses its Search
// button; with `clearLogFirst` the panel's Clear button is pressed before.
// Does nothing while there is no main window.
void searchCodeSystem(const QString& term, const QString& codeSystemEntry, bool clearLogFirst);

} // namespace veldra
