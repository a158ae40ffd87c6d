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

// The editor tree holds no reference to the document: a node is tied to its element by
// its caption, which starts with the element's name, and by its key, the element's
// Word2SPLID. These functions turn nodes into queries on the document and back.

// The mode in which tree paths carry Word2SPLID predicates.
inline const QString SettingsMode = QStringLiteral("SPLR4");

// The relative query of the element behind `node`: one step per tree level from the root
// down, each the element name of the node's caption. In mode "SPLR4" (exact) every step
// below the root carries [@Word2SPLID='key'] (the part of the key after its last "_"),
// so the path names exactly one element; the key is compared as one text, whatever quotes it
// holds. Any other mode gives the bare element path. Every blank of the names is removed
// ("General Data" is GeneralData). Throws VbError, its source
// ending in " - BuildXPathFromTreeView", when there is no node.
QString BuildXPathFromTreeView(const QTreeWidgetItem* node, const QString& mode);

// Prepends the names of `node` and its ancestors below the document node to `path`
// ("SPLR4/GeneralData/DocumentID"); nothing for the document node or a detached node.
void BuildDOMNodePath(const xml::Node& node, QString& path);
// The element path of a node, as BuildDOMNodePath gives it from an empty start.
QString elementPath(const xml::Node& node);

// The caption before its first ":" (the whole caption without one), every blank removed;
// unlike GetNamePart it does not cut at "[".
QString GetNodeNameFromCaption(const QTreeWidgetItem* node);
// The caption after its first ":", trimmed (attribute part included); empty without ":".
QString GetValueFromCaption(const QTreeWidgetItem* node);

// The text of the element behind `node` in `doc`. Throws VbError, its source ending in
// " - GetXMLValueFromTreeView", when there is no node or no such element.
QString GetXMLValueFromTreeView(const QTreeWidgetItem* node, const xml::Document& doc);

// The ConstraintExample of the element behind `node` in the editor's document; empty
// when the element or the attribute is missing.
QString GetNodeExample(const frmXMLEditor& editor, const QTreeWidgetItem* node);

// The first element of `doc` that the tree path of `node` in mode "SPLR4" names (null when
// none). Shared by the operations that act on "the element behind the node".
xml::Node elementBehind(const QTreeWidgetItem* node, const xml::Document& doc);

// The node that shows `element`, found by its key; nullptr when the tree shows none.
QTreeWidgetItem* nodeOfElement(const EditorTreeView& tree, const xml::Node& element);

// After an import rebuilt the tree: the node of the element the import was started on (or
// that took its place) is the selected node again, opened to show what came in below it, so
// that the next command acts on it and not on the document's root.
void selectImportedElement(EditorTreeView& tree, const xml::Node& element);

} // namespace veldra
