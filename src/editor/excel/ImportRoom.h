#pragma once

#include "editor/document/EditorLimit.h"

namespace veldra {

namespace xml {
class Document;
class Node;
}

// What an import may still add to a settings document so that the editor can open it again
// (fitsInEditor): a workbook of a million short rows, or of one long text repeated in every
// row, would otherwise make a document the editor refuses, and take gigabytes on the way.
class ImportRoom {
public:
    explicit ImportRoom(const xml::Document& document);

    // What a node adds to the document once each of its elements carries an id.
    static DocumentSize sizeOf(const xml::Node& node);
    // Takes that much; false, taking nothing, when it does not fit.
    bool take(const DocumentSize& size);

private:
    DocumentSize held_;
};

} // namespace veldra
