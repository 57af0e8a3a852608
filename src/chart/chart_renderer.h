#pragma once
// Draws a whole chart into a painter over the given area (the widget's rect).
#include <QRect>

class QPainter;

namespace uriage::chart {

class ChartModel;

void renderChart(QPainter& painter, const ChartModel& model, const QRect& area);

} // namespace uriage::chart
