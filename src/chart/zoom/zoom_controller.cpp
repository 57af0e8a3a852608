#include "chart/zoom/zoom_controller.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>

namespace uriage::chart {

namespace {

bool finite(const ValueRange& range) { return std::isfinite(range.minimum) && std::isfinite(range.maximum); }

// The range an axis shows now: its fixed one, or the automatic one of the layout.
ValueRange shownRange(const ValueMap& map) { return {map.minimum(), map.maximum()}; }

ValueRange shifted(const ValueRange& range, double by) { return {range.minimum + by, range.maximum + by}; }

} // namespace

QRect spannedRect(QPoint a, QPoint b)
{
    return QRect(QPoint(std::min(a.x(), b.x()), std::min(a.y(), b.y())),
                 QPoint(std::max(a.x(), b.x()), std::max(a.y(), b.y())));
}

void ZoomController::saveOnce()
{
    if (!state_.saved)
        state_.saved = state_.fixed;
}

ZoomEffect ZoomController::press(ZoomButton button, QPoint position, bool onChart)
{
    if (mode_ != ZoomMode::Idle || !onChart)
        return {};
    if (button == ZoomButton::Left) {
        mode_ = ZoomMode::Zooming;
        pressed_ = position;
    } else if (button == ZoomButton::Right) {
        mode_ = ZoomMode::Scrolling;
        last_ = position;
    }
    return {};
}

ZoomEffect ZoomController::move(QPoint position, const ZoomFrame& frame)
{
    ZoomEffect effect;
    if (mode_ == ZoomMode::Zooming) {
        const QRect rect = spannedRect(pressed_, position);
        if (outline_ == rect)
            return effect;
        effect.removeOutline = outline_;
        effect.drawOutline = rect;
        outline_ = rect;
        return effect;
    }
    if (mode_ != ZoomMode::Scrolling)
        return effect;
    if (!frame.plot.contains(position)) {
        mode_ = ZoomMode::Idle; // leaving the plot rectangle ends scrolling
        return effect;
    }
    // Each axis moves by the value difference between the previous and the
    // new mouse position, so that the content follows the mouse.
    const double dx = valueAtPixel(frame.bottom, position.x()) - valueAtPixel(frame.bottom, last_.x());
    const double dyLeft = valueAtPixel(frame.left, position.y()) - valueAtPixel(frame.left, last_.y());
    const double dyRight = valueAtPixel(frame.right, position.y()) - valueAtPixel(frame.right, last_.y());
    last_ = position;
    if (dx == 0 && dyLeft == 0 && dyRight == 0)
        return effect;
    const AxisRangeSet next = {shifted(shownRange(frame.bottom), -dx), shifted(shownRange(frame.left), -dyLeft),
                               shifted(shownRange(frame.right), -dyRight)};
    for (const auto& range : next)
        if (!finite(*range))
            return effect; // no shift out of the reach of the number type
    saveOnce();
    state_.fixed = next;
    effect.redraw = true;
    return effect;
}

ZoomEffect ZoomController::release(ZoomButton button, QPoint position, const ZoomFrame& frame)
{
    ZoomEffect effect;
    if (mode_ == ZoomMode::Scrolling) {
        mode_ = ZoomMode::Idle; // any button released ends scrolling
        return effect;
    }
    if (mode_ != ZoomMode::Zooming || button != ZoomButton::Left)
        return effect;
    mode_ = ZoomMode::Idle;
    effect.removeOutline = outline_;
    outline_.reset();
    const int dx = position.x() - pressed_.x();
    const int dy = position.y() - pressed_.y();
    if (std::abs(dx) <= kMinimumDrag || std::abs(dy) <= kMinimumDrag)
        return effect;
    if (dx > 0 && dy > 0)
        zoomInto(pressed_, position, frame);
    else
        undo();
    effect.redraw = true;
    return effect;
}

void ZoomController::zoomInto(QPoint from, QPoint to, const ZoomFrame& frame)
{
    // The bottom axis takes the values at the rectangle's left and right
    // edges, the vertical axes those at its bottom and top edges.
    const AxisRangeSet next = {
        ValueRange{valueAtPixel(frame.bottom, from.x()), valueAtPixel(frame.bottom, to.x())},
        ValueRange{valueAtPixel(frame.left, to.y()), valueAtPixel(frame.left, from.y())},
        ValueRange{valueAtPixel(frame.right, to.y()), valueAtPixel(frame.right, from.y())}};
    for (const auto& range : next)
        if (!finite(*range))
            return;
    saveOnce();
    state_.fixed = next;
}

ZoomEffect ZoomController::wheel(int steps, const ZoomFrame& frame)
{
    ZoomEffect effect;
    if (steps == 0)
        return effect;
    // A step down moves the range up (the content moves down), a step up
    // moves it down. Nothing is saved.
    for (int axis : {LeftAxis, RightAxis}) {
        const ValueMap& map = axis == LeftAxis ? frame.left : frame.right;
        const ValueRange range = shownRange(map);
        if (range.maximum == range.minimum)
            continue; // nothing to move: an empty axis is not frozen at 0 .. 0
        const ValueRange next = shifted(range, -steps * kWheelShare * (range.maximum - range.minimum));
        if (finite(next))
            state_.fixed[axis] = next;
    }
    effect.redraw = true;
    return effect;
}

ZoomEffect ZoomController::wheelTurned(int angleDelta, const ZoomFrame& frame)
{
    wheelRemainder_ += angleDelta;
    const int steps = wheelRemainder_ / kWheelStep;
    wheelRemainder_ -= steps * kWheelStep;
    return wheel(steps, frame);
}

ZoomEffect ZoomController::undo()
{
    if (state_.saved) {
        state_.fixed = *state_.saved;
        state_.saved.reset();
    }
    ZoomEffect effect;
    effect.redraw = true;
    return effect;
}

} // namespace uriage::chart
