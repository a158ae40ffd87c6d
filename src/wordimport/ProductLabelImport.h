#pragma once

class QWidget;

namespace veldra {

namespace xml {
class Document;
}

// Replaces the label sections of the editor's settings document with those of the Word
// label that its WordDocument options name, after asking the user. A conversion that
// produces no document, or options or a definition file that are not usable, leave the
// sections as they were; the log says why.
void ImportProductLabelFromWord(QWidget* editor, xml::Document& settings);

} // namespace veldra
