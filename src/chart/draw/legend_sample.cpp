#include "chart/draw/legend_sample.h"

#include "chart/draw/marker_painter.h"

#include <QPainter>
#include <QPen>
#include <algorithm>

namespace uriage::chart {

LegendSampleGeometry legendSampleGeometry(const SeriesConfig& series, const QRect& box)
{
    const int width = box.right() - box.left();
    const int height = box.bottom() - box.top();
    const int middle = (box.top() + box.bottom()) / 2;
    LegendSampleGeometry g;
    g.lineStart = QPoint(box.left(), middle);
    g.lineEnd = QPoint(box.right(), middle);
    g.markerCentre = QPoint((box.left() + box.right()) / 2, middle);
    g.halfWidth = std::min(series.marker.halfWidth, width / 3);
    g.halfHeight = std::min(series.marker.halfHeight, height / 3);
    return g;
}

void drawLegendSample(QPainter& painter, const SeriesConfig& series, View view, const QRect& box)
{
    const LegendSampleGeometry g = legendSampleGeometry(series, box);
    painter.save();
    QPen line(view == View::Flat ? series.color : series.pen.color, series.pen.width, series.pen.style);
    // A flat end keeps the line inside the box: it covers left ... right - 1.
    line.setCapStyle(Qt::FlatCap);
    painter.setPen(line);
    painter.drawLine(g.lineStart, g.lineEnd);
    drawFlatMarker(painter, g.markerCentre, series.marker.shape, g.halfWidth, g.halfHeight,
                   series.marker.fill.value_or(series.color));
    painter.restore();
}

} // namespace uriage::chart
