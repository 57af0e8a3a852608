// Which points a series draws, where, and in which order its segments and
// markers are laid down.
#include "chart/draw/marker_painter.h"
#include "chart/layout/series_geometry.h"
#include "chart/model/series.h"
#include "series_test_canvas.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <string>
#include <vector>

namespace uriage::chart {
namespace {

using testing::testFrame;

struct P {
    double x;
    double y;
    bool isNull = false;
};

Series makeSeries(const std::vector<P>& points)
{
    Series series;
    for (const P& p : points)
        series.add(p.x, p.y, QString(), p.isNull);
    return series;
}

// "S(x,y)-(x,y)" for a segment (with "!" when steep), "M<index>@(x,y)" for a marker.
std::vector<std::string> describe(const SeriesGeometry& g)
{
    std::vector<std::string> out;
    for (const SeriesStep& s : g.steps) {
        if (s.kind == SeriesStep::Kind::Segment)
            out.push_back("S(" + std::to_string(s.from.x()) + "," + std::to_string(s.from.y()) + ")-(" +
                          std::to_string(s.to.x()) + "," + std::to_string(s.to.y()) + ")" + (s.steep ? "!" : ""));
        else
            out.push_back("M" + std::to_string(s.index) + "@(" + std::to_string(s.from.x()) + "," +
                          std::to_string(s.from.y()) + ")");
    }
    return out;
}

struct StepCase {
    const char* name;
    std::vector<P> points;
    std::vector<std::string> steps;
};

void PrintTo(const StepCase& c, std::ostream* os) { *os << c.name; }

class SeriesSteps : public ::testing::TestWithParam<StepCase> {};

TEST_P(SeriesSteps, SegmentsAndMarkersInPaintingOrder)
{
    const StepCase& c = GetParam();
    const SeriesGeometry g = seriesGeometry(makeSeries(c.points), testFrame());
    EXPECT_EQ(describe(g), c.steps);
}

const double kNaN = std::numeric_limits<double>::quiet_NaN();

INSTANTIATE_TEST_SUITE_P(
    Series, SeriesSteps,
    ::testing::Values(
        StepCase{"Empty", {}, {}},
        StepCase{"OnePointOnlyItsMarker", {{50, 40}}, {"M0@(50,120)"}},
        StepCase{"EachMarkerAfterBothItsSegments",
                 {{40, 40}, {80, 60}, {120, 50}},
                 {"S(40,120)-(80,100)", "M0@(40,120)", "S(80,100)-(120,110)", "M1@(80,100)", "M2@(120,110)"}},
        StepCase{"SamePixelNoSegmentBothMarkers", {{60, 40}, {60.2, 40.3}}, {"M0@(60,120)", "M1@(60,120)"}},
        StepCase{"FarOutsideSkippedAndNotPrevious",
                 {{40, 40}, {80, 1e9}, {120, 40}},
                 {"S(40,120)-(120,120)", "M0@(40,120)", "M2@(120,120)"}},
        StepCase{"JustPastTheLimitSkippedBeforeRounding",
                 {{-32766, 40}, {40, 40}, {32766.4, 40}},
                 {"S(-32766,120)-(40,120)", "M0@(-32766,120)", "M1@(40,120)"}},
        StepCase{"NotANumberSkipped", {{40, kNaN}, {80, 40}}, {"M1@(80,120)"}},
        StepCase{"SkippedLastPointLeavesTheMarkerBeforeIt",
                 {{40, 40}, {80, 50}, {90, -1e12}},
                 {"S(40,120)-(80,110)", "M0@(40,120)", "M1@(80,110)"}},
        StepCase{"NullPointAtZero", {{40, 40}, {80, 77, true}}, {"S(40,120)-(80,160)", "M0@(40,120)", "M1@(80,160)"}},
        StepCase{"HalvesRoundToEven", {{40.5, 40}, {41.5, 40}}, {"S(40,120)-(42,120)", "M0@(40,120)", "M1@(42,120)"}},
        StepCase{"SteepRiseMarked", {{40, 40}, {50, 51}, {60, 61}}, {"S(40,120)-(50,109)!", "M0@(40,120)", "S(50,109)-(60,99)", "M1@(50,109)", "M2@(60,99)"}}),
    [](const auto& info) { return std::string(info.param.name); });

struct RangeCase {
    const char* name;
    std::vector<double> xs;
    double minimum;
    double maximum;
    std::size_t first;
    std::size_t end;
};

void PrintTo(const RangeCase& c, std::ostream* os) { *os << c.name; }

class SeriesDrawnRange : public ::testing::TestWithParam<RangeCase> {};

TEST_P(SeriesDrawnRange, PointsDrawnForTheBottomAxisRange)
{
    const RangeCase& c = GetParam();
    Series series;
    for (double x : c.xs)
        series.add(x, 1, QString(), false);
    const auto [first, end] = drawnRange(series, c.minimum, c.maximum);
    EXPECT_EQ(first, c.first);
    EXPECT_EQ(end, c.end);
}

INSTANTIATE_TEST_SUITE_P(
    Series, SeriesDrawnRange,
    ::testing::Values(RangeCase{"CoveringAll", {1, 2, 3, 4}, 0.5, 4.5, 0, 4},
                      RangeCase{"SameXOnARangeOfZero", {3, 3, 3}, 3, 3, 0, 3},
                      RangeCase{"ZoomedInside", {1, 2, 3, 4, 5}, 1.5, 3.5, 1, 4},
                      RangeCase{"ZoomedOnPoints", {1, 2, 3, 4, 5}, 2, 4, 1, 4},
                      RangeCase{"ScrolledPastTheEnd", {1, 2, 3}, 2.5, 9, 2, 3},
                      RangeCase{"AllBelowTheMinimum", {1, 2, 3}, 5, 9, 3, 3},
                      RangeCase{"Empty", {}, 0, 1, 0, 0}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(SeriesLeadIn, StartsAtTheLeftEdgeOnTheLineToTheFirstDrawnPoint)
{
    SeriesFrame frame = testFrame();
    frame.maps[Axis::Bottom] = ValueMap(25, 90, 25, 90); // zoomed: the point at 10 is left out
    const Series series = makeSeries({{10, 40}, {30, 60}, {50, 50}, {100, 0}});
    const SeriesGeometry g = seriesGeometry(series, frame);
    ASSERT_TRUE(g.leadInStart.has_value());
    // At x 25 the line from (10, 40) to (30, 60) is at 55: pixel row 160 - 55.
    EXPECT_EQ(*g.leadInStart, QPoint(25, 105));
    // The lead-in has no marker of its own; the point at 100 is the last drawn.
    EXPECT_EQ(describe(g), (std::vector<std::string>{"S(25,105)-(30,100)", "S(30,100)-(50,110)", "M1@(30,100)",
                                                     "S(50,110)-(100,160)", "M2@(50,110)", "M3@(100,160)"}));
}

TEST(SeriesLeadIn, NoneWhenTheFirstPointIsDrawn)
{
    SeriesFrame frame = testFrame();
    frame.maps[Axis::Bottom] = ValueMap(10, 40, 10, 40);
    const SeriesGeometry g = seriesGeometry(makeSeries({{10, 40}, {30, 60}, {50, 50}}), frame);
    EXPECT_FALSE(g.leadInStart.has_value());
    EXPECT_EQ(g.firstDrawn, 0u);
    EXPECT_EQ(g.endDrawn, 3u); // up to the first point at or above the maximum
}

TEST(SeriesGeometryAxes, RightAxisSeriesUsesTheRightMap)
{
    SeriesConfig config;
    config.axis = VerticalAxis::Right;
    Series series(config);
    series.add(40, 100, QString(), false);
    const SeriesGeometry g = seriesGeometry(series, testFrame());
    ASSERT_EQ(g.points.size(), 1u);
    EXPECT_EQ(g.points[0].position, QPoint(40, 110));
}

struct SteepCase {
    QPoint from;
    QPoint to;
    bool steep;
};

TEST(SeriesSteepRise, OnlyRisesSteeperThanTheDepthDirection)
{
    const SteepCase cases[] = {
        {{0, 0}, {10, -11}, true},  // rises 11 over 10
        {{0, 0}, {10, -10}, false}, // exactly 45 degrees
        {{0, 0}, {10, -3}, false},  // gentle rise
        {{0, 0}, {10, 30}, false},  // steep fall
        {{5, 0}, {5, -40}, false},  // same column
    };
    for (const SteepCase& c : cases)
        EXPECT_EQ(risesSteeply(c.from, c.to), c.steep) << c.to.x() << "," << c.to.y();
}

TEST(SeriesColours, DarkeningLowersEachChannelAndStopsAtZero)
{
    struct Case {
        QColor color;
        int amount;
        QColor expected;
    };
    const Case cases[] = {
        {colors::yellow, 64, QColor(191, 191, 0)},
        {colors::green, 64, QColor(0, 64, 0)},
        {colors::green, 128, QColor(0, 0, 0)}, // a channel equal to the amount goes to 0
        {colors::teal, 128, QColor(0, 0, 0)},
        {QColor(129, 200, 10), 128, QColor(1, 72, 0)},
    };
    for (const Case& c : cases)
        EXPECT_EQ(darkened(c.color, c.amount).rgb(), c.expected.rgb()) << c.color.name().toStdString();
}

TEST(SeriesDepthSlots, LastSeriesInFrontFirstAtTheBack)
{
    const int w = 9;
    EXPECT_EQ(depthSlot(2, 3, w).front, 0); // Series3
    EXPECT_EQ(depthSlot(2, 3, w).back, 9);
    EXPECT_EQ(depthSlot(1, 3, w).front, 9); // Series2
    EXPECT_EQ(depthSlot(1, 3, w).back, 18);
    EXPECT_EQ(depthSlot(0, 3, w).front, 18); // Series1
    EXPECT_EQ(depthSlot(0, 3, w).back, 27);
}

} // namespace
} // namespace uriage::chart
