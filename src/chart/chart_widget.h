#pragma once
// DBChart1: the chart widget. It keeps an off-screen bitmap of the chart,
// redrawn only when the chart changed or the widget's size changed, and
// paints from it. A change of the chart only schedules one repaint.
#include <QImage>
#include <QWidget>

namespace uriage::chart {

class ChartModel;

class ChartWidget : public QWidget {
    Q_OBJECT
public:
    explicit ChartWidget(ChartModel& model, QWidget* parent = nullptr);
    ~ChartWidget() override;

    ChartModel& model() const { return model_; }
    // The off-screen bitmap as last drawn (null before the first paint).
    const QImage& bitmap() const { return bitmap_; }

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    void redrawBitmap();

    ChartModel& model_;
    QImage bitmap_;
};

} // namespace uriage::chart
