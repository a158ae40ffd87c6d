#include "app/window/WindowArrange.h"

#include <QMdiArea>
#include <QMdiSubWindow>

namespace veldra {

namespace {

QList<QMdiSubWindow*> shownWindows(QMdiArea* area, bool minimised)
{
    QList<QMdiSubWindow*> result;
    for (QMdiSubWindow* window : area->subWindowList(QMdiArea::CreationOrder)) {
        if (!window->isHidden() && window->isMinimized() == minimised)
            result << window;
    }
    return result;
}

} // namespace

QList<QRect> equalStrips(const QRect& area, int count, Qt::Orientation strips)
{
    QList<QRect> result;
    if (count <= 0)
        return result;
    const bool stacked = strips == Qt::Horizontal;
    const int length = stacked ? area.height() : area.width();
    const int step = length / count;
    for (int i = 0; i < count; ++i) {
        const int offset = i * step;
        const int size = i == count - 1 ? length - offset : step;
        result << (stacked ? QRect(area.left(), area.top() + offset, area.width(), size)
                           : QRect(area.left() + offset, area.top(), size, area.height()));
    }
    return result;
}

int arrangeIcons(QMdiArea* area)
{
    const int width = area->viewport()->width();
    const int bottom = area->viewport()->height();
    int rowTop = bottom;
    int x = 0;
    bool rowOpen = false;
    for (QMdiSubWindow* icon : shownWindows(area, true)) {
        const QSize size = icon->size();
        if (!rowOpen || x + size.width() > width) {
            rowTop -= size.height();
            x = 0;
            rowOpen = true;
        }
        icon->move(x, rowTop);
        x += size.width();
    }
    return bottom - rowTop;
}

void tileSubWindows(QMdiArea* area, Qt::Orientation strips)
{
    const int iconRows = arrangeIcons(area);
    QRect free = area->viewport()->rect();
    free.setHeight(qMax(0, free.height() - iconRows));
    const QList<QMdiSubWindow*> windows = shownWindows(area, false);
    const QList<QRect> places = equalStrips(free, int(windows.size()), strips);
    for (qsizetype i = 0; i < windows.size(); ++i) {
        if (windows[i]->isMaximized())
            windows[i]->showNormal();
        windows[i]->setGeometry(places[i]);
    }
}

} // namespace veldra
