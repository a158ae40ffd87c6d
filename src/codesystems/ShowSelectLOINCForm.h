#pragma once

#include <QString>

namespace veldra {

// Shows the LOINC picker (loading it when needed) with `searchText` in its text box,
// after emptying the selected code and name of the lookup it answers: modeless, in
// its normal state, centred on the main window and kept above other windows.
// Returns at once; failing steps are skipped.
void ShowSelectLOINCForm(const QString& searchText);

} // namespace veldra
