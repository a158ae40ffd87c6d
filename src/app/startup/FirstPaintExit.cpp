#include "app/startup/FirstPaintExit.h"

#include <QEvent>
#include <QWidget>

#include <unistd.h>

namespace veldra {

namespace {

class ExitAfterFirstPaint : public QObject {
public:
    using QObject::QObject;

protected:
    bool eventFilter(QObject* window, QEvent* event) override
    {
        if (event->type() != QEvent::Paint)
            return false;
        // The window paints first, then the program ends.
        window->removeEventFilter(this);
        window->event(event);
        _exit(0);
    }
};

} // namespace

void exitAfterFirstPaintWhenAsked(QWidget& window)
{
    if (qEnvironmentVariableIsSet("VELDRA_EXIT_AFTER_FIRST_PAINT"))
        window.installEventFilter(new ExitAfterFirstPaint(&window));
}

} // namespace veldra
