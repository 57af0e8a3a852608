#pragma once
// The part of a laid-out chart that drawing a series needs: the view, the
// plot rectangle, the 3-D slots and the axes' value maps.
#include "chart/axes/value_map.h"
#include "chart/model/chart_config.h"

#include <QColor>
#include <QRect>

namespace uriage::chart {

struct ChartLayout;

struct SeriesFrame {
    View view = View::Flat;
    // The plot rectangle R with plot.left() == R.left, plot.right() == R.right,
    // plot.top() == R.top and plot.bottom() == R.bottom (build it from its two
    // corner points). In the 3-D view it is the front face of the plot box.
    QRect plot;
    int slotWidth = 0;                // W; 0 in the flat view
    int depth = 0;                    // D = active series x W; 0 in the flat view
    // Value to pixel on each axis; the bottom one's range is the one in force
    // (automatic or zoomed).
    AxisMaps maps;
    QColor background;                // the chart's background colour
};

SeriesFrame seriesFrame(const ChartLayout& layout, const QColor& background);

// Front and back depth of a series' slot in the 3-D view (both 0 when flat).
struct DepthSlot {
    int front = 0;
    int back = 0;
};
DepthSlot depthSlot(int seriesIndex, int activeSeries, int slotWidth);

// The slot of a chart's series in the frame: none in the flat view.
DepthSlot seriesSlot(int seriesIndex, const SeriesFrame& frame);

} // namespace uriage::chart
