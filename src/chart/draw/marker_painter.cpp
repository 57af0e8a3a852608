#include "chart/draw/marker_painter.h"

#include "chart/layout/marker_geometry.h"

#include <QPainter>
#include <QPen>

namespace uriage::chart {

namespace {

// The marker border: black, one pixel.
QPen borderPen()
{
    QPen pen(colors::black);
    pen.setWidth(1);
    return pen;
}

} // namespace

QColor darkened(const QColor& color, int amount)
{
    auto channel = [amount](int c) { return c <= amount ? 0 : c - amount; };
    return QColor(channel(color.red()), channel(color.green()), channel(color.blue()));
}

void drawFlatMarker(QPainter& painter, QPoint centre, MarkerShape shape, int halfWidth, int halfHeight,
                    const QColor& fill)
{
    painter.setPen(borderPen());
    painter.setBrush(fill);
    if (shape == MarkerShape::Rectangle) {
        // An outlined rectangle covers one pixel more than its size each way.
        const QRect r = markerRectangle(centre, halfWidth, halfHeight);
        if (r.width() == 1 || r.height() == 1)
            painter.fillRect(r, colors::black); // all border
        else
            painter.drawRect(r.left(), r.top(), r.width() - 1, r.height() - 1);
    } else {
        const QRect box = markerEllipseBox(centre, halfWidth, halfHeight);
        if (box.width() <= 0 || box.height() <= 0)
            return;
        painter.drawEllipse(box.left(), box.top(), box.width() - 1, box.height() - 1);
    }
}

void drawMarker(QPainter& painter, QPoint centre, const MarkerSpec& marker, const QColor& fill, View view,
                DepthSlot slot)
{
    if (view == View::Flat) {
        drawFlatMarker(painter, centre, marker.shape, marker.halfWidth, marker.halfHeight, fill);
        return;
    }
    if (marker.shape == MarkerShape::Circle) {
        drawFlatMarker(painter, atDepth(centre, slot.front), marker.shape, marker.halfWidth, marker.halfHeight,
                       fill);
        return;
    }
    const MarkerBox box = markerBox(centre, marker.halfWidth, marker.halfHeight, slot);
    painter.setPen(borderPen());
    painter.setBrush(darkened(fill, 128));
    painter.drawPolygon(box.rightSide);
    painter.setBrush(darkened(fill, 64));
    painter.drawPolygon(box.top);
    painter.setBrush(fill);
    painter.drawPolygon(box.front);
}

} // namespace uriage::chart
