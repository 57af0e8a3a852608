#include "chart/chart_renderer.h"

#include "chart/chart_model.h"

#include <QGuiApplication>
#include <QPainter>
#include <QPalette>

namespace uriage::chart {

// For now the chart is its background; axes, legend and series come next.
void renderChart(QPainter& painter, const ChartModel& /*model*/, const QRect& area)
{
    painter.fillRect(area, QGuiApplication::palette().color(QPalette::Button));
}

} // namespace uriage::chart
