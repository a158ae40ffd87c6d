#include "buildform/RowList.h"

#include "platform/core/VbError.h"

#include <QHeaderView>
#include <QTreeWidget>

namespace veldra::buildform {

namespace {

const QString source = QStringLiteral("RowList");

} // namespace

void RowList::setUp(const QStringList& headers)
{
    view_->setColumnCount(static_cast<int>(headers.size()));
    view_->setHeaderLabels(headers);
    view_->setRootIsDecorated(false);
    view_->setItemsExpandable(false);
    view_->setUniformRowHeights(true);
    view_->setAllColumnsShowFocus(true);
    view_->setSelectionMode(QAbstractItemView::SingleSelection);
    view_->setSelectionBehavior(QAbstractItemView::SelectRows);
    view_->setEditTriggers(QAbstractItemView::NoEditTriggers);
    view_->header()->setStretchLastSection(false);
}

int RowList::count() const
{
    return view_->topLevelItemCount();
}

int RowList::columnCount() const
{
    return view_->columnCount();
}

QTreeWidgetItem* RowList::item(int position) const
{
    QTreeWidgetItem* row = position >= 1 ? view_->topLevelItem(position - 1) : nullptr;
    if (!row)
        throw VbError(35600, source, QStringLiteral("Index out of bounds"));
    return row;
}

void RowList::requireColumn(int column) const
{
    if (column < 0 || column >= columnCount())
        throw VbError(380, source, QStringLiteral("Invalid property value"));
}

QString RowList::cell(int position, int column) const
{
    requireColumn(column);
    return item(position)->text(column);
}

void RowList::setCell(int position, int column, const QString& text)
{
    requireColumn(column);
    item(position)->setText(column, text);
}

QStringList RowList::cells(int position) const
{
    QTreeWidgetItem* row = item(position);
    QStringList result;
    for (int column = 0; column < columnCount(); ++column)
        result << row->text(column);
    return result;
}

void RowList::setCells(int position, const QStringList& values)
{
    QTreeWidgetItem* row = item(position);
    for (int column = 0; column < columnCount(); ++column)
        row->setText(column, column < values.size() ? values[column] : QString());
}

int RowList::add(const QString& text)
{
    auto* row = new QTreeWidgetItem(view_);
    row->setText(0, text);
    return count();
}

void RowList::remove(int position)
{
    item(position);
    delete view_->takeTopLevelItem(position - 1);
    // The view would select the next row; a second Remove must not hit the neighbour.
    clearSelection();
}

void RowList::clear()
{
    view_->clear();
    clearSelection();
}

int RowList::selected() const
{
    const QList<QTreeWidgetItem*> chosen = view_->selectedItems();
    return chosen.isEmpty() ? 0 : view_->indexOfTopLevelItem(chosen.first()) + 1;
}

void RowList::select(int position)
{
    QTreeWidgetItem* row = item(position);
    view_->setCurrentItem(row);
    row->setSelected(true);
}

void RowList::clearSelection()
{
    view_->clearSelection();
}

void RowList::ensureVisible(int position)
{
    view_->scrollToItem(item(position));
}

QPersistentModelIndex RowList::rowHandle(int position) const
{
    return QPersistentModelIndex(view_->model()->index(position - 1, 0));
}

int RowList::rowAt(const QPersistentModelIndex& handle) const
{
    return handle.isValid() && handle.model() == view_->model() ? handle.row() + 1 : 0;
}

StructuredList RowList::rows() const
{
    StructuredList result{columnCount(), {}};
    for (int position = 1; position <= count(); ++position)
        result.rows << cells(position);
    return result;
}

void RowList::setRows(const StructuredList& rows)
{
    clear();
    for (const QStringList& cellsOfRow : rows.rows)
        setCells(add(QString()), cellsOfRow);
}

} // namespace veldra::buildform
