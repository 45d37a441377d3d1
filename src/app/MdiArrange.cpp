#include "app/MdiArrange.h"

#include <QMdiArea>
#include <QMdiSubWindow>

namespace vantor {

namespace {

QList<QMdiSubWindow *> NormalWindows(QMdiArea &area)
{
    QList<QMdiSubWindow *> windows;
    for (QMdiSubWindow *window : area.subWindowList(QMdiArea::CreationOrder))
        if (window->isVisible() && !window->isMinimized())
            windows << window;
    return windows;
}

void Tile(QMdiArea &area, bool horizontally)
{
    const QList<QMdiSubWindow *> windows = NormalWindows(area);
    if (windows.isEmpty())
        return;
    const QRect space = area.viewport()->rect();
    const int n = static_cast<int>(windows.size());
    for (int i = 0; i < n; ++i) {
        QMdiSubWindow *window = windows[i];
        if (window->isMaximized())
            window->showNormal();
        QRect cell;
        if (horizontally) {
            const int top = space.top() + space.height() * i / n;
            const int bottom = space.top() + space.height() * (i + 1) / n;
            cell = QRect(space.left(), top, space.width(), bottom - top);
        } else {
            const int left = space.left() + space.width() * i / n;
            const int right = space.left() + space.width() * (i + 1) / n;
            cell = QRect(left, space.top(), right - left, space.height());
        }
        window->setGeometry(cell);
    }
}

} // namespace

void TileHorizontally(QMdiArea &area)
{
    Tile(area, true);
}

void TileVertically(QMdiArea &area)
{
    Tile(area, false);
}

void MinimizeAll(QMdiArea &area)
{
    for (QMdiSubWindow *window : area.subWindowList(QMdiArea::CreationOrder))
        if (window->isVisible()) // a closed window waiting to be deleted stays hidden
            window->showMinimized();
    ArrangeIcons(area);
}

void ArrangeIcons(QMdiArea &area)
{
    const QRect space = area.viewport()->rect();
    int x = space.left();
    int y = space.bottom();
    for (QMdiSubWindow *window : area.subWindowList(QMdiArea::CreationOrder)) {
        if (!window->isMinimized())
            continue;
        const QSize size = window->size();
        if (x > space.left() && x + size.width() > space.right()) {
            x = space.left();
            y -= size.height();
        }
        window->move(x, y - size.height() + 1);
        x += size.width();
    }
}

} // namespace vantor
