#pragma once

#include "platform/xml/tree/Node.h"

#include <QString>

namespace veldra {

class BuildIndex;
struct PreparedValue;

namespace xml {
class Document;
}

// Where the values of one Transform entry go for one settings element.
struct EntryTarget {
    QString entryName;   // the entry's Name, for log lines
    QString targetPath;  // the entry's Definition/Target
    // For an entry that clones: the copy of the template fragment made (or found) for the
    // element, the one target element marked with its "name Word2SPLID" clone identifier.
    // Null for an entry that does not clone.
    xml::Node copy;
};

// Applies one Value of a Transform entry: finds its target below the entry's target (or below
// the element's copy, which carries the element's clone identifier) and its source below the
// settings element, warns when either is missing,
// and otherwise writes the value and marks the target as filled (through `index`). A "File"
// source also has its file copied beside `outFile`. Throws VbError for a failure of the
// element's transformation.
// `prepared` holds the value's items read before (BuildIndex::prepared), or is null.
void applyTransformValue(const xml::Node& value, const PreparedValue* prepared, const xml::Node& settingsElement,
                         const EntryTarget& entry, const xml::Document& target, BuildIndex& index, const QString& outFile);

} // namespace veldra
