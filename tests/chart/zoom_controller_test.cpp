// The zoom controller as a state machine over a fixed frame: which drags
// zoom, undo or do nothing, what a zoom and a scroll do to the ranges, the
// wheel, and what is saved for the undo.
#include "chart/zoom/zoom_controller.h"

#include <gtest/gtest.h>

#include <vector>

namespace uriage::chart {
namespace {

// Plot rectangle 100..500 x 50..350. Bottom: 1 per pixel from 0 at x = 100;
// left: 10 per pixel from 1000 at y = 350; right: 0.1 per pixel from 0.
ZoomFrame frame()
{
    ZoomFrame f;
    f.plot = QRect(QPoint(100, 50), QPoint(500, 350));
    f.maps[Axis::Bottom] = ValueMap(100, 500, 0, 400);
    f.maps[Axis::Left] = ValueMap(350, 50, 1000, 4000);
    f.maps[Axis::Right] = ValueMap(350, 50, 0, 30);
    return f;
}

void expectRange(const std::optional<ValueRange>& range, double minimum, double maximum)
{
    ASSERT_TRUE(range.has_value());
    EXPECT_DOUBLE_EQ(range->minimum, minimum);
    EXPECT_DOUBLE_EQ(range->maximum, maximum);
}

ZoomEffect drag(ZoomController& zoom, ZoomButton button, QPoint from, QPoint to, const ZoomFrame& f = frame())
{
    zoom.press(button, from, true);
    zoom.move(to, f);
    return zoom.release(button, to, f);
}

TEST(ZoomController, LeftDragsZoomUndoOrDoNothingBySizeAndDirection)
{
    enum Outcome { Nothing, Zoom, Undo };
    const QPoint p(300, 200);
    const struct {
        const char* name;
        QPoint end;
        Outcome outcome;
    } cases[] = {
        {"16 right, 40 down", p + QPoint(16, 40), Nothing},
        {"40 right, 16 down", p + QPoint(40, 16), Nothing},
        {"16 left, 16 up", p + QPoint(-16, -16), Nothing},
        {"no movement", p, Nothing},
        {"17 right, 17 down", p + QPoint(17, 17), Zoom},
        {"17 left, 17 up", p + QPoint(-17, -17), Undo},
        {"40 right, 40 up", p + QPoint(40, -40), Undo},
        {"40 left, 40 down", p + QPoint(-40, 40), Undo},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        // Start zoomed, so that an undo shows.
        ZoomState state;
        state.fixed = {ValueRange{1, 2}, ValueRange{3, 4}, ValueRange{5, 6}};
        state.saved = AxisRangeSet{};
        ZoomController zoom(state);
        const ZoomEffect effect = drag(zoom, ZoomButton::Left, p, c.end);
        EXPECT_EQ(zoom.mode(), ZoomMode::Idle);
        EXPECT_EQ(effect.redraw, c.outcome != Nothing);
        switch (c.outcome) {
        case Nothing:
            expectRange(state.fixed[Axis::Bottom], 1, 2);
            expectRange(state.fixed[Axis::Left], 3, 4);
            expectRange(state.fixed[Axis::Right], 5, 6);
            EXPECT_TRUE(state.saved.has_value());
            break;
        case Zoom:
            expectRange(state.fixed[Axis::Bottom], 200, 217);
            EXPECT_TRUE(state.saved.has_value()) << "the first saved state is kept";
            EXPECT_FALSE((*state.saved)[Axis::Bottom].has_value());
            break;
        case Undo:
            EXPECT_TRUE(state.isNormal());
            break;
        }
    }
}

TEST(ZoomController, AZoomFixesAllThreeRangesToTheRectanglesValues)
{
    ZoomState state;
    ZoomController zoom(state);
    const ZoomEffect effect = drag(zoom, ZoomButton::Left, {150, 100}, {250, 300});
    EXPECT_TRUE(effect.redraw);
    expectRange(state.fixed[Axis::Bottom], 50, 150);    // left and right edges
    expectRange(state.fixed[Axis::Left], 1500, 3500);   // bottom and top edges
    expectRange(state.fixed[Axis::Right], 5, 25);
    ASSERT_TRUE(state.saved.has_value());
    for (const auto& saved : *state.saved)
        EXPECT_FALSE(saved.has_value()) << "the automatic state is what was saved";
}

TEST(ZoomController, UndoRestoresTheStateBeforeTheFirstZoomOnly)
{
    ZoomState state;
    ZoomController zoom(state);
    drag(zoom, ZoomButton::Left, {150, 100}, {250, 300});
    drag(zoom, ZoomButton::Left, {120, 60}, {400, 300}); // a zoom inside the zoom
    expectRange(state.fixed[Axis::Bottom], 20, 300);
    drag(zoom, ZoomButton::Left, {400, 300}, {200, 100}); // up and left
    EXPECT_TRUE(state.isNormal());

    // Undoing again with nothing saved only asks for a redraw.
    const ZoomEffect again = zoom.undo();
    EXPECT_TRUE(again.redraw);
    EXPECT_TRUE(state.isNormal());
}

TEST(ZoomController, RightDragScrollsEachAxisByTheValueDifference)
{
    ZoomState state;
    ZoomController zoom(state);
    const ZoomFrame f = frame();
    zoom.press(ZoomButton::Right, {200, 200}, true);
    EXPECT_EQ(zoom.mode(), ZoomMode::Scrolling);

    // 10 pixels right and up: the content follows the mouse.
    EXPECT_TRUE(zoom.move({210, 190}, f).redraw);
    expectRange(state.fixed[Axis::Bottom], -10, 390);
    expectRange(state.fixed[Axis::Left], 900, 3900);
    expectRange(state.fixed[Axis::Right], -1, 29);
    ASSERT_TRUE(state.saved.has_value()) << "a drag-scroll saves the automatic state";

    // The next move measures from the previous mouse position, on the frame
    // as laid out with the shifted ranges.
    ZoomFrame shifted = f;
    shifted.maps[Axis::Bottom] = ValueMap(100, 500, -10, 390);
    shifted.maps[Axis::Left] = ValueMap(350, 50, 900, 3900);
    shifted.maps[Axis::Right] = ValueMap(350, 50, -1, 29);
    zoom.move({205, 190}, shifted);
    expectRange(state.fixed[Axis::Bottom], -5, 395);
    expectRange(state.fixed[Axis::Left], 900, 3900);

    // Leaving the plot rectangle ends scrolling; coming back changes nothing.
    EXPECT_FALSE(zoom.move({501, 190}, shifted).redraw);
    EXPECT_EQ(zoom.mode(), ZoomMode::Idle);
    EXPECT_FALSE(zoom.move({300, 300}, shifted).redraw);
    expectRange(state.fixed[Axis::Bottom], -5, 395);

    zoom.undo();
    EXPECT_TRUE(state.isNormal());
}

TEST(ZoomController, AnyButtonReleaseEndsScrolling)
{
    for (ZoomButton button : {ZoomButton::Left, ZoomButton::Right, ZoomButton::Other}) {
        ZoomState state;
        ZoomController zoom(state);
        zoom.press(ZoomButton::Right, {200, 200}, true);
        zoom.release(button, {200, 200}, frame());
        EXPECT_EQ(zoom.mode(), ZoomMode::Idle);
        EXPECT_FALSE(zoom.move({250, 250}, frame()).redraw);
        EXPECT_TRUE(state.isNormal());
    }
}

TEST(ZoomController, WheelStepsMoveTheVerticalAxesAndSaveTheAutomaticStateOnce)
{
    const struct {
        int steps;
        double leftMinimum, rightMinimum;
    } cases[] = {
        {-1, 1090, 0.9},  // down: the range moves up by 3 %
        {1, 910, -0.9},   // up: down by 3 %
        {-2, 1180, 1.8},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.steps);
        ZoomState state;
        ZoomController zoom(state);
        EXPECT_TRUE(zoom.wheel(c.steps, frame()).redraw);
        expectRange(state.fixed[Axis::Left], c.leftMinimum, c.leftMinimum + 3000);
        expectRange(state.fixed[Axis::Right], c.rightMinimum, c.rightMinimum + 30);
        EXPECT_FALSE(state.fixed[Axis::Bottom].has_value());
        // The first step saves the automatic state, as the first zoom does.
        ASSERT_TRUE(state.saved.has_value());
        for (const auto& range : *state.saved)
            EXPECT_FALSE(range.has_value());

        // A second step keeps what the first one saved.
        ZoomFrame moved = frame();
        moved.maps[Axis::Left] = ValueMap(350, 50, state.fixed[Axis::Left]->minimum, state.fixed[Axis::Left]->maximum);
        zoom.wheel(c.steps, moved);
        ASSERT_TRUE(state.saved.has_value());
        EXPECT_FALSE((*state.saved)[Axis::Left].has_value());

        // The undo brings the automatic ranges back.
        EXPECT_TRUE(zoom.undo().redraw);
        EXPECT_TRUE(state.isNormal());
    }
}

TEST(ZoomController, WheelTurnsCountInWholeSteps)
{
    const struct {
        const char* name;
        std::vector<int> deltas;
        double leftMinimum; // 1000 is where it starts
    } cases[] = {
        {"half a step does nothing", {60}, 1000},
        {"two halves make a step up", {60, 60}, 910},
        {"a double step down", {-240}, 1180},
        {"back and forth", {120, -120}, 1000},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        ZoomState state;
        ZoomController zoom(state);
        ZoomFrame f = frame();
        for (int delta : c.deltas) {
            zoom.wheelTurned(delta, f);
            if (state.fixed[Axis::Left]) // the next event sees the moved axis
                f.maps[Axis::Left] = ValueMap(350, 50, state.fixed[Axis::Left]->minimum, state.fixed[Axis::Left]->maximum);
        }
        EXPECT_NEAR(f.maps[Axis::Left].minimum(), c.leftMinimum, 1e-9);
    }
}

TEST(ZoomController, ZoomAndWheelInEitherOrderUndoToTheAutomaticRanges)
{
    const struct {
        const char* name;
        bool wheelFirst;
    } cases[] = {{"wheel, then zoom", true}, {"zoom, then wheel", false}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        ZoomState state;
        ZoomController zoom(state);
        if (c.wheelFirst)
            zoom.wheel(-1, frame());
        drag(zoom, ZoomButton::Left, {150, 100}, {250, 300});
        if (!c.wheelFirst)
            zoom.wheel(-1, frame());
        ASSERT_TRUE(state.fixed[Axis::Left].has_value());
        drag(zoom, ZoomButton::Left, {250, 300}, {150, 100});
        EXPECT_TRUE(state.isNormal());
    }
}

TEST(ZoomController, AWheelStepLeavesAnAxisOfRangeZeroAutomatic)
{
    ZoomFrame empty = frame();
    empty.maps[Axis::Left] = ValueMap(350, 50, 0, 0);
    ZoomState state;
    ZoomController zoom(state);
    zoom.wheel(-1, empty);
    EXPECT_FALSE(state.fixed[Axis::Left].has_value());
    expectRange(state.fixed[Axis::Right], 0.9, 30.9);

    // With nothing to move on either axis, nothing is fixed and nothing saved.
    empty.maps[Axis::Right] = ValueMap(350, 50, 0, 0);
    ZoomState untouched;
    ZoomController still(untouched);
    EXPECT_TRUE(still.wheel(-1, empty).redraw);
    EXPECT_TRUE(untouched.isNormal());
}

TEST(ZoomController, PressesOffTheChartOrDuringADragStartNothing)
{
    ZoomState state;
    ZoomController zoom(state);
    zoom.press(ZoomButton::Left, {300, 200}, false);
    EXPECT_EQ(zoom.mode(), ZoomMode::Idle);
    zoom.press(ZoomButton::Other, {300, 200}, true);
    EXPECT_EQ(zoom.mode(), ZoomMode::Idle);

    // A right press during a zoom neither scrolls nor ends the zoom.
    zoom.press(ZoomButton::Left, {150, 100}, true);
    zoom.press(ZoomButton::Right, {400, 300}, true);
    EXPECT_EQ(zoom.mode(), ZoomMode::Zooming);
    EXPECT_FALSE(zoom.move({160, 120}, frame()).redraw);
    EXPECT_TRUE(state.isNormal());
    zoom.release(ZoomButton::Right, {250, 300}, frame());
    EXPECT_EQ(zoom.mode(), ZoomMode::Zooming);
    zoom.release(ZoomButton::Left, {250, 300}, frame());
    expectRange(state.fixed[Axis::Bottom], 50, 150);

    // A left press during a scroll does not start a zoom.
    zoom.press(ZoomButton::Right, {200, 200}, true);
    zoom.press(ZoomButton::Left, {200, 200}, true);
    EXPECT_EQ(zoom.mode(), ZoomMode::Scrolling);
}

TEST(ZoomController, TheOutlineFollowsTheMouseAndGoesAtTheRelease)
{
    ZoomState state;
    ZoomController zoom(state);
    zoom.press(ZoomButton::Left, {200, 200}, true);
    EXPECT_FALSE(zoom.shownOutline().has_value());

    ZoomEffect e = zoom.move({230, 240}, frame());
    EXPECT_FALSE(e.removeOutline.has_value());
    EXPECT_EQ(e.drawOutline, QRect(QPoint(200, 200), QPoint(230, 240)));

    e = zoom.move({180, 190}, frame()); // up and left of the press point
    EXPECT_EQ(e.removeOutline, QRect(QPoint(200, 200), QPoint(230, 240)));
    EXPECT_EQ(e.drawOutline, QRect(QPoint(180, 190), QPoint(200, 200)));

    e = zoom.move({180, 190}, frame());
    EXPECT_FALSE(e.removeOutline || e.drawOutline) << "same place: nothing to redraw";

    e = zoom.release(ZoomButton::Left, {180, 190}, frame());
    EXPECT_EQ(e.removeOutline, QRect(QPoint(180, 190), QPoint(200, 200)));
    EXPECT_FALSE(e.drawOutline.has_value());
    EXPECT_FALSE(zoom.shownOutline().has_value());
}

TEST(ZoomFrameValues, ValueAtPixelInvertsTheAxisMapping)
{
    const struct {
        const char* name;
        ValueMap map;
        int pixel;
        double value;
    } cases[] = {
        {"bottom, left end", ValueMap(100, 500, 0, 400), 100, 0},
        {"bottom, beyond the right end", ValueMap(100, 500, 0, 400), 600, 500},
        {"vertical, top", ValueMap(350, 50, 1000, 4000), 50, 4000},
        {"vertical, below the bottom", ValueMap(350, 50, 1000, 4000), 360, 900},
        {"range 0", ValueMap(350, 50, 7, 7), 100, 7},
        {"no pixel length", ValueMap(80, 80, 1, 9), 80, 1},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_DOUBLE_EQ(c.map.valueAt(c.pixel), c.value);
    }
}

} // namespace
} // namespace uriage::chart
