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

// A screen position's coordinate along an axis.
int along(Axis axis, QPoint p) { return axis == Axis::Bottom ? p.x() : p.y(); }

} // namespace

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
    if (mode_ == ZoomMode::Zooming)
        return stretchOutline(position);
    if (mode_ == ZoomMode::Scrolling)
        return scrollTo(position, frame);
    return {};
}

ZoomEffect ZoomController::stretchOutline(QPoint position)
{
    ZoomEffect effect;
    const QRect rect = spannedRect(pressed_, position);
    if (outline_ == rect)
        return effect;
    effect.removeOutline = outline_;
    effect.drawOutline = rect;
    outline_ = rect;
    return effect;
}

ZoomEffect ZoomController::scrollTo(QPoint position, const ZoomFrame& frame)
{
    ZoomEffect effect;
    if (!frame.plot.contains(position)) {
        mode_ = ZoomMode::Idle; // leaving the plot rectangle ends scrolling
        return effect;
    }
    // Each axis moves by the value difference between the previous and the
    // new mouse position, so that the content follows the mouse.
    AxisRangeSet next;
    bool moved = false;
    for (Axis axis : kAllAxes) {
        const ValueMap& map = frame.maps[axis];
        const double by = map.valueAt(along(axis, position)) - map.valueAt(along(axis, last_));
        moved = moved || by != 0;
        next[axis] = shifted(shownRange(map), -by);
    }
    last_ = position;
    if (!moved)
        return effect;
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
    const ValueMap& bottom = frame.maps[Axis::Bottom];
    AxisRangeSet next;
    next[Axis::Bottom] = ValueRange{bottom.valueAt(from.x()), bottom.valueAt(to.x())};
    for (Axis axis : {Axis::Left, Axis::Right})
        next[axis] = ValueRange{frame.maps[axis].valueAt(to.y()), frame.maps[axis].valueAt(from.y())};
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
    // moves it down.
    AxisRangeSet next = state_.fixed;
    bool moves = false;
    for (Axis axis : {Axis::Left, Axis::Right}) {
        const ValueRange range = shownRange(frame.maps[axis]);
        if (range.maximum == range.minimum)
            continue; // nothing to move: an empty axis is not frozen at 0 .. 0
        const ValueRange moved = shifted(range, -steps * kWheelShare * (range.maximum - range.minimum));
        if (finite(moved)) {
            next[axis] = moved;
            moves = true;
        }
    }
    // Like the first zoom or drag-scroll, the first step saves the automatic
    // state, so that an undo brings the automatic ranges back.
    if (moves) {
        saveOnce();
        state_.fixed = next;
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
