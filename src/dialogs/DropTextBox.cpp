#include "dialogs/DropTextBox.h"

#include "platform/core/VbString.h"

#include <QDragEnterEvent>
#include <QDragMoveEvent>
#include <QDropEvent>
#include <QMimeData>

namespace veldra {

DropTextBox::DropTextBox(QWidget* parent) : QLineEdit(parent)
{
    setAcceptDrops(true);
}

void DropTextBox::OLEDragDrop(const QMimeData& data)
{
    if (data.hasText())
        setText(vbstr::trim(data.text()));
}

void DropTextBox::dragEnterEvent(QDragEnterEvent* event)
{
    if (event->mimeData()->hasText())
        event->acceptProposedAction();
    else
        event->ignore();
}

void DropTextBox::dragMoveEvent(QDragMoveEvent* event)
{
    if (event->mimeData()->hasText())
        event->acceptProposedAction();
    else
        event->ignore();
}

void DropTextBox::dropEvent(QDropEvent* event)
{
    OLEDragDrop(*event->mimeData());
    event->acceptProposedAction();
}

} // namespace veldra
