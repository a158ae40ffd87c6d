#pragma once

#include "editor/document/EditorRoom.h"

namespace veldra {

// Ends an import run at once when what it builds does not fit into the settings document:
// deliberately no std::exception, so that the walk's handlers, which log a failed entry and go
// on with the next, let it pass. The element to import stays as it was.
struct ReverseTransformRefused {
    QString reason;
};

// Takes `size` from `room` for what the entry named `entryName` is about to build; throws
// ReverseTransformRefused, naming the entry and the editor's limit, when it does not fit.
void takeImportRoom(EditorRoom& room, const DocumentSize& size, const QString& entryName);

} // namespace veldra
