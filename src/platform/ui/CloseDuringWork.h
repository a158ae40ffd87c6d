#pragma once

class QWidget;

namespace veldra::ui {

// Hands the window system's close requests for `window` to the window itself while work runs
// (ui::WorkProgress). The progress window is application-modal, and Qt drops a close request
// for a window that a modal one blocks, so the user's close would be lost without a word.
// While work runs, such a request is taken from the window system and becomes a close() of
// the window, after the current event, so that the window can say why it stays open. At other
// times the requests go their usual way. Only X11 (xcb) is watched; elsewhere this does nothing.
void passCloseRequestsDuringWork(QWidget* window);

} // namespace veldra::ui
