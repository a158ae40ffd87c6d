#pragma once

#include "editor/document/EditorLimit.h"

#include <QString>

#include <optional>

namespace veldra {

namespace xml {
class Document;
class Node;
}

// The Word2SPLID every element gets in a settings document: ` Word2SPLID="`, 36 characters and `"`.
inline constexpr qint64 kIdAttributeBytes = 50;

// The size of `document` as the editor's limit counts it, its bytes as it would be saved.
DocumentSize savedSizeOf(const xml::Document& document);

// What a node adds to a settings document once each of its elements carries an id.
DocumentSize importedSizeOf(const xml::Node& node);

// What a text takes in a settings document as saved, its markup escaped.
DocumentSize savedSizeOfText(const QString& text);

// What an import may still write into a settings document so that the editor opens it again
// (fitsInEditor): a workbook of a million short rows, or a Word footnote repeated at each of its
// citations, would otherwise make a document the editor refuses, and take gigabytes on the way.
class EditorRoom {
public:
    // The room of a document that holds nothing yet.
    EditorRoom() = default;
    // The room of a document that already holds `held`.
    explicit EditorRoom(const DocumentSize& held);
    // The room `document` leaves, as it would be saved.
    static EditorRoom leftBy(const xml::Document& document);
    // The room the document of `element` leaves to what takes the place of `element`.
    static EditorRoom leftReplacing(const xml::Node& element);

    bool fits(const DocumentSize& size) const;
    // Takes that much; false, taking nothing, when it does not fit.
    bool take(const DocumentSize& size);

    // The limit in words, for messages.
    static QString limitText();

private:
    DocumentSize held_;
};

// A smaller limit than the editor's, for tests; nullopt restores the editor's.
void setEditorLimitForTesting(std::optional<DocumentSize> limit);

} // namespace veldra
