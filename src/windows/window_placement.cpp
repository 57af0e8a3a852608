#include "windows/window_placement.h"

#include <algorithm>

namespace uriage {

QPoint centredOn(const QRect& monitor, const QSize& outerSize)
{
    const int left = std::max(0, (monitor.width() - outerSize.width()) / 2);
    const int top = std::max(0, (monitor.height() - outerSize.height()) / 2);
    return monitor.topLeft() + QPoint(left, top);
}

QPoint carriedOver(const QRect& fromMonitor, const QRect& toMonitor, const QRect& outer)
{
    QPoint position = toMonitor.topLeft() + (outer.topLeft() - fromMonitor.topLeft());
    const int rightLimit = toMonitor.x() + toMonitor.width();
    const int bottomLimit = toMonitor.y() + toMonitor.height();
    if (position.x() + outer.width() > rightLimit)
        position.setX(rightLimit - outer.width());
    if (position.y() + outer.height() > bottomLimit)
        position.setY(bottomLimit - outer.height());
    return position;
}

} // namespace uriage
