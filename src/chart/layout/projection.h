#pragma once
// The 3-D view's projection: depth runs up and to the right at 45 degrees,
// one pixel right and one up per pixel of depth, without perspective.
#include <QPoint>

namespace uriage::chart {

// A plot position at a depth, on screen.
inline QPoint atDepth(QPoint p, int depth) { return {p.x() + depth, p.y() - depth}; }
inline QPoint atDepth(int x, int y, int depth) { return atDepth(QPoint(x, y), depth); }

} // namespace uriage::chart
