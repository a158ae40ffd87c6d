#pragma once

#include <QString>

namespace veldra {

// The searches behind the main window's code-search panel. Each looks the term up
// in one code list, exactly or in part as the panel's check box says, and reports
// under a heading of its own in the log window; an empty term does nothing.
void SearchLOINCCodes(const QString& term);
void SearchNCIThesaurusCodes(const QString& term);
void SearchUNIICodes(const QString& term);

} // namespace veldra
