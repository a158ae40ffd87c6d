#pragma once

#include <QList>
#include <QStringList>

namespace veldra::buildform {

// The rows of one structured-data list, without widgets: every row holds exactly
// `columnCount` cells, cell 0 being the row's text and cell k its k-th sub-item.
struct StructuredList {
    int columnCount = 0;
    QList<QStringList> rows;

    bool operator==(const StructuredList&) const = default;
};

// Where a move of the selected row at 1-based `position` by `direction` places lands in a
// list of `rowCount` rows: past the end it stops at the last row, before the start at the first.
int moveDestination(int rowCount, int position, int direction);

} // namespace veldra::buildform
