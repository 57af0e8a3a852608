#pragma once
// The chart as laid out at the moment of a mouse event, as far as zooming and
// scrolling need it: the plot rectangle and the value mapping of each axis.
#include "chart/axes/value_map.h"

#include <QPoint>
#include <QRect>

namespace uriage::chart {

struct ChartLayout;

struct ZoomFrame {
    // The plot rectangle R: plot.left() == R.left ... plot.bottom() == R.bottom.
    QRect plot;
    ValueMap bottom;
    ValueMap left;
    ValueMap right;
};

ZoomFrame zoomFrame(const ChartLayout& layout);

// The value that lies at a pixel along an axis: the inverse of the axis'
// value-to-pixel mapping. An axis without pixel length or with a range of 0
// gives its minimum everywhere.
double valueAtPixel(const ValueMap& map, int pixel);

} // namespace uriage::chart
