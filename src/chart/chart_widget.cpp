#include "chart/chart_widget.h"

#include "chart/chart_model.h"
#include "chart/chart_renderer.h"

#include <QPainter>
#include <QPaintEvent>

namespace uriage::chart {

ChartWidget::ChartWidget(ChartModel& model, QWidget* parent) : QWidget(parent), model_(model)
{
    setObjectName(QStringLiteral("DBChart1"));
    setAttribute(Qt::WA_OpaquePaintEvent);
    model_.setChangeListener([this] { update(); });
}

ChartWidget::~ChartWidget() { model_.setChangeListener({}); }

void ChartWidget::paintEvent(QPaintEvent* event)
{
    if (bitmap_.size() != size() || model_.needsRedraw())
        redrawBitmap();
    QPainter painter(this);
    painter.drawImage(event->rect(), bitmap_, event->rect());
}

void ChartWidget::redrawBitmap()
{
    if (bitmap_.size() != size())
        bitmap_ = QImage(size(), QImage::Format_RGB32);
    bitmap_.fill(palette().color(QPalette::Button));
    QPainter painter(&bitmap_);
    renderChart(painter, model_, bitmap_.rect());
    painter.end();
    model_.clearNeedsRedraw();
}

} // namespace uriage::chart
