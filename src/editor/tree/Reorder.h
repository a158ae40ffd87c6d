#pragma once

namespace veldra {

class EditorTreeView;
class frmXMLEditor;

// Reverses the order of the selected element and its like-named siblings (under every
// element on the same element path): they end up after their parent's other children, in
// reverse order. The elements keep their ids, so the same node stays selected, and no
// generated value changes. Marks the document unsaved.
void ReverseSortOrder(frmXMLEditor& editor, EditorTreeView& tree);

} // namespace veldra
