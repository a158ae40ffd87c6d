#pragma once

#include "platform/excel/WorkbookError.h"
#include "platform/excel/Worksheet.h"

#include <QByteArray>
#include <QString>
#include <QStringList>
#include <vector>

namespace veldra::excel {

// A workbook read from an .xlsx or .xlsm file (the same package; macros are never run or
// read): its worksheets in the workbook's order, each with its cell values and hidden
// rows. Chart sheets are not worksheets and are left out; hidden worksheets are included.
//
// Opening reads and checks the whole workbook, so a bad file is found at once: open()
// returns false and error() names the part at fault and the reason (a file that is not a
// package, a password-protected or legacy .xls file, a missing workbook part, a part
// that is not XML, too large or too many parts). Nothing is extracted to disk.
//
//     XlsxWorkbook book;
//     if (!book.open(path)) report(book.error().text());
//     for (const Worksheet& sheet : book.worksheets()) ... sheet.cell("B7") ...
class XlsxWorkbook {
public:
    bool open(const QString& path);
    bool openBytes(const QByteArray& bytes);
    const WorkbookError& error() const { return error_; }

    const std::vector<Worksheet>& worksheets() const { return sheets_; }
    QStringList sheetNames() const;
    // Lines for the log's "Warning" category about values read only approximately (cells
    // shown as dates whose numbers are no dates), one per worksheet.
    const QStringList& warnings() const { return warnings_; }

private:
    bool fail(WorkbookError error);

    std::vector<Worksheet> sheets_;
    QStringList warnings_;
    WorkbookError error_;
};

} // namespace veldra::excel
