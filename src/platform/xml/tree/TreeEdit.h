#pragma once

#include <libxml/tree.h>

namespace veldra::xml::detail {

bool isDocumentNode(xmlNodePtr node);
// The document a node is in; the document itself for the document node.
xmlDocPtr documentOf(xmlNodePtr node);

// Remembers a node without a parent, so it is freed with its document.
void keepDetached(xmlNodePtr root);
void forgetDetached(xmlNodePtr root);

// Links a parentless child into parent's child list before `before` (null: at the end), by
// hand: libxml2's xmlAddChild and friends merge adjacent text nodes and free the inserted
// one, which would leave its handles dangling.
void linkChild(xmlNodePtr parent, xmlNodePtr child, xmlNodePtr before);

// Inserts child into parent before `before` (null: at the end). A child that is elsewhere
// in a tree is taken out first; a child of another document moves into parent's document,
// its namespaces reconciled so every prefix stays declared, its handles moving with it.
// Throws VbError for an insertion the DOM forbids.
void insertChild(xmlNodePtr parent, xmlNodePtr child, xmlNodePtr before);

// Takes a child out of the tree. It stays valid, with its namespaces still resolvable,
// until its document is freed.
void detachChild(xmlNodePtr child);

// Takes a node out of the tree (an attribute out of its element) and frees it at once when
// no handle refers to anything in it; otherwise keeps it as a detached node.
void retire(xmlNodePtr node);

// Replaces all children of element by `onlyChild` (nothing when null).
void replaceChildren(xmlNodePtr element, xmlNodePtr onlyChild);

// The document-level declaration of (href, prefix) of `like`, kept in the document's oldNs list
// as libxml2 keeps namespaces that no element declares; made when the document has none.
xmlNsPtr documentLevelNamespace(xmlNodePtr node, xmlNsPtr like);

// A copy of source (of any document) that belongs to target and has no parent.
xmlNodePtr copyNode(xmlNodePtr source, xmlDocPtr target, bool deep);

} // namespace veldra::xml::detail
