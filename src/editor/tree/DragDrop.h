#pragma once

#include <QString>

class QTreeWidgetItem;

namespace veldra {

namespace xml {
class Document;
}

// Copies the data of the element at `sourcePath` in `sourceDocument` onto the element at
// `targetPath` in `targetDocument` (the two documents may be one):
// - two values: the target takes the source's value;
// - two groups of one name: the target is replaced by a copy of the source with new ids;
// - two groups of different names: like-named value children take the source's values;
// - an "SPLFile" target of the source's name: replaced by a copy with new ids;
// - otherwise the target takes the source's text as its value.
// A value never replaces elements below the target: such a drop is refused with a warning
// and a child holding elements of its own is left alone in a group copy.
// Returns true when the target tree must be rebuilt; for a plain value copy the caption of
// `targetTreeNode` is rewritten instead.
bool CopyNodeData(const xml::Document& sourceDocument, const xml::Document& targetDocument,
                  const QString& sourcePath, const QString& targetPath, QTreeWidgetItem* targetTreeNode);

} // namespace veldra
