#pragma once
// Outlines of a point marker: the flat rectangle and ellipse, and the faces
// of the 3-D box that a rectangle marker becomes in the 3-D view.
#include "chart/layout/series_geometry.h"
#include "chart/model/chart_config.h"

#include <QPolygon>
#include <QRect>

namespace uriage::chart {

// Pixels x - H ... x + H and y - V ... y + V inclusive (2H + 1 by 2V + 1).
QRect markerRectangle(QPoint centre, int halfWidth, int halfHeight);

// The box an ellipse marker is inscribed in, right and bottom edges
// excluded: 2H by 2V pixels from (x - H, y - V).
QRect markerEllipseBox(QPoint centre, int halfWidth, int halfHeight);

// The screen bounds of a marker's front face: its rectangle, or its
// ellipse's box, at the front depth of the slot.
QRect markerFrontBounds(QPoint centre, const MarkerSpec& marker, DepthSlot slot);

// Every pixel a marker may touch, its border included: the front face, and
// in the 3-D view a rectangle marker's box back to the slot's back depth.
QRect markerReach(QPoint centre, const MarkerSpec& marker, View view, DepthSlot slot);

// A rectangle marker in the 3-D view, from the front to the back depth of
// its series' slot; corners are screen pixels (depth z moves right and up by z).
struct MarkerBox {
    QPolygon front;
    QPolygon rightSide;
    QPolygon top;
};
MarkerBox markerBox(QPoint centre, int halfWidth, int halfHeight, DepthSlot slot);

} // namespace uriage::chart
