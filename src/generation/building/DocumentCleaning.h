#pragma once

#include "platform/xml/tree/Cursor.h"

#include <QStringList>

#include <unordered_set>
#include <vector>

namespace veldra {

namespace xml {
class Document;
class Node;
}
class LocationPath;

// Sets `found` when `node` or an element below it carries Word2SPLID, the mark of an SPL
// element that the build made or filled. Returns at once when `found` is already set or
// there is no node. Only elements carry the mark; text, comments, CDATA sections and
// processing instructions are passed over.
void SubtreeHasWord2SPLID(const xml::Node& node, bool& found);

// Removes from the built SPL what no settings element filled. First the copies that cloning
// entries made for settings elements that gave no value (they carry only their clone
// identifier). Then, for every Transform and
// PostProcessing entry with Values: each unfilled node at the entry's Definition/Target
// (with "$FilterValue" taken from the settings), then each unfilled node at the target of
// each Value and the chain of ancestors above it that hold nothing filled. The document
// element is never removed by the entry pass. Throws VbError when an entry lacks an item
// the cleaning needs; a removal that fails is reported and the cleaning goes on.
// `cleanedCopies` are copies below which nothing is left to take out for any Value (see
// CopyCleaning); the Values' targets are not looked for below them.
void CleanTargetDocument(const xml::Document& settings, const xml::Document& transformation, const xml::Document& target,
                         const std::unordered_set<xml::Cursor>& cleanedCopies = {});

// The paths at which the pass above takes unfilled nodes out for a Transform or PostProcessing
// entry: its Definition/Target, then for each Value the path its target stands at
// ("$FilterValue" left in place).
QStringList CleaningPaths(const xml::Node& entry);

// Takes out below `copy`, a copy of a template fragment in the target, what the pass above
// would take out there for the Values whose targets (relative to the copy) are
// `valueTargets`: each unfilled node at each target and the ancestors above it that hold
// nothing filled, up to the copy, which stays. The removed nodes are freed at once.
void CleanBelowCopy(const xml::Node& copy, const std::vector<const LocationPath*>& valueTargets);

} // namespace veldra
