#pragma once

#include "platform/xml/tree/Cursor.h"
#include "platform/xml/tree/Document.h"

#include <QStringList>

#include <optional>
#include <unordered_map>
#include <unordered_set>
#include <vector>

namespace veldra {

class LocationPath;
struct PreparedEntry;

// Cleans the copy a cloning entry made for a settings element as soon as the entry has
// written its values, instead of leaving the unfilled parts (a package's unused outer levels,
// an ingredient's empty strength) to the cleaning pass at the end of the build: a label of
// many products then never holds all those parts at once, nor walks them again.
//
// That is done only where it takes out exactly what the cleaning pass would, for entries
// whose copies nothing else writes into or looks below:
// - the entry clones (no DirectCopy, FilterSource or TemplateTarget) and is the only
//   Transform entry for its Source, and no Transform entry has a Source below it, so no other
//   entry fills the copy or places copies into it;
// - its Definition/Target and its Values' targets are plain relative paths (names, "." and
//   conditions on what lies below), so they look at nothing outside the copy;
// - no other entry's cleaning path reaches below the entry's Definition/Target;
// - no two settings elements of the entry share a clone identifier.
// The copy itself stays: whether it is filled is the cleaning pass's question.
class CopyCleaning {
public:
    CopyCleaning(const xml::Document& transformation, const xml::Document& settings);
    ~CopyCleaning();

    // Cleans below `copy`, made for `entry` and placed at `targetRoot` + its Definition/Target
    // path, when the entry qualifies (see above) and the copy stands at that path.
    void cleanAfterValues(const xml::Node& entry, const PreparedEntry& prepared, const xml::Node& copy,
                          const xml::Node& targetRoot);

    // The copies cleaned so far. The cleaning pass finds nothing to take out below them and
    // skips them: nothing writes into them after their entry, and no other entry's cleaning
    // reaches below them. They stay in the target until that pass (which may take a copy out
    // whole), so none of them is freed and taken for another node meanwhile.
    const std::unordered_set<xml::Cursor>& cleaned() const { return cleaned_; }

private:
    struct Plan {
        bool cleans = false;
        std::vector<const LocationPath*> valueTargets;  // the Values' targets below the copy
    };

    struct EntryPaths;

    const Plan& planFor(const xml::Node& entry, const PreparedEntry& prepared);
    bool qualifies(const xml::Node& entry, const PreparedEntry& prepared);
    const std::vector<EntryPaths>& entryPaths();
    bool aloneAtAndBelow(const xml::Node& entry, const QString& sourcePath, const QStringList& top);

    xml::Document transformation_;
    xml::Document settings_;
    std::unordered_map<xml::Cursor, Plan> plans_;
    std::unordered_set<xml::Cursor> cleaned_;
    std::optional<std::vector<EntryPaths>> entryPaths_;  // read when the first copy is cleaned
};

} // namespace veldra
