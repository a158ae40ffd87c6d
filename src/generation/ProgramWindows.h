#pragma once

#include <QList>

class QWidget;

namespace veldra {

// The windows of the program in the order of its window list: the main window's child
// windows in the order they were opened, then the windows of their own (the main window
// itself excluded).
QList<QWidget*> programWindows();

// Shows a window in front: as a child window of the main window when there is one,
// otherwise as a window of its own.
void showProgramWindow(QWidget* window);

// Closes a window together with the child-window frame that holds it, if any.
void closeProgramWindow(QWidget* window);

} // namespace veldra
