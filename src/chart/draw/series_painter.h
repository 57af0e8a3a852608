#pragma once
// Draws the series of a chart into the laid-out frame: for each series in
// order its lines (flat) or ribbons (3-D) and markers, clipped to the plot,
// then its value labels, not clipped.
#include "chart/draw/value_label.h"
#include "chart/layout/series_geometry.h"

#include <vector>

class QPainter;

namespace uriage::chart {

class ChartModel;

void drawSeries(QPainter& painter, const ChartModel& model, const SeriesFrame& frame);

// One series, index 0 for Series1.
void drawOneSeries(QPainter& painter, const Series& series, int seriesIndex, const SeriesFrame& frame);

// The value labels of a series' drawn points, none when it shows no labels.
std::vector<ValueLabelBox> valueLabelBoxes(const Series& series, const SeriesGeometry& geometry, DepthSlot slot);

} // namespace uriage::chart
