#pragma once

#include <QString>

class QTreeWidgetItem;

namespace veldra {

namespace xml {
class Node;
}

// Whether a tree node is a hit of a search for `searchText` (the test ignores letter case).
// The find form looks at the whole caption, the replace form at the caption's value part;
// an empty search text hits the leaves whose value part is empty.
bool isSearchHit(const QTreeWidgetItem* node, const QString& searchText, bool replaceForm);

// Replaces every occurrence of `searchText` (letter case exact) inside the text nodes below
// `element`, so that markup inside the element stays as it is. With an empty search text an
// element without child elements gets `replacement` as its whole text. Returns true when a
// text changed.
bool replaceInElementText(const xml::Node& element, const QString& searchText, const QString& replacement);

} // namespace veldra
