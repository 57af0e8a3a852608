#pragma once
// Where a window goes when it is made visible: integer arithmetic on monitor
// and window rectangles, free of widgets.
#include <QPoint>
#include <QRect>
#include <QSize>

namespace uriage {

// A window's first showing: centred on the monitor, each quotient truncated
// toward zero and raised to 0 if negative (relative to the monitor's corner).
QPoint centredOn(const QRect& monitor, const QSize& outerSize);

// A later showing on another monitor than the one the window was on: the same
// offset from the new monitor's top-left corner, pulled back so that the right
// and bottom edges stay inside the new monitor.
QPoint carriedOver(const QRect& fromMonitor, const QRect& toMonitor, const QRect& outer);

} // namespace uriage
