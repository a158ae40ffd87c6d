// libFuzzer target for the workbook reader: any bytes either open as a workbook or fail
// with a reason; nothing may crash, hang or read out of bounds.
#include "platform/excel/XlsxWorkbook.h"

#include <QByteArray>
#include <cstddef>
#include <cstdint>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const QByteArray bytes = QByteArray::fromRawData(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size));
    veldra::excel::XlsxWorkbook workbook;
    if (workbook.openBytes(bytes)) {
        for (const veldra::excel::Worksheet& sheet : workbook.worksheets()) {
            sheet.cell(1, 1);
            sheet.rowHidden(1);
        }
    }
    return 0;
}
