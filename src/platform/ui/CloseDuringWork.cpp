#include "platform/ui/CloseDuringWork.h"

#include "platform/ui/WorkProgress.h"

#include <QAbstractNativeEventFilter>
#include <QGuiApplication>
#include <QPointer>
#include <QWidget>

#include <cstdlib>
#include <cstring>
#include <xcb/xcb.h>

namespace veldra::ui {

namespace {

xcb_atom_t atomNamed(xcb_connection_t* connection, const char* name)
{
    const xcb_intern_atom_cookie_t cookie = xcb_intern_atom(connection, 0, uint16_t(std::strlen(name)), name);
    xcb_intern_atom_reply_t* reply = xcb_intern_atom_reply(connection, cookie, nullptr);
    const xcb_atom_t atom = reply ? reply->atom : xcb_atom_t(XCB_ATOM_NONE);
    std::free(reply);
    return atom;
}

// A child of the window it watches, so that it goes with it; removed from the application's
// filters when it goes.
class CloseRequestFilter final : public QObject, public QAbstractNativeEventFilter {
public:
    CloseRequestFilter(QWidget* window, xcb_atom_t protocols, xcb_atom_t deleteWindow)
        : QObject(window), window_(window), protocols_(protocols), deleteWindow_(deleteWindow)
    {
    }

    bool nativeEventFilter(const QByteArray& eventType, void* message, qintptr*) override
    {
        if (!window_ || !WorkProgress::running() || eventType != "xcb_generic_event_t")
            return false;
        const auto* event = static_cast<const xcb_generic_event_t*>(message);
        if ((event->response_type & 0x7f) != XCB_CLIENT_MESSAGE)
            return false;
        const auto* request = reinterpret_cast<const xcb_client_message_event_t*>(event);
        const bool closeRequest = request->format == 32 && request->type == protocols_
                                  && request->data.data32[0] == deleteWindow_;
        if (!closeRequest || request->window != xcb_window_t(window_->internalWinId()))
            return false;
        QMetaObject::invokeMethod(window_.data(), &QWidget::close, Qt::QueuedConnection);
        return true;
    }

private:
    QPointer<QWidget> window_;
    xcb_atom_t protocols_;
    xcb_atom_t deleteWindow_;
};

} // namespace

void passCloseRequestsDuringWork(QWidget* window)
{
    const auto* x11 = qGuiApp ? qGuiApp->nativeInterface<QNativeInterface::QX11Application>() : nullptr;
    xcb_connection_t* connection = x11 ? x11->connection() : nullptr;
    if (!window || !connection)
        return;
    const xcb_atom_t protocols = atomNamed(connection, "WM_PROTOCOLS");
    const xcb_atom_t deleteWindow = atomNamed(connection, "WM_DELETE_WINDOW");
    if (protocols == XCB_ATOM_NONE || deleteWindow == XCB_ATOM_NONE)
        return;
    qGuiApp->installNativeEventFilter(new CloseRequestFilter(window, protocols, deleteWindow));
}

} // namespace veldra::ui
