#pragma once

#include <libxml/tree.h>

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
    // would, which one walk of the tree decides; false, leaving the tree as it was, when it
    // does not. A copy (xmlCopyDoc) declares afresh the namespaces that are not declared where
    // they are used and merges adjacent text, so the overlay is for trees whose every element
    // and attribute namespace is the nearest declaration of its prefix, without unescaped
    // text, entity references or a document type declaration.
    bool layOver(xmlDocPtr doc);

private:
    // An element whose content the overlay indents: its depth below the document and how
    // many layout nodes it gets (one before each child and one before its end tag).
    struct Indented {
        xmlNodePtr element;
        int depth;
        size_t layoutNodes;
    };

    static bool survey(xmlDocPtr doc, xmlNodePtr top, std::vector<Indented>* indented);
    void lay(const std::vector<Indented>& indented);
    xmlNodePtr layoutNode(xmlDocPtr doc, int depth);

    std::vector<xmlNode> nodes_;           // reserved up front: stable addresses while linked
    std::vector<std::string> indents_;     // "\n" and two blanks per level, by depth
};

} // namespace veldra::xml::detail
