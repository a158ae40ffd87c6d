#pragma once

#include <QString>

namespace veldra {

// What placing a link's text in a paragraph's markup found.
struct LinkPlacement {
    int linked = 0; // occurrences that became the link
    int raised = 0; // occurrences left as text in a superscript or subscript, which holds text only
};

// Replaces every occurrence of `from` (escaped text, no tags) in `markup` (a paragraph's SPL
// markup) by `to`, where the occurrence stands in text: not inside a tag or an entity
// reference, not inside a link already made, not in a superscript or subscript, and not
// continuing a word or number (where `from` begins or ends with a letter or digit, the text
// read beside it there is none; tags of look or link between are read through).
LinkPlacement placeLink(QString& markup, const QString& from, const QString& to);

} // namespace veldra
