#pragma once

#include "editor/document/EditorRoom.h"

#include <optional>

namespace veldra {

namespace xml {
class Node;
}

// What a node adds to a settings document once each of its elements carries an id.
DocumentSize importedSizeOf(const xml::Node& node);

// What `size` costs in memory once the editor holds it: about 1.1 KB an element and 330 bytes
// an attribute at the peak of an open (EditorLimit.h), and each text byte twice (parsed, and
// in the tree's captions).
qint64 editorMemoryOf(const DocumentSize& size);

// The most one import may add to a document, as editorMemoryOf counts it: a listing of 1,000
// products fits, while a cell of a few hundred kilobytes split into a lot per number, which
// the editor's limit still admits, would take gigabytes.
qint64 importMemoryLimit();

// A smaller limit than importMemoryLimit's, for tests; nullopt restores it.
void setImportMemoryLimitForTesting(std::optional<qint64> limit);

} // namespace veldra
