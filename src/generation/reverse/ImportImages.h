#pragma once

#include <QString>

namespace veldra {

namespace xml {
class Document;
class Node;
}

// Copies the picture files that the imported SPL markup below `imported` references, from the
// folder of `splFile` into the settings document's image folder (ProductLabel/WordDocument/
// ImageTargetFolder), so the build finds them there; each copy and each file left out goes to
// the log. Only plain file names count, and only regular files that lie in the SPL file's own
// folder (no link is followed); a file the image folder already holds is kept as it is.
void CopyImportedImages(const xml::Node& imported, const xml::Document& settings, const QString& splFile);

} // namespace veldra
