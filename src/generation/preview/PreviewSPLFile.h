#pragma once

#include <QString>

namespace veldra {

// Preview SPL File: the user picks an SPL file, which is shown in a new preview window through
// the SPL stylesheet. While an information box is open a copy of the file, named with the
// prefix "Preview_" and pointing at the program's local stylesheet, lies beside it; the copy
// never replaces a file of the user's and is deleted when the box is dismissed. A file that
// cannot be read, or a stylesheet that is not available, is reported in a message box.
void PreviewSPLFile();

// The path of the "Preview_" copy beside `splFile`: "Preview_" & its name, or, when a file of
// that name exists, "Preview_2_" & its name, "Preview_3_" & its name, ... the first free one.
QString PreviewCopyPath(const QString& splFile);

} // namespace veldra
