#pragma once

#include <QString>

namespace veldra {

namespace xml {
class Document;
}

// Writes one "Warning" for each picture file that the built SPL `target` references and that
// is neither in the settings document's image folder (ProductLabel/WordDocument/
// ImageTargetFolder) nor beside `outFile`: the SPL would point at a file that is not there.
// The build goes on either way.
void WarnMissingMediaFiles(const xml::Document& target, const xml::Document& settings, const QString& outFile);

} // namespace veldra
