#pragma once

#include "buildform/BuildFormLayout.h"
#include "buildform/RowList.h"
#include "buildform/frmBuildSPL.h"

#include <QCheckBox>
#include <QComboBox>
#include <QCoreApplication>
#include <QLineEdit>
#include <QPushButton>
#include <QTreeWidget>

namespace veldra::buildform::test {

// Every text box and combo holds its own name, check boxes hold 1, every list one row whose
// cells name the list and the cell.
inline void fillWithNames(frmBuildSPL& form)
{
    for (const ControlEntry& entry : form.registeredControls()) {
        switch (entry.kind) {
        case ControlKind::TextBox: form.textBox(entry.name)->setText(entry.name); break;
        case ControlKind::ComboBox: form.comboBox(entry.name)->setCurrentText(entry.name); break;
        case ControlKind::CheckBox: form.checkBox(entry.name)->setChecked(true); break;
        case ControlKind::ListView: {
            RowList& list = form.list(entry.name);
            const int row = list.add(QString());
            for (int cell = 0; cell < list.columnCount(); ++cell)
                list.setCell(row, cell, QStringLiteral("%1.%2").arg(entry.name).arg(cell));
            break;
        }
        }
    }
}

inline QStringList addRows(RowList& list, int count)
{
    QStringList first;
    for (int row = 1; row <= count; ++row) {
        list.add(QString());
        for (int cell = 0; cell < list.columnCount(); ++cell)
            list.setCell(row, cell, QStringLiteral("r%1c%2").arg(row).arg(cell));
        first << list.cell(row, 0);
    }
    return first;
}

inline QStringList column0(const RowList& list)
{
    QStringList cells;
    for (int row = 1; row <= list.count(); ++row)
        cells << list.cell(row, 0);
    return cells;
}

// Destroys the windows that were closed (they go with the next deferred delete).
inline void flushClosedWindows()
{
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
}

} // namespace veldra::buildform::test
