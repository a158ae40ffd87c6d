#include "platform/word/Table.h"

#include "platform/core/VbError.h"
#include "platform/word/WordConstants.h"
#include "platform/word/detail/Model.h"

namespace veldra::word {

namespace {

const detail::CellRec& cellRec(const detail::Model& model, int table, int row, int column)
{
    return model.tables[static_cast<size_t>(table)].rows[static_cast<size_t>(row)][static_cast<size_t>(column)];
}

} // namespace

Cell::Cell(std::shared_ptr<const detail::Model> model, int table, int row, int column)
    : model_(std::move(model)), table_(table), row_(row), column_(column)
{
}

bool Cell::border(int index) const
{
    if (!model_ || index > border::Top || index < border::Right)
        return false;
    // border::Top..Right are -1..-4; the record keeps top, left, bottom, right.
    return cellRec(*model_, table_, row_, column_).borders[static_cast<size_t>(-index - 1)];
}

int Cell::verticalAlignment() const
{
    return model_ ? cellRec(*model_, table_, row_, column_).verticalAlignment : vertical_alignment::Top;
}

int Cell::columnSpan() const
{
    return model_ ? cellRec(*model_, table_, row_, column_).columnSpan : 1;
}

int Cell::rowSpan() const
{
    return model_ ? cellRec(*model_, table_, row_, column_).rowSpan : 1;
}

Range Cell::range() const
{
    if (!model_)
        return Range();
    const auto& rec = cellRec(*model_, table_, row_, column_);
    return Range(model_, rec.start, rec.end);
}

Collection<Table> Cell::tables() const
{
    if (!model_)
        return {};
    std::vector<Table> items;
    for (int index : cellRec(*model_, table_, row_, column_).tables)
        items.emplace_back(model_, index);
    return Collection<Table>(std::move(items));
}

Table::Table(std::shared_ptr<const detail::Model> model, int index) : model_(std::move(model)), index_(index) {}

int Table::rowCount() const
{
    return model_ ? static_cast<int>(model_->tables[static_cast<size_t>(index_)].rows.size()) : 0;
}

int Table::columnCount() const
{
    int most = 0;
    for (int row = 1; row <= rowCount(); ++row)
        most = std::max(most, gridColumns(row));
    return most;
}

int Table::cellCount(int row) const
{
    if (!model_ || row < 1 || row > rowCount())
        return 0;
    return static_cast<int>(model_->tables[static_cast<size_t>(index_)].rows[static_cast<size_t>(row - 1)].size());
}

int Table::firstGridColumn(int row) const
{
    return cellCount(row) == 0 ? 0 : cellRec(*model_, index_, row - 1, 0).gridColumn;
}

int Table::gridColumns(int row) const
{
    if (cellCount(row) == 0)
        return 0;
    const detail::CellRec& last = model_->tables[static_cast<size_t>(index_)].rows[static_cast<size_t>(row - 1)].back();
    return last.gridColumn + last.columnSpan;
}

bool Table::continuesMerge(int row, int column) const
{
    return column >= 1 && column <= cellCount(row) && cellRec(*model_, index_, row - 1, column - 1).mergedAway;
}

int Table::headingRowCount() const
{
    return model_ ? model_->tables[static_cast<size_t>(index_)].headingRows : 0;
}

Cell Table::cell(int row, int column) const
{
    if (model_) {
        const auto& rows = model_->tables[static_cast<size_t>(index_)].rows;
        if (row >= 1 && row <= static_cast<int>(rows.size()) && column >= 1
            && column <= static_cast<int>(rows[static_cast<size_t>(row - 1)].size())
            && !rows[static_cast<size_t>(row - 1)][static_cast<size_t>(column - 1)].mergedAway)
            return Cell(model_, index_, row - 1, column - 1);
    }
    throw VbError(word_error::NoSuchMember, QStringLiteral("Word Document"),
                  QStringLiteral("The requested member of the collection does not exist."));
}

Range Table::range() const
{
    if (!model_)
        return Range();
    const auto& rec = model_->tables[static_cast<size_t>(index_)];
    return Range(model_, rec.start, rec.end);
}

int Table::nestingLevel() const
{
    if (!model_)
        return 0;
    int level = 1;
    for (int parent = model_->tables[static_cast<size_t>(index_)].parent; parent >= 0;
         parent = model_->tables[static_cast<size_t>(parent)].parent)
        ++level;
    return level;
}

} // namespace veldra::word
