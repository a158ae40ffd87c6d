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

// What reading the sheets of one workbook has met so far: the cells and rows, counted against
// the limits above, and lines for the log about values read only approximately.
struct WorkbookProgress {
    qint64 cells = 0;
    qint64 rows = 0;
    QStringList warnings;
};

// Reads the cells and hidden rows of one worksheet part into `sheet`, counting them in
// `progress`. False, with `error` naming the part, when the XML does not parse, a cell is
// damaged (a shared string that does not exist, a number that is no number) or the workbook
// holds more cells or rows than the limits above. A cell shown as a date whose number is no
// date of the calendar is read as the number, with a warning.
bool readWorksheet(const QByteArray& xml, const QString& part, const SheetContext& context, Worksheet& sheet,
                   WorkbookProgress& progress, WorkbookError& error);

// A workbook's day number as a date serial of the program (VbVariant.h): the 1900 count
// has a 29 February 1900 that never was, the 1904 count starts 1462 days later.
double serialFromWorkbookDays(double days, bool date1904);

} // namespace veldra::excel
