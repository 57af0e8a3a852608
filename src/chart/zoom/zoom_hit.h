#pragma once
// Which part of a laid-out chart a mouse press lands on. Only presses on a
// series, an axis or the plot rectangle start a zoom or a scroll.
#include <QPoint>

namespace uriage::chart {

struct ChartLayout;
class ChartModel;

enum class ChartPart { Nothing, Legend, Title, Series, Axis, Plot };

// The legend (with its frame and shadow) and the title lines come first;
// then the series as drawn in the 3-D plot box (ribbons and marker boxes;
// in the flat view they lie inside the plot rectangle); then each shown
// axis with its ticks and labels; then the plot rectangle.
ChartPart chartPartAt(const ChartLayout& layout, const ChartModel& model, QPoint position);

inline bool startsZoomOrScroll(ChartPart part)
{
    return part == ChartPart::Series || part == ChartPart::Axis || part == ChartPart::Plot;
}

} // namespace uriage::chart
