#pragma once

#include "editor/window/EditorHooks.h"

#include <QString>

namespace veldra {

namespace xml {
class Document;
}

// Builds the SPL file `outFile` from a settings document, reporting everything in the log:
// picks the drug-product or kit-assembly template and transformation, transforms every
// settings element, post-processes when SPLR4/ProductLabel/WordDocument/PostprocessProductLabel
// is "Yes", cleans what nothing filled, applies the target modifications, merges an existing
// SPL file when the document names one (which the user may stop, ending the build before
// anything is saved), finishes and saves the file as UTF-8 (through a
// temporary file beside it), validates it against the SPL schema and traces a schema error
// back to the settings elements it came from. A failure ends the run with an "Error" line;
// the closing "Operation Completed" line is written only when the file was saved. The
// settings document is not changed. A build asked for while one runs is refused with a
// message box. Tells whether the file was written and, when it was not, the failure.
BuildOutcome TransformSPLR4ToSPL(const xml::Document& settingsDOM, const QString& outFile);

} // namespace veldra
