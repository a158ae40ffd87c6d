#pragma once

#include <QList>
#include <QRect>

class QMdiArea;

namespace veldra {

// The arrangements of the Window menu that the MDI area lacks.

// `count` equal strips that fill `area`: stacked top to bottom, each as wide as the
// area (Qt::Horizontal, "tile horizontally"), or side by side, each as high as the
// area (Qt::Vertical, "tile vertically"). The last strip takes the remainder.
QList<QRect> equalStrips(const QRect& area, int count, Qt::Orientation strips);

// Lines the minimised child windows up along the bottom of the client area, left to
// right, in the order they were opened, starting a new row above when one is full.
// Returns the height the rows take.
int arrangeIcons(QMdiArea* area);

// Gives every open, not minimised child window one strip of the client area above
// the minimised windows' rows, in the order the windows were opened.
void tileSubWindows(QMdiArea* area, Qt::Orientation strips);

} // namespace veldra
