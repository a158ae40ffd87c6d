#pragma once

#include <libxml/tree.h>

#include <deque>
#include <string>
#include <vector>

namespace veldra::xml::detail {

// The indentation of Layout::Indented laid over a document's own tree for one save, without
// copying the document: text nodes owned by the overlay are linked in where indentLayout
// would add them to a copy, and taken out again when the overlay ends. Used only where the
// text written is the copy's (see layOver).
class IndentOverlay {
public:
    IndentOverlay() = default;
    ~IndentOverlay();
    IndentOverlay(const IndentOverlay&) = delete;
    IndentOverlay& operator=(const IndentOverlay&) = delete;

    // Lays the indentation over `doc` when the document writes the same text as a copy of it
    // would, in one walk of the tree; false, leaving the tree as it was, when it does not. A
    // copy (xmlCopyDoc) declares afresh the namespaces that are not declared where they are
    // used and merges adjacent text, so the overlay is for trees whose every element and
    // attribute namespace is the nearest declaration of its prefix, without unescaped text,
    // entity references or a document type declaration.
    bool layOver(xmlDocPtr doc);

private:
    bool layOverTree(xmlDocPtr doc, xmlNodePtr top, bool indented);
    void indentInside(xmlNodePtr element, int depth);
    xmlNodePtr layoutNode(xmlNodePtr parent, int depth);
    void takeOut();

    // Filled in blocks that are never reallocated: the nodes keep their addresses while linked.
    std::vector<std::vector<xmlNode>> blocks_;
    std::deque<std::string> indents_;  // "\n" and two blanks per level, by depth; never moved
};

} // namespace veldra::xml::detail
