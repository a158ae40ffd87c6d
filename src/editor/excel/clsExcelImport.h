#pragma once

#include "editor/document/EditorRoom.h"
#include "platform/xml/tree/Node.h"

#include <QSet>
#include <QString>

#include <optional>
#include <vector>

namespace veldra {

namespace excel {
class Worksheet;
}
namespace xml {
class Document;
}

// Imports the rows of a workbook into a settings document as the import-definition file
// (SPLR4Definitions/ExcelImportDefinition.xml) says for the element the import starts on:
// each accepted worksheet becomes ExcelFile, WorkSheet and ImportDateTime below the
// entry's Target element, then one record (a copy of the definition document's record
// template) per visible row, filled field by field. The header and records fill the empty
// ones of a new document, and a worksheet imported again replaces the records its earlier
// import brought, leaving every other record where it is.
class clsExcelImport {
public:
    // True once an import wrote anything into the document (also when it failed later).
    bool DocumentChanged = false;

    // One import below `XMLTargetNode`, whose name is `ImportName`: finds the entry, asks
    // for the workbook and for each worksheet, writes the records. A workbook that cannot
    // be read is reported in a warning and writes nothing; a definition file that cannot
    // be read throws VbError. A worksheet is imported whole or not at all: one that fails
    // (one whose records would make the document too large for the editor) leaves nothing,
    // and the import ends with its VbError.
    void LoadFromExcelFile(const QString& ImportName, const xml::Node& XMLTargetNode);

    // The records of one worksheet, appended to `XMLTargetNode` (the Target element) from
    // the entry's DataStartRow down to the first visible row whose single-cell sources
    // are all empty; hidden rows are passed over. Each record comes with its Word2SPLIDs;
    // the elements already there keep theirs, by which a later import of the worksheet
    // knows the records it brought. Throws VbError when they would make the document
    // larger than the editor opens, or take more memory than one import may; the records
    // appended so far stay for the caller to undo (LoadFromExcelFile restores the Target
    // element as it was before the worksheet).
    void LoadFromExcelWorkSheet(const excel::Worksheet& WorkSheet, const xml::Node& XMLExcelImport,
                                const xml::Node& XMLTemplateNode, const xml::Node& XMLTargetNode);

    // Splits the lot numbers of every BulkLot of the document that holds `XMLNode`: at line
    // feeds when there are any, else at blanks. The first part stays; a copy of the BulkLot
    // for each further part is inserted before it (so the order is second, third, ...,
    // first). Stops at the first failing step. Throws VbError, changing nothing, when the
    // copies would make the document larger than the editor opens, or take more memory than
    // one import may: counted before a copy is made.
    void LotDistributionReportPostProcessing(const xml::Node& XMLNode);

    // What the worksheets imported so far added, as the room and the import's memory count it.
    const DocumentSize& added() const { return added_; }

private:
    // One accepted worksheet: its header, its records in their place, the lot split, and
    // the note of what it brought; all or nothing.
    void importWorksheet(const excel::Worksheet& sheet, const QString& importName, const QString& file,
                         const xml::Node& entry, const xml::Node& recordTemplate, const xml::Node& target);

    // Takes `size` from what the import may still add to `document`; the reason, taking
    // nothing, when it would make the document larger than the editor opens or the import
    // larger than one import may be (importMemoryLimit).
    QString take(const DocumentSize& size, const xml::Document& document);

    // What the worksheets of this import may still add to the document.
    std::optional<EditorRoom> room_;
    // What the worksheets imported so far added.
    DocumentSize added_;
    // The records the current worksheet brought, and their ids with those of the lots split
    // from them.
    std::vector<xml::Node> broughtRecords_;
    QSet<QString> brought_;
    // Whether the lot numbers of the whole document were split in this import.
    bool documentSplit_ = false;
};

} // namespace veldra
