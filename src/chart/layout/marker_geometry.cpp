#include "chart/layout/marker_geometry.h"

namespace uriage::chart {

QRect markerRectangle(QPoint centre, int halfWidth, int halfHeight)
{
    return QRect(QPoint(centre.x() - halfWidth, centre.y() - halfHeight),
                 QPoint(centre.x() + halfWidth, centre.y() + halfHeight));
}

QRect markerEllipseBox(QPoint centre, int halfWidth, int halfHeight)
{
    return QRect(centre.x() - halfWidth, centre.y() - halfHeight, 2 * halfWidth, 2 * halfHeight);
}

QRect markerFrontBounds(QPoint centre, const MarkerSpec& marker, DepthSlot slot)
{
    const QPoint front = atDepth(centre, slot.front);
    if (marker.shape == MarkerShape::Circle)
        return markerEllipseBox(front, marker.halfWidth, marker.halfHeight);
    return markerRectangle(front, marker.halfWidth, marker.halfHeight);
}

QRect markerReach(QPoint centre, const MarkerSpec& marker, View view, DepthSlot slot)
{
    // The outlines lie on the shapes' edges; one pixel more each way is to spare.
    if (view == View::Flat)
        return markerFrontBounds(centre, marker, DepthSlot{}).adjusted(-1, -1, 1, 1);
    const QRect front = markerFrontBounds(centre, marker, slot);
    if (marker.shape == MarkerShape::Circle)
        return front.adjusted(-1, -1, 1, 1);
    const int depth = slot.back - slot.front;
    return front.united(front.translated(depth, -depth)).adjusted(-1, -1, 1, 1);
}

MarkerBox markerBox(QPoint centre, int halfWidth, int halfHeight, DepthSlot slot)
{
    const int left = centre.x() - halfWidth, right = centre.x() + halfWidth;
    const int top = centre.y() - halfHeight, bottom = centre.y() + halfHeight;
    auto at = [](int x, int y, int z) { return atDepth(QPoint(x, y), z); };
    MarkerBox box;
    box.front << at(left, top, slot.front) << at(right, top, slot.front)
              << at(right, bottom, slot.front) << at(left, bottom, slot.front);
    box.rightSide << at(right, top, slot.front) << at(right, top, slot.back)
                  << at(right, bottom, slot.back) << at(right, bottom, slot.front);
    box.top << at(left, top, slot.front) << at(left, top, slot.back)
            << at(right, top, slot.back) << at(right, top, slot.front);
    return box;
}

} // namespace uriage::chart
