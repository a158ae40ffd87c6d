#pragma once

#include "platform/core/VbVariant.h"
#include "platform/excel/CellName.h"

#include <QString>
#include <unordered_map>
#include <unordered_set>

namespace veldra::excel {

// What a cell holds: empty, a number, a text, a boolean, a date (a cell whose number
// format shows a date) or an error ("#DIV/0!"). A formula's cell holds its last computed
// value as the workbook stored it.
using CellValue = vb::Variant;

// One worksheet of a workbook, read completely: its name, its cell values and which rows
// are hidden.
class Worksheet {
public:
    explicit Worksheet(QString name = {}) : name_(std::move(name)) {}

    const QString& name() const { return name_; }

    // The value of the named cell ("B7"); Empty when the cell holds nothing. Throws
    // VbError when the text is not a cell name.
    CellValue cell(const QString& cellName) const;
    CellValue cell(int row, int column) const;
    // Whether the row is hidden (also when every row is hidden unless shown).
    bool rowHidden(int row) const;

    // For the reader.
    void setCell(CellPlace place, CellValue value);
    void setRowHidden(int row, bool hidden);
    void setRowsHiddenByDefault(bool hidden) { rowsHiddenByDefault_ = hidden; }

private:
    static quint64 key(int row, int column) { return (quint64(row) << 16) | quint64(column); }

    QString name_;
    std::unordered_map<quint64, CellValue> cells_;
    std::unordered_set<int> hiddenRows_;
    std::unordered_set<int> shownRows_;
    bool rowsHiddenByDefault_ = false;
};

} // namespace veldra::excel
