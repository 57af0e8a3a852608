#include "chart/draw/ribbon.h"

#include "chart/draw/marker_painter.h"

#include <QPainter>
#include <QPen>

namespace uriage::chart {

void drawRibbon(QPainter& painter, QPoint from, QPoint to, DepthSlot slot, const QColor& color, bool steep,
                const LinePen& pen)
{
    painter.setPen(QPen(pen.color, pen.width, pen.style));
    painter.setBrush(steep ? darkened(color, 64) : color);
    painter.drawPolygon(ribbonPolygon(from, to, slot));
}

} // namespace uriage::chart
