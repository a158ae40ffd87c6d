#pragma once

#include "platform/excel/Worksheet.h"
#include "platform/excel/WorkbookError.h"

#include <QByteArray>
#include <QStringList>
#include <vector>

namespace veldra::excel {

// What the cells of every worksheet refer to.
struct SheetContext {
    QStringList sharedStrings;
    std::vector<bool> dateStyles;  // per cell format: shows a date
    bool date1904 = false;         // the workbook counts days from 1904
};

// What the sheets of one workbook may make the reader build, together: a cell or a row takes
// some 80 bytes of memory and as little as a dozen of a part. Far above real workbooks (100,000
// rows of twenty cells), far below what a small, well-compressed file could make.
inline constexpr qint64 MaxCellsPerWorkbook = 2'000'000;
inline constexpr qint64 MaxRowsPerWorkbook = 2'000'000;

// The cells and rows read so far from the sheets of one workbook.
struct WorkbookTally {
    qint64 cells = 0;
    qint64 rows = 0;
};

// Reads the cells and hidden rows of one worksheet part into `sheet`, counting them in
// `tally`. False, with `error` naming the part, when the XML does not parse, a cell is
// damaged (a shared string that does not exist, a number that is no number) or the workbook
// holds more cells or rows than the limits above.
bool readWorksheet(const QByteArray& xml, const QString& part, const SheetContext& context, Worksheet& sheet,
                   WorkbookTally& tally, WorkbookError& error);

// A workbook's day number as a date serial of the program (VbVariant.h): the 1900 count
// has a 29 February 1900 that never was, the 1904 count starts 1462 days later.
double serialFromWorkbookDays(double days, bool date1904);

} // namespace veldra::excel
