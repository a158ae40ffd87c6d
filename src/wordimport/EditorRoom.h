#pragma once

#include "editor/document/EditorLimit.h"

#include <QString>

#include <optional>

namespace veldra {

namespace word {
class Range;
}

namespace xml {
class Document;
}

// What new markup, as the converter writes it or a node's xml() shows it, adds to a settings
// document: its elements, its attributes and the bytes of the saved file, the Word2SPLID
// every element gets there included.
DocumentSize newMarkupSize(QStringView markup);
// The least the markup of a paragraph's range adds: its text and the text of every note it
// cites, each citation counted, for the converter repeats a note's text at each of them.
// Known before the markup is built.
DocumentSize leastMarkupSizeOf(const word::Range& range);

// What the Word import may still write into a settings document so that the editor opens it
// again (fitsInEditor): a footnote repeated at each citation would otherwise make gigabytes
// in seconds, and a document the editor then refuses to open.
class EditorRoom {
public:
    // The room of a document that holds nothing yet.
    EditorRoom() = default;
    // The room a settings document leaves to its label sections, which the import replaces.
    static EditorRoom forLabelSectionsOf(const xml::Document& settings);

    bool fits(const DocumentSize& size) const;
    // Takes that much; false, taking nothing, when it does not fit.
    bool take(const DocumentSize& size);

    // The editor's limit in words, for messages.
    static QString limitText();

private:
    explicit EditorRoom(DocumentSize held);

    DocumentSize held_;
};

// A smaller limit than the editor's, for tests; nullopt restores the editor's.
void setEditorLimitForTesting(std::optional<DocumentSize> limit);

} // namespace veldra
