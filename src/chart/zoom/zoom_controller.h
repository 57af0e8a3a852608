#pragma once
// The mouse zoom and scroll of a chart as a state machine, apart from
// painting. The chart widget forwards presses, moves, releases and wheel
// steps with the chart as laid out at that moment; the controller changes the
// axes' fixed ranges and tells the widget what to show.
//
// Left button: a drag right and down by more than 16 pixels both ways zooms
// into the dragged rectangle; any other drag of that size undoes the zoom.
// Right button: the content follows the mouse while it stays inside the plot
// rectangle. Wheel: the vertical axes move by 3 % of their size per step.
#include "chart/layout/pixel_rect.h"
#include "chart/model/zoom_state.h"
#include "chart/zoom/zoom_frame.h"

#include <QPoint>
#include <QRect>
#include <optional>

namespace uriage::chart {

enum class ZoomButton { Left, Right, Other };

// Normal and Zoomed-or-scrolled are told apart by ZoomState; the controller
// adds whether a drag is under way.
enum class ZoomMode { Idle, Zooming, Scrolling };

// What the widget has to do after an event.
struct ZoomEffect {
    bool redraw = false;                  // the ranges changed, or an undo: redraw the chart
    std::optional<QRect> removeOutline;   // invert this outline again to take it away
    std::optional<QRect> drawOutline;     // invert this outline to show it
};

class ZoomController {
public:
    // Drags of this many pixels or fewer (in either direction) do nothing.
    static constexpr int kMinimumDrag = 16;
    // Share of a vertical axis' range that one wheel step moves it by.
    static constexpr double kWheelShare = 0.03;
    // One wheel step in eighths of a degree.
    static constexpr int kWheelStep = 120;

    explicit ZoomController(ZoomState& state) : state_(state) {}

    ZoomMode mode() const { return mode_; }
    // The zoom rectangle as it is shown now, if any.
    const std::optional<QRect>& shownOutline() const { return outline_; }

    // onChart: the press lies on a series, an axis or the plot rectangle.
    ZoomEffect press(ZoomButton button, QPoint position, bool onChart);
    ZoomEffect move(QPoint position, const ZoomFrame& frame);
    ZoomEffect release(ZoomButton button, QPoint position, const ZoomFrame& frame);
    // steps > 0: the wheel turned up (away from the user), < 0: down. Like
    // the first zoom or drag-scroll, the first step saves the automatic state.
    ZoomEffect wheel(int steps, const ZoomFrame& frame);
    // A turn of the wheel in eighths of a degree: every whole step of 120
    // counts, smaller turns add up until they make one.
    ZoomEffect wheelTurned(int angleDelta, const ZoomFrame& frame);
    // Restores the saved automatic state, if any, and asks for a redraw.
    ZoomEffect undo();

private:
    ZoomEffect stretchOutline(QPoint position);
    ZoomEffect scrollTo(QPoint position, const ZoomFrame& frame);
    void saveOnce();
    void zoomInto(QPoint from, QPoint to, const ZoomFrame& frame);

    ZoomState& state_;
    ZoomMode mode_ = ZoomMode::Idle;
    QPoint pressed_;                      // where the zoom rectangle started
    QPoint last_;                         // the previous mouse position while scrolling
    std::optional<QRect> outline_;
    int wheelRemainder_ = 0;              // eighths of a degree not yet a whole step
};

} // namespace uriage::chart
