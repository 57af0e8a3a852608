// The layout steps with fixed metrics: margins, legend, title lines, the 3-D
// depth and the bands of each axis, for the settings of the six windows.
#include "axis_fixed_metrics.h"
#include "chart/layout/chart_layout.h"

#include <gtest/gtest.h>

namespace uriage::chart {
namespace {

using testing::FixedMeasurer;

// Title and axis title fonts: as wide per character as they are high, lines
// two pixels higher. Legend: 12 per character, labels 6; both 14 high.
struct Fonts {
    explicit Fonts(int title, int bottom, int left, int right)
        : title(title, title + 2), bottom(bottom, bottom + 2), left(left, left + 2), right(right, right + 2)
    {
    }
    FixedMeasurer title;
    FixedMeasurer bottom;
    FixedMeasurer left;
    FixedMeasurer right;
    FixedMeasurer legend{12, 14};
    FixedMeasurer labels{6, 14};
    ChartMeasures measures() const { return {title, legend, labels, bottom, left, right}; }
};

AxisInput emptyAxis(Axis side, bool dateTime)
{
    AxisInput axis;
    axis.side = side;
    axis.shown = true;
    axis.dateTime = side == Axis::Bottom && dateTime;
    axis.style = LabelStyle::Scale;
    axis.markerMargin = 4;
    return axis;
}

LayoutInput emptyChart(int width, int height, View view, int titleLines, int leftTitleSize, bool dateTime = true)
{
    LayoutInput input;
    input.area = {0, 0, width, height};
    input.view = view;
    input.titleLines << QStringLiteral("保険料金（金額表示）・患者数・保険外料金");
    if (titleLines == 2)
        input.titleLines << QString();
    input.legendEntries << QStringLiteral("保険料金") << QStringLiteral("患者数") << QStringLiteral("保険外料金");
    input.axisTitles = {AxisTitleInput{QStringLiteral("日"), 0}, AxisTitleInput{QStringLiteral("円"), leftTitleSize},
                        AxisTitleInput{QStringLiteral("患者数"), 0}};
    input.axes = {emptyAxis(Axis::Bottom, dateTime), emptyAxis(Axis::Left, dateTime),
                  emptyAxis(Axis::Right, dateTime)};
    return input;
}

TEST(LayoutBands, EveryWindowsEmptyChart)
{
    // Chart areas are the outer sizes less 8 x (34 + 41); the expectations
    // were worked out by hand from the layout steps.
    const struct {
        const char* window;
        int width, height;
        View view;
        int titleLines, titlePx, bottomPx, leftPx, rightPx, leftTitleSize;
        PixelRect legend;
        int colorBox, titleX, slotWidth, depth;
        PixelRect plot;
        int bottomTitleRef, bottomLabelRef, leftTitleRef, leftLabelRef, rightTitleRef, rightLabelRef;
    } cases[] = {
        {"TForm2", 729, 405, View::Flat, 1, 16, 16, 16, 16, 0, {624, 40, 702, 84}, 8, 152, 0, 0, {56, 39, 537, 351}, 371, 357, 38, 50, 555, 543},
        {"TForm3", 621, 427, View::ThreeD, 2, 16, 15, 16, 16, 2, {519, 43, 597, 87}, 8, 100, 7, 21, {39, 79, 415, 373}, 393, 379, 21, 33, 433, 421},
        {"TForm4", 710, 443, View::ThreeD, 1, 16, 16, 16, 16, 0, {606, 44, 684, 88}, 8, 143, 8, 24, {55, 65, 496, 387}, 407, 393, 37, 49, 514, 502},
        {"TForm5", 620, 393, View::ThreeD, 1, 16, 15, 15, 15, 0, {518, 39, 596, 83}, 8, 100, 7, 21, {52, 60, 417, 340}, 360, 346, 34, 46, 435, 423},
        {"TForm6", 684, 416, View::Flat, 2, 16, 16, 16, 16, 0, {580, 42, 658, 86}, 8, 131, 0, 0, {55, 58, 495, 361}, 381, 367, 37, 49, 513, 501},
        {"TForm7", 605, 424, View::ThreeD, 1, 13, 13, 15, 15, 0, {504, 42, 582, 86}, 8, 122, 7, 21, {51, 58, 403, 372}, 392, 378, 33, 45, 421, 409},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.window);
        const Fonts fonts(c.titlePx, c.bottomPx, c.leftPx, c.rightPx);
        const bool dateTime = QString::fromUtf8(c.window) != QStringLiteral("TForm7");
        const ChartLayout layout = layoutChart(emptyChart(c.width, c.height, c.view, c.titleLines, c.leftTitleSize, dateTime),
                                               fonts.measures(), RegionalSettings::japanese());
        EXPECT_EQ(layout.legend.box, c.legend);
        EXPECT_EQ(layout.legend.colorBoxWidth, c.colorBox);
        ASSERT_EQ(layout.title.size(), std::size_t(c.titleLines));
        EXPECT_EQ(layout.title[0].x, c.titleX);
        EXPECT_EQ(layout.slotWidth, c.slotWidth);
        EXPECT_EQ(layout.depth, c.depth);
        EXPECT_EQ(layout.plot, c.plot);
        EXPECT_EQ(layout.bottom().titleReference, c.bottomTitleRef);
        EXPECT_EQ(layout.bottom().labelReference, c.bottomLabelRef);
        EXPECT_EQ(layout.left().titleReference, c.leftTitleRef);
        EXPECT_EQ(layout.left().labelReference, c.leftLabelRef);
        EXPECT_EQ(layout.right().titleReference, c.rightTitleRef);
        EXPECT_EQ(layout.right().labelReference, c.rightLabelRef);
        EXPECT_EQ(layout.right().depthShift, c.depth);
        // Each axis maps onto the plot's edges, with its single label at the centre.
        EXPECT_EQ(layout.bottom().scale.map.start(), c.plot.left);
        EXPECT_EQ(layout.bottom().scale.map.end(), c.plot.right);
        EXPECT_EQ(layout.left().scale.map.start(), c.plot.bottom);
        EXPECT_EQ(layout.left().scale.map.end(), c.plot.top);
        for (const AxisLayout& axis : layout.axes) {
            ASSERT_EQ(axis.ticks.size(), 1u);
            EXPECT_EQ(axis.ticks[0], axis.scale.map.centre());
            EXPECT_TRUE(axis.minorTicks.empty());
        }
        EXPECT_EQ(layout.bottom().scale.labels[0].text, dateTime ? QStringLiteral("0:00") : QStringLiteral("0"));
    }
}

TEST(LayoutBands, LegendRowsAndColourBoxes)
{
    const Fonts fonts(16, 16, 16, 16);
    const ChartLayout layout =
        layoutChart(emptyChart(729, 405, View::Flat, 1, 0), fonts.measures(), RegionalSettings::japanese());
    // e = 702, t = 60: xt = 640, c = round(70 x 0.12) = 8.
    ASSERT_EQ(layout.legend.rows.size(), 3u);
    for (int i = 0; i < 3; ++i) {
        const LegendRow& row = layout.legend.rows[i];
        EXPECT_EQ(row.series, i);
        EXPECT_EQ(row.textX, 640);
        EXPECT_EQ(row.textY, 41 + i * 14);
        EXPECT_EQ(row.colorBox, QRect(QPoint(628, 43 + i * 14), QPoint(636, 53 + i * 14)));
    }
    EXPECT_EQ(layout.legend.rows[2].text, QStringLiteral("保険外料金"));
}

TEST(LayoutBands, LegendKeepsOnlyTheRowsThatFit)
{
    const Fonts fonts(16, 16, 16, 16);
    const struct {
        int height;
        std::size_t rows;
    } cases[] = {{405, 3}, {100, 3}, {50, 2}, {30, 1}, {10, 0}};
    for (const auto& c : cases) {
        const ChartLayout layout =
            layoutChart(emptyChart(729, c.height, View::Flat, 1, 0), fonts.measures(), RegionalSettings::japanese());
        EXPECT_EQ(layout.legend.rows.size(), c.rows) << c.height;
        EXPECT_EQ(layout.legend.box.bottom, layout.legend.box.top + int(c.rows) * 14 + 2) << c.height;
    }
}

TEST(LayoutBands, TitleLinesStackAndAnEmptyLineCounts)
{
    const Fonts fonts(16, 16, 16, 16);
    const RegionalSettings regional = RegionalSettings::japanese();
    const ChartLayout one = layoutChart(emptyChart(684, 416, View::Flat, 1, 0), fonts.measures(), regional);
    const ChartLayout two = layoutChart(emptyChart(684, 416, View::Flat, 2, 0), fonts.measures(), regional);
    LayoutInput none = emptyChart(684, 416, View::Flat, 1, 0);
    none.titleLines.clear();
    const ChartLayout untitled = layoutChart(none, fonts.measures(), regional);
    EXPECT_EQ(two.plot.top - one.plot.top, 18);
    EXPECT_EQ(one.plot.top - untitled.plot.top, 18 + 5);
    ASSERT_EQ(two.title.size(), 2u);
    EXPECT_EQ(two.title[1].y, two.title[0].y + 18);
    EXPECT_EQ(two.title[1].x, (21 + 561) / 2); // empty: width 0, centred between margin and legend gap
}

TEST(LayoutBands, WindowTooSmallStillLaysOut)
{
    const Fonts fonts(16, 16, 16, 16);
    for (int size : {60, 20, 1, 0}) {
        const ChartLayout layout = layoutChart(emptyChart(size, size, View::ThreeD, 2, 0), fonts.measures(),
                                               RegionalSettings::japanese());
        for (const AxisLayout& axis : layout.axes)
            EXPECT_LE(axis.ticks.size(), 1u) << size;
    }
}

} // namespace
} // namespace uriage::chart
