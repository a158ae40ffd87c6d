#pragma once

#include <libxml/tree.h>

#include <optional>
#include <vector>

namespace veldra::xml::detail {

// Which whitespace-only text is content and which is layout.
//
// A whitespace-only text node is content, and kept on load, when
//  - xml:space="preserve" is in force for it, or
//  - its parent element also holds text that is not whitespace (mixed content: the blanks
//    between words and inline markup belong to the text), or
//  - its parent is an inline element of SPL's narrative text that holds text (content,
//    linkHtml, sub, sup): such an element runs on with the words around it, so a blank at
//    its start or end stands between words:
//    "kg <content><content>or</content> </content>pediatric" reads "kg or pediatric", or
//  - its parent is an element of SPL's narrative text (text, paragraph, content, caption,
//    title, item, td, th, linkHtml, sub, sup, footnote) and the nodes on both sides of it are
//    inline elements (content, linkHtml, sub, sup, br, footnote, footnoteRef,
//    renderMultiMedia): "<content>a</content> <content>b</content>" reads "a b", not "ab".
// Every other whitespace-only text node is layout (indentation between elements) and is
// dropped on load. Names are compared by local name, in any namespace or none.
void stripInsignificantWhitespace(xmlDocPtr doc);
// The text nodes that stripInsignificantWhitespace takes out, in document order.
std::vector<xmlNodePtr> layoutWhitespace(xmlDocPtr doc);

// The same rules one text at a time, for a walk that settles the tree itself: whether text is
// whitespace only, and whether such text inside `parent`, between the siblings `prev` and
// `next` (null at either end), is layout; `parentKeepsAll` tells whether xml:space="preserve"
// is in force for the parent or the parent holds text that is not whitespace.
bool isWhitespaceOnly(const xmlChar* text);
bool isLayoutBetween(xmlNodePtr parent, bool parentKeepsAll, xmlNodePtr prev, xmlNodePtr next);

// The elements whose content is indented (below), in document order.
std::vector<xmlNodePtr> indentedElements(xmlDocPtr doc);

// The rule of indentedElements for a walk down the tree that carries what the ancestors set:
// an element's content is indented when holdsIndentableContent and xml:space="preserve" is not
// in force for it (preservesSpaceWithin).
// Whether `element` has children, none of them text, an entity reference or an inline element.
bool holdsIndentableContent(xmlNodePtr element);
// What an xml:space attribute sets: true for "preserve", false for "default", nothing for any
// other value (which leaves what the parent has), its value read as libxml2 reads it.
std::optional<bool> spaceSetting(xmlAttrPtr space);
// Whether xml:space="preserve" is in force for `element`, as xmlNodeGetSpacePreserve tells,
// given whether it is for the element's parent.
bool preservesSpaceWithin(xmlNodePtr element, bool parentPreserves);

// Indents element content where the rules above make the added whitespace layout, so that
// a reload of the indented text gives back the same tree. Used on a copy made for saving.
void indentLayout(xmlDocPtr doc);

} // namespace veldra::xml::detail
