#include "chart/chart_widget.h"

namespace uriage::chart {

ChartWidget::ChartWidget(QWidget* parent) : QWidget(parent) {}

} // namespace uriage::chart
