// Axis ranges from the series' points, the marker margin, and whole axes
// worked out with fixed metrics: the empty chart, one point, minor ticks.
#include "axis_fixed_metrics.h"
#include "chart/axes/axis_scale.h"
#include "chart/model/chart_model.h"

#include <gtest/gtest.h>

namespace uriage::chart {
namespace {

using testing::FixedMeasurer;

SeriesConfig seriesConfig(VerticalAxis axis, int halfWidth, int halfHeight, bool dateTime = true)
{
    SeriesConfig config;
    config.axis = axis;
    config.marker.halfWidth = halfWidth;
    config.marker.halfHeight = halfHeight;
    config.xDateTime = dateTime;
    return config;
}

ChartConfig chartConfig(bool dateTime = true)
{
    ChartConfig config;
    config.series = {seriesConfig(VerticalAxis::Left, 3, 3, dateTime), seriesConfig(VerticalAxis::Right, 3, 3, dateTime),
                     seriesConfig(VerticalAxis::Left, 2, 5, dateTime)};
    return config;
}

TEST(AxisRange, DataRangeOverTheSeriesHoldingPoints)
{
    ChartModel model(chartConfig());
    // Empty: 0 .. 0 on every axis.
    for (Axis side : {Axis::Bottom, Axis::Left, Axis::Right}) {
        const AxisInput input = axisInput(model, side);
        EXPECT_TRUE(input.shown);
        EXPECT_EQ(input.data.minimum, 0);
        EXPECT_EQ(input.data.maximum, 0);
    }
    model.series(0).add(38412, 31000, "2005/03/01", false);
    model.series(0).add(38413, 79000, "2005/03/02", false);
    model.series(1).add(38413, 12, "", false);
    model.series(2).add(38410, 0, "", true); // a null point counts with its 0
    const AxisInput bottom = axisInput(model, Axis::Bottom);
    EXPECT_EQ(bottom.data.minimum, 38410);
    EXPECT_EQ(bottom.data.maximum, 38413);
    const AxisInput left = axisInput(model, Axis::Left);
    EXPECT_EQ(left.data.minimum, 0);
    EXPECT_EQ(left.data.maximum, 79000);
    const AxisInput right = axisInput(model, Axis::Right);
    EXPECT_EQ(right.data.minimum, 12);
    EXPECT_EQ(right.data.maximum, 12);
    // Marker margins: horizontal half-sizes along the bottom, vertical ones upright.
    EXPECT_EQ(bottom.markerMargin, 4);
    EXPECT_EQ(left.markerMargin, 6);
    EXPECT_EQ(right.markerMargin, 4);
}

TEST(AxisRange, MarkerMarginWidensTheRangeUnlessThereIsNoRoom)
{
    const struct {
        ValueRange range;
        int margin;
        int length;
        ValueRange expected;
    } cases[] = {
        {{30000, 80000}, 4, 208, {29000, 81000}},
        {{0, 10}, 5, 20, {-5, 15}},
        {{5, 5}, 4, 208, {5, 5}},      // a range of 0 stays 0
        {{0, 10}, 4, 8, {0, 10}},      // L = 2m: no margin instead of a division by 0
        {{0, 10}, 4, 7, {0, 10}},      // L < 2m: no reversed range
        {{0, 10}, 4, 0, {0, 10}},
        {{0, 10}, 4, -30, {0, 10}},
    };
    for (const auto& c : cases) {
        const ValueRange r = withMarkerMargin(c.range, c.margin, c.length);
        EXPECT_DOUBLE_EQ(r.minimum, c.expected.minimum) << c.length;
        EXPECT_DOUBLE_EQ(r.maximum, c.expected.maximum) << c.length;
    }
    // The outermost points sit m pixels inside the axis ends.
    const ValueRange r = withMarkerMargin({30000, 80000}, 4, 208);
    const ValueMap map(300, 92, r.minimum, r.maximum);
    EXPECT_EQ(map.pixel(30000), 296);
    EXPECT_EQ(map.pixel(80000), 96);
}

TEST(AxisRange, EmptyChartHasOneLabelAtEachAxisCentre)
{
    const FixedMeasurer labels(6, 14);
    const RegionalSettings regional = RegionalSettings::japanese();
    for (bool dateTime : {true, false}) {
        ChartModel model(chartConfig(dateTime));
        const AxisScale bottom = scaleAxis(axisInput(model, Axis::Bottom), 50, 551, labels, regional);
        ASSERT_EQ(bottom.labels.size(), 1u);
        EXPECT_EQ(bottom.style, LabelStyle::Scale);
        EXPECT_EQ(bottom.labels[0].pixel, 300);
        EXPECT_EQ(bottom.labels[0].text, dateTime ? QStringLiteral("0:00") : QStringLiteral("0"));
        for (Axis side : {Axis::Left, Axis::Right}) {
            const AxisScale vertical = scaleAxis(axisInput(model, side), 351, 40, labels, regional);
            ASSERT_EQ(vertical.labels.size(), 1u);
            EXPECT_EQ(vertical.labels[0].pixel, 195);
            EXPECT_EQ(vertical.labels[0].text, QStringLiteral("0"));
        }
    }
}

TEST(AxisRange, OnePointSitsAtTheCentreOfEveryAxis)
{
    ChartModel model(chartConfig());
    model.series(0).add(38412, 52000, "2005/03/01", false);
    model.series(1).add(38412, 17, "", false);
    model.series(2).add(38412, 52000, "", false);
    const FixedMeasurer labels(6, 14);
    const RegionalSettings regional = RegionalSettings::japanese();

    const AxisScale bottom = scaleAxis(axisInput(model, Axis::Bottom), 50, 551, labels, regional);
    EXPECT_EQ(bottom.style, LabelStyle::Points);
    ASSERT_EQ(bottom.labels.size(), 1u);
    EXPECT_EQ(bottom.labels[0].pixel, 300);
    EXPECT_EQ(bottom.labels[0].text, QStringLiteral("2005/03/01"));

    for (Axis side : {Axis::Left, Axis::Right}) {
        const AxisScale vertical = scaleAxis(axisInput(model, side), 351, 40, labels, regional);
        ASSERT_EQ(vertical.labels.size(), 1u);
        EXPECT_EQ(vertical.map.pixel(vertical.labels[0].value), 195);
        EXPECT_EQ(vertical.labels[0].text, side == Axis::Left ? QStringLiteral("52,000") : QStringLiteral("17"));
    }

    // Different values on the left axis: a real range, several labels.
    model.series(2).clear();
    model.series(2).add(38412, 3000, "", false);
    const AxisScale left = scaleAxis(axisInput(model, Axis::Left), 351, 40, labels, regional);
    EXPECT_GT(left.labels.size(), 2u);
    EXPECT_LT(left.map.minimum(), 3000);
    EXPECT_GT(left.map.maximum(), 52000);
}

TEST(AxisRange, TooShortAnAxisGetsNoLabelsAndEndsAtOnce)
{
    ChartModel model(chartConfig());
    model.series(0).add(38412, 30000, "", false);
    model.series(0).add(38413, 80000, "", false);
    const FixedMeasurer labels(6, 14);
    for (int length : {8, 1, 0, -20}) {
        const AxisScale left = scaleAxis(axisInput(model, Axis::Left), 100, 100 - length, labels,
                                         RegionalSettings::japanese());
        EXPECT_DOUBLE_EQ(left.map.minimum(), 30000) << length;
        EXPECT_DOUBLE_EQ(left.map.maximum(), 80000) << length;
        if (length <= 0) {
            EXPECT_TRUE(left.labels.empty()) << length;
        }
    }
}

TEST(AxisRange, VerticalLabelBandMeasuresTheCutEnds)
{
    AxisScale scale;
    scale.map = ValueMap(351, 40, 28765.4, 81234.6);
    scale.step = 10000;
    scale.format = LabelFormat{false, scale.map.maximum() - scale.map.minimum(), RegionalSettings::japanese()};
    // "80,000" and "20,000": 6 characters, plus one space.
    EXPECT_EQ(verticalLabelBand(scale, FixedMeasurer(6, 14)), 42);
    scale.map = ValueMap(351, 40, -1234567.8, 5);
    scale.step = 1;
    // "-1,234,567" is the wider: 10 characters.
    EXPECT_EQ(verticalLabelBand(scale, FixedMeasurer(6, 14)), 66);
}

TEST(AxisRange, MinorTicksBetweenAndBeyondTheTicks)
{
    const struct {
        std::vector<int> ticks;
        int start;
        int end;
        std::vector<int> expected;
    } cases[] = {
        // Quarters of 10 round half to even: 2, 5, 8.
        {{0, 10}, -20, 30, {-2, -5, -8, 8, 5, 2, 12, 15, 18}},
        // A vertical axis from 110 up to 50; only positions strictly inside.
        {{100, 80, 60}, 110, 50, {105, 85, 90, 95, 65, 70, 75, 55}},
        {{100}, 110, 50, {}},
        {{}, 110, 50, {}},
    };
    for (const auto& c : cases)
        EXPECT_EQ(minorTicks(c.ticks, c.start, c.end), c.expected);
}

} // namespace
} // namespace uriage::chart
