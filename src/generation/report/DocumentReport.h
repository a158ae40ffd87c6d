#pragma once

#include <QString>

namespace veldra {

// Writes the HTML document report of the current editor's settings document to `reportPath`:
// one table per tree node that has children, listing the node and its children with their
// pictures, names, values and help texts. The file name part of `reportPath` is made safe
// first and the caller's variable receives the path written. The pictures are copied into
// SPLReportImages beside the page, which is written as UTF-8 (through a temporary file) and
// opened with the desktop's handler. A page that cannot be written is reported in the log.
void CreateDocumentReport(QString& reportPath);

} // namespace veldra
