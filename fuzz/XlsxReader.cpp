// The workbook reader: any bytes either open as a workbook or fail with a reason; nothing may
// crash, hang or read out of bounds.
#include "FuzzTargets.h"
#include "harness/FuzzCheck.h"
#include "platform/excel/XlsxWorkbook.h"

void veldra::fuzz::xlsxReader(const QByteArray& input)
{
    veldra::excel::XlsxWorkbook workbook;
    const bool opened = workbook.openBytes(input);
    require(opened || !workbook.error().reason.isEmpty(), "a workbook that does not open says why");
    for (const veldra::excel::Worksheet& sheet : workbook.worksheets()) {
        sheet.cell(1, 1);
        sheet.rowHidden(1);
    }
}
