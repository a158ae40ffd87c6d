#pragma once

#include <QString>

class QTreeWidgetItem;

namespace veldra {

namespace xml {
class Document;
class Node;
}

class EditorTreeView;
class frmXMLEditor;

// The ways a settings document may grow and shrink, as the definition document and the
// transformation file allow, and the editor's structural commands that apply them.

// Add Information: offers the child kinds the selected element may still get in the add
// dialog. For an element of data type "SPLFile" it copies nodes of a chosen SPL file into
// the selected element instead. Failures are shown in a critical message box.
void AddSPLR4Node(frmXMLEditor& editor, EditorTreeView& tree);

// Appends to `element` copies of the nodes that its ConstraintXPath selects in an SPL file
// the user picks; a cancelled file dialog changes nothing. Errors are passed on with
// " - AddSPLFile" appended to their source.
void AddSPLFile(frmXMLEditor& editor, EditorTreeView& tree, const xml::Node& element);

// The add dialog's OK: inserts a copy of the chosen child kind's definition (default content,
// new ids) into the element at `path`, at its place in the definition's order. `chosen` is
// the dialog's entry; it receives the entry without "[+]" and surrounding blanks. False
// (after a warning) when nothing was chosen. Errors, among them a choice that is no child
// kind of the target, are passed on with " - AddNodeToTreeViewXML" appended.
bool AddNodeToTreeViewXML(frmXMLEditor& editor, QTreeWidgetItem* targetNode, const QString& targetName,
                          QString& chosen, const QString& path, const xml::Document& doc);

// Clone: after a question, puts a copy of the selected element, with new ids and new
// "GUID" values, right before it and selects the copy.
void CloneSPLR4Node(frmXMLEditor& editor, EditorTreeView& tree);

// Remove: after a question, removes the selected element. The document element stays.
void RemoveSPLR4Node(frmXMLEditor& editor, EditorTreeView& tree);

// True when the transformation file's last Transform or PostProcessing entry for the node's
// element path allows cloning (AllowClone "1" on Definition/Target). False when the file is
// missing or knows no entry for the path.
bool CanCloneNode(const QTreeWidgetItem* node);

// True when a Transform entry for the node's element path has AllowReverseTransform "1".
bool CanReverseTransformNode(const QTreeWidgetItem* node);

// True for an element whose ConstraintDataType is "SPLFile"; false for a null element.
bool IsSPLFileNode(const xml::Node& element);

// False for a null element, otherwise true. A ConstraintDenyRemove that is not a number is
// an error (VbError), whatever its number does not matter.
bool CanRemoveNode(const xml::Node& element);

} // namespace veldra
