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

// Reads the cells and hidden rows of one worksheet part into `sheet`. False, with `error`
// naming the part, when the XML does not parse or a cell is damaged (a shared string that
// does not exist, a number that is no number).
bool readWorksheet(const QByteArray& xml, const QString& part, const SheetContext& context, Worksheet& sheet,
                   WorkbookError& error);

// A workbook's day number as a date serial of the program (VbVariant.h): the 1900 count
// has a 29 February 1900 that never was, the 1904 count starts 1462 days later.
double serialFromWorkbookDays(double days, bool date1904);

} // namespace veldra::excel
