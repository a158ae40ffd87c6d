#pragma once

#include <QPointer>
#include <QWidget>

namespace veldra::ui {

// The window a dialog of the seam opens over. A modal dialog that is open comes first (a box
// behind it would block it and could not be reached), then a window kept on top of the others
// (the active one if it is such a window), then the active window.
QWidget* dialogParent();

// Keeps a dialog in front of its parent when the parent is kept on top of the other windows.
void keepInFrontOf(QWidget* dialog, const QWidget* parent);

// Gives keyboard focus back, when it goes, to the control that had it when it was made: the
// window system hands activation back to a window, not always to the control inside it.
class FocusReturn {
public:
    FocusReturn();
    ~FocusReturn();
    FocusReturn(const FocusReturn&) = delete;
    FocusReturn& operator=(const FocusReturn&) = delete;

private:
    QPointer<QWidget> focused_;
};

} // namespace veldra::ui
