#pragma once

#include "buildform/StructuredList.h"

#include <QPersistentModelIndex>
#include <QString>
#include <QStringList>

class QTreeWidget;
class QTreeWidgetItem;

namespace veldra::buildform {

// A structured-data list shown as a report with column headers: rows of text cells, counted
// from 1, with at most one selected row. Positions outside 1 to count() and cells beyond the
// column count are refused with a VbError, since the widget would quietly store them.
class RowList {
public:
    explicit RowList(QTreeWidget* view) : view_(view) {}

    // Makes the view a report: these headers, no tree decoration, one selected row, cells
    // not editable in place.
    void setUp(const QStringList& headers);

    QTreeWidget* view() const { return view_; }
    int count() const;
    int columnCount() const;
    QString cell(int position, int column) const;
    void setCell(int position, int column, const QString& text);
    QStringList cells(int position) const;
    void setCells(int position, const QStringList& cells);

    // Appends a row with `text` as cell 0 and returns its position.
    int add(const QString& text);
    void remove(int position);
    void clear();

    // 0 when no row is selected. After remove() or clear() no row is selected.
    int selected() const;
    void select(int position);
    void clearSelection();
    void ensureVisible(int position);

    // A handle on the row at `position` that follows it while other rows move, and goes
    // invalid when the row is removed; rowAt() gives its position then, or 0.
    QPersistentModelIndex rowHandle(int position) const;
    int rowAt(const QPersistentModelIndex& handle) const;

    StructuredList rows() const;
    void setRows(const StructuredList& rows);

private:
    QTreeWidgetItem* item(int position) const;
    void requireColumn(int column) const;

    QTreeWidget* view_;
};

} // namespace veldra::buildform
