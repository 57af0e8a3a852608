#pragma once
// Draws a whole chart into a painter over the given area (the widget's rect):
// the frame first, then the series.
#include "chart/layout/chart_layout.h"
#include "chart/layout/series_frame.h"

#include <QRect>

class QPainter;

namespace uriage::chart {

class ChartModel;

void renderChart(QPainter& painter, const ChartModel& model, const QRect& area);

// The layout that renderChart draws, with the fonts actually used and the
// regional settings in force.
ChartLayout chartLayout(const ChartModel& model, const QRect& area);

} // namespace uriage::chart
