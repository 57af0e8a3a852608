#pragma once
// The 3-D view's projection: depth runs up and to the right at 45 degrees,
// one pixel right and one up per pixel of depth, without perspective.
#include <QPoint>

namespace uriage::chart {

inline QPoint project(int x, int y, int depth) { return {x + depth, y - depth}; }

} // namespace uriage::chart
