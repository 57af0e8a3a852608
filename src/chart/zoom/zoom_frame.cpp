#include "chart/zoom/zoom_frame.h"

#include "chart/layout/chart_layout.h"

namespace uriage::chart {

ZoomFrame zoomFrame(const ChartLayout& layout)
{
    ZoomFrame frame;
    frame.plot = layout.plot.corners();
    for (Axis axis : kAllAxes)
        frame.maps[axis] = layout.axes[axis].scale.map;
    return frame;
}

} // namespace uriage::chart
