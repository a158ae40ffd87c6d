#pragma once

#include <QString>

namespace veldra {

namespace xml {
class Document;
class Node;
}

class frmXMLEditor;

// The settings document: an XML document whose document element is SPLR4. Every element
// carries Word2SPLID, a generated id that is also its tree-node key; values are element
// texts; the definition attributes are copies of those of the definition document.

// Opens the file as a settings document in a new editor window; an empty name makes a new
// document, a copy of the definition document with fresh ids.
void OpenSPLR4Document(const QString& FileName);

// Puts a fresh generated id into the "GUID" elements of the editor's document, scoped by
// the selected element: for the document element every "GUID" element; otherwise the
// "GUID" children of every element named like the selected one, and the selected element
// itself when it is a "GUID" element. Then rebuilds the tree keeping colours. Returns true
// when a value was renewed (the caller decides whether that marks the document unsaved).
bool CreateGUIDs(frmXMLEditor& editor);

// As CreateGUIDs, but only within `element`: its "GUID" children and itself. Used for a
// copy, whose originals keep their ids. Does not rebuild the tree.
void CreateGUIDsOfElement(const xml::Node& element);

// Gives `node` and every element below it a new Word2SPLID, mixed content included.
void AssignWord2SPLIDs(const xml::Node& node);

// The text of SPLR4/GeneralData/DocumentID of the editor's document. A failure (no such
// element) is shown in a critical message box and gives the empty text.
QString GetDocumentID(const frmXMLEditor& editor);

} // namespace veldra
