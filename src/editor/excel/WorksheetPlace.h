#pragma once

#include "platform/xml/tree/Document.h"

#include <QString>
#include <vector>

namespace veldra {

// Where one worksheet's import goes below the Target element. An import writes a header
// (ExcelFile, WorkSheet, ImportDateTime) and its records after it, up to the next header.
// A worksheet imported again takes the place of its earlier import: the header is brought up
// to date and the earlier records go. Otherwise the empty header a new document holds is
// filled, and only when there is none a new header is appended. So importing the same
// worksheet twice leaves what importing it once does.
class WorksheetPlace {
public:
    // Writes the worksheet's header below `target` and notes where its records go.
    // `recordTemplate` is the entry's record template (null when there is none).
    static WorksheetPlace prepare(const xml::Node& target, const QString& file, const QString& sheetName,
                                  const xml::Node& recordTemplate);

    // Moves the records the worksheet appended at the end of `target` to its place; when it
    // added any, they take the place of the untouched copies of the record template (as a
    // new document holds one).
    void placeRecords() const;

private:
    xml::Node target_;
    QString recordName_;
    xml::Node before_;  // the node the records go before; null: at the end
    int recordsBefore_ = 0;
    std::vector<xml::Node> emptyRecords_;
};

} // namespace veldra
