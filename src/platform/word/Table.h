#pragma once

#include "platform/word/Range.h"

namespace veldra::word {

class Cell {
public:
    Cell() = default;
    Cell(std::shared_ptr<const detail::Model> model, int table, int row, int column);

    bool isNull() const { return !model_; }
    int rowIndex() const { return row_ + 1; }
    int columnIndex() const { return column_ + 1; }
    // Whether the edge (border::Top, Left, Bottom, Right) shows a line: the cell's own
    // borders, else the table's (outer edges or inside lines), else its table style's.
    bool border(int index) const;
    // vertical_alignment::…
    int verticalAlignment() const;
    // The grid columns the cell covers (merged across) and the rows it covers (merged down).
    int columnSpan() const;
    int rowSpan() const;
    Range range() const;
    // Tables nested in this cell.
    Collection<Table> tables() const;

private:
    std::shared_ptr<const detail::Model> model_;
    int table_ = -1;
    int row_ = 0;
    int column_ = 0;
};

class Table {
public:
    Table() = default;
    Table(std::shared_ptr<const detail::Model> model, int index);

    bool isNull() const { return !model_; }
    int rowCount() const;
    // The columns of the table's grid: the most any row's cells cover.
    int columnCount() const;
    // The cells of the row (from 1), the positions a vertically merged cell covers included.
    int cellCount(int row) const;
    // The grid column (from 0) the row's first cell stands in: a row may leave columns free
    // before it.
    int firstGridColumn(int row) const;
    // The grid columns the row's cells cover, from the grid's first column.
    int gridColumns(int row) const;
    // Whether the column-th cell position of the row is covered by a cell merged down from above.
    bool continuesMerge(int row, int column) const;
    // The rows at the top marked to repeat as the table's heading on each page.
    int headingRowCount() const;
    // The column-th cell of the row, both from 1. Throws VbError word_error::NoSuchMember
    // where the row has no such cell: beyond its end, or where a vertically merged cell
    // covers the position.
    Cell cell(int row, int column) const;
    Range range() const;
    // 1 for a table in the body, 2 for one inside a cell of such a table, …
    int nestingLevel() const;

private:
    std::shared_ptr<const detail::Model> model_;
    int index_ = -1;
};

} // namespace veldra::word
