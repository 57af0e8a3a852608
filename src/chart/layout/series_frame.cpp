#include "chart/layout/series_frame.h"

#include "chart/layout/chart_layout.h"
#include "chart/model/chart_model.h"

namespace uriage::chart {

SeriesFrame seriesFrame(const ChartLayout& layout, const QColor& background)
{
    SeriesFrame frame;
    frame.view = layout.view;
    frame.plot = layout.plot.corners();
    frame.slotWidth = layout.slotWidth;
    frame.depth = layout.depth;
    for (Axis axis : kAllAxes)
        frame.maps[axis] = layout.axes[axis].scale.map;
    frame.background = background;
    return frame;
}

DepthSlot depthSlot(int seriesIndex, int activeSeries, int slotWidth)
{
    const int slot = activeSeries - 1 - seriesIndex;
    return {slot * slotWidth, (slot + 1) * slotWidth};
}

DepthSlot seriesSlot(int seriesIndex, const SeriesFrame& frame)
{
    if (frame.view == View::Flat)
        return {};
    return depthSlot(seriesIndex, ChartModel::seriesCount(), frame.slotWidth);
}

} // namespace uriage::chart
