#pragma once
// DBChart1: the chart widget. It keeps an off-screen bitmap of the chart at
// the screen's device pixels, redrawn only when the chart changed or the
// widget's size or pixel ratio changed, and paints from it. A change of the
// chart only schedules one repaint.
// Mouse presses, moves, releases and wheel turns go to the zoom controller;
// the zoom rectangle is inverted into the bitmap and out again, without
// redrawing the chart.
#include "chart/zoom/zoom_controller.h"

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
    // The off-screen bitmap as last drawn (null before the first paint), at
    // the device pixel ratio in force then.
    const QImage& bitmap() const { return bitmap_; }
    const ZoomController& zoom() const { return zoom_; }

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void wheelEvent(QWheelEvent* event) override;

private:
    bool bitmapFits() const;
    void redrawBitmap();
    ZoomFrame currentFrame() const;
    void apply(const ZoomEffect& effect);
    void invertOnScreen(const QRect& rect);

    ChartModel& model_;
    QImage bitmap_;
    ZoomController zoom_;
};

} // namespace uriage::chart
