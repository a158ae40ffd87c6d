#include "platform/excel/Worksheet.h"

#include "platform/core/VbError.h"

namespace veldra::excel {

CellValue Worksheet::cell(const QString& cellName) const
{
    const std::optional<CellPlace> place = parseCellName(cellName);
    if (!place)
        throw VbError(err::General, QStringLiteral("Worksheet"),
                      QStringLiteral("'%1' is not a cell name (a column of letters and a row number, such as B7).")
                          .arg(cellName));
    return cell(place->row, place->column);
}

CellValue Worksheet::cell(int row, int column) const
{
    const auto found = cells_.find(key(row, column));
    return found == cells_.end() ? CellValue{} : found->second;
}

bool Worksheet::rowHidden(int row) const
{
    if (hiddenRows_.count(row))
        return true;
    return rowsHiddenByDefault_ && !shownRows_.count(row);
}

void Worksheet::setCell(CellPlace place, CellValue value)
{
    cells_[key(place.row, place.column)] = std::move(value);
}

void Worksheet::setRowHidden(int row, bool hidden)
{
    if (hidden)
        hiddenRows_.insert(row);
    else
        shownRows_.insert(row);
}

} // namespace veldra::excel
