#pragma once
// Draws the series of a chart into the laid-out frame: for each series in
// order its lines (flat) or ribbons (3-D) and markers, clipped to the plot,
// then its value labels, not clipped.
#include "chart/layout/series_geometry.h"

#include <QJsonArray>

class QPainter;

namespace uriage::chart {

class ChartModel;

void drawSeries(QPainter& painter, const ChartModel& model, const SeriesFrame& frame);

// One series, index 0 for Series1.
void drawOneSeries(QPainter& painter, const Series& series, int seriesIndex, const SeriesFrame& frame);

// Per series, what the drawing places on screen: the pixel position of every
// drawn point, the marker rectangles (their screen bounds) and the value-label
// boxes with their texts.
QJsonArray seriesDrawingJson(const ChartModel& model, const SeriesFrame& frame);

} // namespace uriage::chart
