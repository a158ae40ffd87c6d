#include "buildform/SelectAllOnFocus.h"

#include "app/window/WindowHelpers.h"

#include <QEvent>
#include <QLineEdit>
#include <QPointer>
#include <QTimer>

namespace veldra::buildform {

void SelectAllOnFocus::watch(QLineEdit* box)
{
    box->installEventFilter(this);
}

bool SelectAllOnFocus::eventFilter(QObject* watched, QEvent* event)
{
    if (event->type() == QEvent::FocusIn) {
        if (auto* box = qobject_cast<QLineEdit*>(watched))
            QTimer::singleShot(0, box, [box] { SelectAllText(box); });
    }
    return QObject::eventFilter(watched, event);
}

} // namespace veldra::buildform
