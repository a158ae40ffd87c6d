#pragma once

#include <QString>

namespace veldra {

class EditorRoom;

namespace xml {
class Document;
class Node;
}

// The reverse transform: values of an existing SPL file read back into a subtree of the
// definition document, as the Transform entries of TransformSPLR4.xml whose Definition has
// AllowReverseTransform "1" say. A Value whose Source has DirectCopy "1" copies the SPL
// elements at its Target, with everything below them, into the element at its Source (as the
// build copies them the other way), so SPL markup such as a section's text comes back whole.
// An entry whose element lies inside the element of another entry, whose Target continues that
// entry's Target and which has no user selection, is read within each group of the enclosing
// entry (the business operations of each establishment, the ingredients of each kit part).
// How a Value reads its text or attribute, and what Join, Prefix and PostFix on its Target do:
// ReadSPLValue.h.
// Progress and failures go to the shared log.
//
// Everything the walk builds (each filled copy, each piece of SPL markup it copies, each text
// it writes) is taken from `room` before it is built; what does not fit ends the run with
// ReverseTransformRefused (ImportRoom.h). The walk counts every copy it makes, also those that
// a later copy takes up or the pruning removes: it may refuse somewhat before the editor's
// limit, and never builds much more than the editor opens.

// The value picked in the pick-one dialog during an import run; "" while none is picked.
extern QString UserSelection;

// Ends an import run at once when the user cancels the pick-one dialog (or closes it, or
// takes an empty text): without a pick the entries that need one would find nothing, and the
// element to import would be emptied. No std::exception, for the same reason as
// ReverseTransformRefused.
struct ReverseTransformCancelled {};

// The Name of the entry that imports the element at `path`, "" when none does.
QString reverseEntryName(const QString& path, const xml::Document& transformDOM);

// Walks the subtree of `node` (an element of the definition document) after its children:
// an empty child is handled by the entry for its path, a child with content is walked, and
// then `node` itself. `node` may be moved by the entry of its own path: it then refers to the
// filled copy made for the last SPL group. A failure is logged and ends this level's walk.
void ReverseTransformRecurse(xml::Node& node, const xml::Document& definitionDOM, const xml::Document& splDOM,
                             const xml::Document& transformDOM, EditorRoom& room);

// Offers the texts that the entry's Definition/ReverseTransformUserSelect selects in the SPL
// file in the pick-one dialog, when the entry's target exists there and nothing is picked yet.
// Throws ReverseTransformCancelled when the dialog closes without a pick.
void ReverseTransformUserSelect(const xml::Node& entry, const xml::Document& splDOM);

// Applies one entry: for each SPL group it selects, a fresh copy of the entry's definition
// template, filled with the group's values and with the groups of the entries nested in it,
// is put before `element` in `parent`, in the order of the groups in the SPL file, and
// `element` itself is removed; `element` then refers to the last copy and `parent` to its
// parent. Without groups nothing changes. The picked value stands in the entry's query as one
// text (xml::withLiteral); an entry that needs a pick reads no groups without one. A failure
// is logged and ends the entry.
void ReverseTransformEntry(const xml::Node& entry, const xml::Document& definitionDOM, const xml::Document& splDOM,
                           xml::Node& element, xml::Node& parent, EditorRoom& room);

// Removes, depth first, every child whose text is empty (an element holding only attributes
// too); `node` itself stays, and so does markup copied from the SPL file, with all its parts.
void RemoveEmptyNodes(const xml::Node& node);

} // namespace veldra
