#pragma once
// DBChart1: the chart widget. Paints the chart from its off-screen bitmap.
#include <QWidget>

namespace uriage::chart {

class ChartWidget : public QWidget {
    Q_OBJECT
public:
    explicit ChartWidget(QWidget* parent = nullptr);
};

} // namespace uriage::chart
