#include "wordimport/TableCells.h"

#include "platform/word/Table.h"

#include <algorithm>

namespace veldra {

qint64 cellsOf(const word::Table& table)
{
    const qint64 columns = table.columnCount();
    qint64 cells = 0;
    for (int row = 1; row <= table.rowCount(); ++row)
        cells += table.firstGridColumn(row) + table.cellCount(row) + std::max<qint64>(0, columns - table.gridColumns(row));
    return cells;
}

} // namespace veldra
