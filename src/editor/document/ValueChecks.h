#pragma once

#include <QString>

class QTreeWidgetItem;

namespace veldra {

namespace xml {
class Document;
class Node;
}

class frmXMLEditor;

// Checks `value` against the definition attributes of `element`; `name` is the element
// name the messages show (as words). In this order, stopping at the first that fails:
// a value outside ConstraintValues is only pointed out (information) and accepted at once;
// a value shorter than ConstraintLengthMin, longer than ConstraintLengthMax or, for
// "Numeric", not numeric is refused with a warning that ends with the element's example.
// Errors (a length that is not a number, a null element) are passed on unchanged.
bool ValidateNodeValue(const xml::Node& element, const QString& name, const QString& value);

// The same checks without asking anything: the warning that refuses `value`, or "" when it
// may be written (a value outside ConstraintValues included, as above).
QString valueRefusal(const xml::Node& element, const QString& name, const QString& value);

// Writes one value: into the element at `path` for a leaf node, or into its child `name`
// for a group node. A value chosen from a coded list ("C42998 {TABLET}") is stored as its
// code; `value` receives what was stored. The node's caption (or that of its child `name`)
// shows the new value. False when the check refused the value; nothing is written then.
// Errors are passed on with " - SetValueToTreeViewXML" appended to their source.
bool SetValueToTreeViewXML(QTreeWidgetItem* node, const QString& name, QString& value, const QString& path,
                           const xml::Document& doc);

// Opens the field dialog for the editor's selected node: one row for a value element,
// one row per value child for a group; nothing for the root, for a group without value
// children, or when the node's element is gone. Failures are shown in a message box.
void EditNodeData(frmXMLEditor& editor);

// Fills every value element of the document with a value that meets its definition: the
// first list entry (its code), a run of "1" for "Numeric" ("123" without lengths), a new
// id for "GUID", and parent_name_parentid for plain text. File, folder and SPL-file values
// stay. Existing values are overwritten. The first failure ends the fill (VbError).
void FillTestValues(const xml::Document& doc);

// The ConstraintDataType of the element behind the editor's selected node; empty when
// the element or the attribute is missing.
QString GetNodeDataType(const frmXMLEditor& editor);

} // namespace veldra
