#pragma once
// Where the series drawing places each series on screen, as the probe reports it.
#include "chart/layout/series_geometry.h"

#include <QJsonArray>

namespace uriage::chart {
class ChartModel;
}

namespace uriage::probe {

// Per series, what the drawing places on screen: the pixel position of every
// drawn point, the marker rectangles (their screen bounds) and the value-label
// boxes with their texts.
QJsonArray seriesDrawingJson(const chart::ChartModel& model, const chart::SeriesFrame& frame);

} // namespace uriage::probe
