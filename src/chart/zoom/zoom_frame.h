#pragma once
// The chart as laid out at the moment of a mouse event, as far as zooming and
// scrolling need it: the plot rectangle and the value map of each axis.
#include "chart/axes/value_map.h"

#include <QRect>

namespace uriage::chart {

struct ChartLayout;

struct ZoomFrame {
    // The plot rectangle R: plot.left() == R.left ... plot.bottom() == R.bottom.
    QRect plot;
    AxisMaps maps;
};

ZoomFrame zoomFrame(const ChartLayout& layout);

} // namespace uriage::chart
