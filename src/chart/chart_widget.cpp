#include "chart/chart_widget.h"

#include "chart/draw/chart_renderer.h"
#include "chart/draw/frame_painter.h"
#include "chart/model/chart_model.h"
#include "chart/zoom/zoom_hit.h"
#include "chart/zoom/zoom_outline.h"

#include <QMouseEvent>
#include <QPainter>
#include <QPaintEvent>
#include <QWheelEvent>

namespace uriage::chart {

namespace {

ZoomButton zoomButton(Qt::MouseButton button)
{
    switch (button) {
    case Qt::LeftButton:
        return ZoomButton::Left;
    case Qt::RightButton:
        return ZoomButton::Right;
    default:
        return ZoomButton::Other;
    }
}

} // namespace

ChartWidget::ChartWidget(ChartModel& model, QWidget* parent)
    : QWidget(parent), model_(model), zoom_(model.zoomState())
{
    setObjectName(QStringLiteral("DBChart1"));
    setAttribute(Qt::WA_OpaquePaintEvent);
    model_.setChangeListener([this] { update(); });
}

ChartWidget::~ChartWidget() { model_.setChangeListener({}); }

void ChartWidget::paintEvent(QPaintEvent*)
{
    if (!bitmapFits() || model_.needsRedraw())
        redrawBitmap();
    QPainter painter(this);
    // The whole bitmap, device pixel for device pixel; the paint region clips it.
    painter.drawImage(QPoint(0, 0), bitmap_);
}

bool ChartWidget::bitmapFits() const
{
    // The bitmap holds device pixels: a new screen ratio needs a new bitmap.
    const qreal ratio = devicePixelRatioF();
    return bitmap_.devicePixelRatio() == ratio && bitmap_.size() == size() * ratio;
}

void ChartWidget::redrawBitmap()
{
    bitmap_ = renderChartBitmap(model_, size(), devicePixelRatioF(), palette().color(QPalette::Button));
    // A zoom rectangle shown while the chart was redrawn stays on screen.
    if (zoom_.shownOutline())
        invertOutline(bitmap_, *zoom_.shownOutline(), zoomOutlineColor(systemFrameColors().face));
    model_.clearNeedsRedraw();
}

ZoomFrame ChartWidget::currentFrame() const { return zoomFrame(chartLayout(model_, rect())); }

void ChartWidget::mousePressEvent(QMouseEvent* event)
{
    const QPoint at = event->position().toPoint();
    const bool onChart = startsZoomOrScroll(chartPartAt(chartLayout(model_, rect()), model_, at));
    apply(zoom_.press(zoomButton(event->button()), at, onChart));
}

void ChartWidget::mouseMoveEvent(QMouseEvent* event)
{
    apply(zoom_.move(event->position().toPoint(), currentFrame()));
}

void ChartWidget::mouseReleaseEvent(QMouseEvent* event)
{
    apply(zoom_.release(zoomButton(event->button()), event->position().toPoint(), currentFrame()));
}

void ChartWidget::wheelEvent(QWheelEvent* event)
{
    apply(zoom_.wheelTurned(event->angleDelta().y(), currentFrame()));
    event->accept();
}

void ChartWidget::apply(const ZoomEffect& effect)
{
    if (effect.removeOutline)
        invertOnScreen(*effect.removeOutline);
    if (effect.drawOutline)
        invertOnScreen(*effect.drawOutline);
    if (effect.redraw)
        model_.markChanged();
}

void ChartWidget::invertOnScreen(const QRect& rect)
{
    if (!bitmapFits()) {
        update(); // the next paint draws the chart anew, with the rectangle as shown then
        return;
    }
    invertOutline(bitmap_, rect, zoomOutlineColor(systemFrameColors().face));
    update(rect.adjusted(-1, -1, 1, 1)); // device pixels at a fractional ratio may reach past it
}

} // namespace uriage::chart
