#pragma once
// The area that a series' lines and markers are clipped to: in the flat view
// the plot rectangle less its border pixels, in the 3-D view the outline of
// the plot box that its front and back faces span together.
#include "chart/layout/series_geometry.h"

#include <QPolygon>
#include <QRegion>
#include <vector>

namespace uriage::chart {

// Flat view: x from R.left + 1 up to R.right, y from R.top + 1 up to
// R.bottom - 1 (both ends excluded).
QRect flatPlotClip(const QRect& plot);

// 3-D view: the hexagon (R.left, R.bottom), (R.left, R.top), (R.left + D, R.top - D),
// (R.right + D, R.top - D), (R.right + D, R.bottom - D), (R.right, R.bottom).
QPolygon plotBoxOutline(const QRect& plot, int depth);

QRegion plotClipRegion(const SeriesFrame& frame);

// Rectangles that lie wholly inside the clip, plotClipRegion(frame) (each
// checked against the region itself): in the flat view the clip rectangle, in the 3-D view the
// front face, the back face and the band between them, each one pixel in.
// A shape inside one of them loses no pixel to the clip. At most three.
std::vector<QRect> plotClipInnerRects(const SeriesFrame& frame, const QRegion& clip);

} // namespace uriage::chart
