#include "chart/axes/axis_range.h"

#include <algorithm>

namespace uriage::chart {

std::vector<const Series*> seriesOnAxis(const std::vector<const Series*>& all, Axis side)
{
    if (side == Axis::Bottom)
        return all;
    std::vector<const Series*> onAxis;
    for (const Series* series : all)
        if (axisOf(series->config().axis) == side)
            onAxis.push_back(series);
    return onAxis;
}

ValueRange dataRange(const std::vector<const Series*>& onAxis, Axis side)
{
    bool any = false;
    ValueRange result;
    for (const Series* series : onAxis) {
        if (series->count() == 0)
            continue;
        const ValueRange r = side == Axis::Bottom ? series->xRange() : series->yRange();
        if (!any) {
            result = r;
            any = true;
        } else {
            result.minimum = std::min(result.minimum, r.minimum);
            result.maximum = std::max(result.maximum, r.maximum);
        }
    }
    return result;
}

int markerMargin(const std::vector<const Series*>& onAxis, Axis side)
{
    int margin = 0;
    for (const Series* series : onAxis) {
        const MarkerSpec& marker = series->config().marker;
        const int half = side == Axis::Bottom ? marker.halfWidth : marker.halfHeight;
        margin = std::max(margin, half + 1);
    }
    return margin;
}

ValueRange withMarkerMargin(ValueRange range, int margin, int length)
{
    const int room = length - 2 * margin;
    const double span = range.maximum - range.minimum;
    if (margin <= 0 || room <= 0 || span == 0)
        return range;
    const double extra = margin * span / room;
    return {range.minimum - extra, range.maximum + extra};
}

} // namespace uriage::chart
