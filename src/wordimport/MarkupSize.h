#pragma once

#include "editor/document/EditorRoom.h"

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

// The room a settings document leaves to its label sections, which the Word import replaces.
EditorRoom roomForLabelSectionsOf(const xml::Document& settings);

} // namespace veldra
