#pragma once

#include "editor/document/EditorRoom.h"

namespace veldra {

namespace xml {
class Node;
}

// What a node adds to a settings document once each of its elements carries an id.
DocumentSize importedSizeOf(const xml::Node& node);

} // namespace veldra
