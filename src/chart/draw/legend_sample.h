#pragma once
// The samples in a legend entry's colour box: the series' line across the
// box, then a flat marker of its shape centred in it.
#include "chart/model/chart_config.h"

#include <QRect>

class QPainter;

namespace uriage::chart {

// The colour box from its left/top to its right/bottom pixel: build it from
// its two corner points so that box.right() and box.bottom() are those pixels.
struct LegendSampleGeometry {
    QPoint lineStart;   // the line sample, at the box's vertical middle
    QPoint lineEnd;
    QPoint markerCentre;
    int halfWidth = 0;  // the marker's half-sizes, at most a third of the box
    int halfHeight = 0;
};
LegendSampleGeometry legendSampleGeometry(const SeriesConfig& series, const QRect& box);

// Line in the series colour (flat) or the line pen's colour (3-D), with the
// pen's width and style; marker in the marker fill or the series colour.
void drawLegendSample(QPainter& painter, const SeriesConfig& series, View view, const QRect& box);

} // namespace uriage::chart
