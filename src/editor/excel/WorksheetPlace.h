#pragma once

#include "platform/xml/tree/Document.h"

#include <QSet>
#include <QString>
#include <optional>
#include <vector>

namespace veldra {

// Where one worksheet's import goes below the Target element. An import writes a header
// (ExcelFile, WorkSheet, ImportDateTime) and its records after it, up to the next header;
// the header's WorkSheet notes the ids of the records the worksheet brought (ImportedRecords).
// A worksheet imported again takes the place of its earlier import: the header is brought up
// to date and the records it brought give way to the new ones, which take the place of the
// first of them. Records the worksheet did not bring (clones, added ones, ones moved there)
// stay where they are. Otherwise the empty header a new document holds is filled, and only
// when there is none a new header is appended. So importing the same worksheet twice leaves
// what importing it once does.
class WorksheetPlace {
public:
    // Writes the worksheet's header below `target` and notes where its records go.
    // `recordTemplate` is the entry's record template (null when there is none).
    static WorksheetPlace prepare(const xml::Node& target, const QString& file, const QString& sheetName,
                                  const xml::Node& recordTemplate);

    // Moves the records the worksheet appended at the end of `target` to their place, where
    // they replace the records the earlier import of the worksheet brought; when it added
    // any in the target's first import, they also take the place of the untouched copies of
    // the record template (as a new document holds one). Returns the records it added.
    std::vector<xml::Node> placeRecords() const;

    // Notes in the header that the worksheet brought the records whose ids are `ids`.
    void noteRecords(const QSet<QString>& ids) const;

    // Gives the header back the texts it had before `prepare` (a header it appended goes with
    // the target's children, which the caller restores).
    void restoreHeader() const;

private:
    // What a reused header held before the worksheet changed it.
    struct HeaderState {
        QString file;
        std::optional<QString> fileType;
        QString sheet;
        QString time;
        std::optional<QString> records;
    };

    // The records the earlier import of the worksheet brought that the new ones replace.
    std::vector<xml::Node> earlierRecords(const std::vector<xml::Node>& added) const;

    xml::Node target_;
    QString recordName_;
    xml::Node file_;
    xml::Node sheet_;
    xml::Node time_;
    std::optional<HeaderState> before_;
    xml::Node end_;                        // the first node after the header's records; null: the end
    xml::Node lastBefore_;                 // the target's last child before the worksheet's records
    std::vector<xml::Node> noted_;         // the records the header notes as the worksheet's
    std::vector<xml::Node> unnoted_;       // the records after a header that notes none (older documents)
    std::vector<xml::Node> emptyRecords_;
};

} // namespace veldra
