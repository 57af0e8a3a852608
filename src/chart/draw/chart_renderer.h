#pragma once
// Draws a whole chart into a painter over the given area (the widget's rect):
// the frame first, then the series.
#include "chart/layout/chart_layout.h"
#include "chart/layout/series_frame.h"

#include <QColor>
#include <QImage>
#include <QRect>

class QPainter;

namespace uriage::chart {

class ChartModel;

void renderChart(QPainter& painter, const ChartModel& model, const QRect& area);

// The chart over an area of the logical size, drawn into a bitmap of device
// pixels: ratio times as large, with that ratio set on it. Every geometry
// stays in logical pixels; only the rendering gains detail.
QImage renderChartBitmap(const ChartModel& model, const QSize& logicalSize, qreal ratio, const QColor& background);

// The layout that renderChart draws, with the fonts actually used and the
// regional settings in force.
ChartLayout chartLayout(const ChartModel& model, const QRect& area);

} // namespace uriage::chart
