#include "chart/zoom/zoom_frame.h"

#include "chart/layout/chart_layout.h"

namespace uriage::chart {

ZoomFrame zoomFrame(const ChartLayout& layout)
{
    ZoomFrame frame;
    const PixelRect& r = layout.plot;
    frame.plot = QRect(QPoint(r.left, r.top), QPoint(r.right, r.bottom));
    frame.bottom = layout.bottom().scale.map;
    frame.left = layout.left().scale.map;
    frame.right = layout.right().scale.map;
    return frame;
}

double valueAtPixel(const ValueMap& map, int pixel)
{
    const int pixels = map.end() - map.start();
    const double range = map.maximum() - map.minimum();
    if (pixels == 0 || range == 0)
        return map.minimum();
    return map.minimum() + double(pixel - map.start()) * range / double(pixels);
}

} // namespace uriage::chart
