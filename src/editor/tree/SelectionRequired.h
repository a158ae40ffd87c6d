#pragma once

namespace veldra {

class EditorTreeView;

// The text every command that works on the selected element shows when nothing is selected.
inline constexpr const char* kSelectElementFirst = "Select an element in the tree first.";

// True when the tree has a selected node; otherwise says kSelectElementFirst and returns false,
// so a command that needs a selection ends in plain words rather than with a missing-node error.
bool selectionOrSay(const EditorTreeView& tree);

} // namespace veldra
