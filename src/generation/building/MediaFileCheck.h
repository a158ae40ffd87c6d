#pragma once

#include <QString>

namespace veldra {

namespace xml {
class Document;
}

// Writes one "Warning" for each picture file that the built SPL `target` references and that
// is not beside `outFile`: the SPL goes out with the files of its folder, so it would point at a
// file that is not there. A picture found in the settings document's image folder
// (ProductLabel/WordDocument/ImageTargetFolder) is still missing beside the SPL; the warning
// says where it lies. The build goes on either way. Returns the number of files missing.
int WarnMissingMediaFiles(const xml::Document& target, const xml::Document& settings, const QString& outFile);

} // namespace veldra
