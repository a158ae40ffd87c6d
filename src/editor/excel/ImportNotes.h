#pragma once

#include <QList>
#include <QString>

namespace veldra {

namespace xml {
class NodeList;
}

// What keeping the worksheets' notes true to their document changed.
struct ImportNotesRepair {
    // Ids replaced on elements, as a renewal by the tree fill counts them.
    int renewedIds = 0;
    // Per worksheet (its name): how many of the ids it noted more than one element held.
    struct Untold {
        QString sheet;
        int ids = 0;
    };
    QList<Untold> untold;
};

// A worksheet's header notes the ids of the records its import brought (ImportedRecords), and
// a later import of the worksheet replaces exactly the elements holding them. So before the
// tree fill renews repeated ids and ids holding "_" (the first holder of an id keeping it),
// the ids the notes list are settled here, in the documents below `topLevel`:
// - an id one element holds that holds "_" is renewed, and the notes follow it;
// - an id two or more elements hold (a record copied in a text editor) cannot tell which one
//   the worksheet brought: each of them gets a new id, so none is replaced, and the notes drop
//   the id, so the worksheet's next import brings its record anew beside them.
// Any other id is left to the tree fill.
ImportNotesRepair keepImportNotesTrue(const xml::NodeList& topLevel);

// Says in the log, for each worksheet with ids dropped from its note, what its next import
// does; `file` (empty for a document not yet saved) names the document.
void reportUntoldCopies(const QString& file, const ImportNotesRepair& repair);

} // namespace veldra
