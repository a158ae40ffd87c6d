#pragma once

#include <libxml/tree.h>

#include <string>
#include <vector>

namespace veldra::xml::detail {

// The indentation of Layout::Indented laid over a document's own tree for one save, without
// copying the document: text nodes owned by the overlay are linked in where indentLayout
// would add them to a copy, and taken out again when the overlay ends. Used only where the
// text written is the copy's (see canOverlay).
class IndentOverlay {
public:
    explicit IndentOverlay(xmlDocPtr doc);
    ~IndentOverlay();
    IndentOverlay(const IndentOverlay&) = delete;
    IndentOverlay& operator=(const IndentOverlay&) = delete;

    // Whether the document writes the same text as a copy of it would. A copy (xmlCopyDoc)
    // declares afresh the namespaces that are not declared where they are used and merges
    // adjacent text, so the overlay is for trees whose every element and attribute namespace
    // is the nearest declaration of its prefix, without unescaped text, entity references or
    // a document type declaration.
    static bool canOverlay(xmlDocPtr doc);

private:
    xmlNodePtr layoutNode(xmlDocPtr doc, int depth);

    std::vector<xmlNode> nodes_;           // reserved up front: stable addresses while linked
    std::vector<std::string> indents_;     // "\n" and two blanks per level, by depth
};

} // namespace veldra::xml::detail
