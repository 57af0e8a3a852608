// The legend's line and marker samples in a colour box.
#include "chart/draw/legend_sample.h"
#include "series_test_canvas.h"

#include <gtest/gtest.h>

namespace uriage::chart {
namespace {

using namespace testing;

struct SampleCase {
    const char* name;
    SeriesConfig series;
    View view;
    QColor lineColor;
    int lineRows;        // rows the line covers at the box's left end
    QColor markerFill;
};

void PrintTo(const SampleCase& c, std::ostream* os) { *os << c.name; }

class SeriesLegendSample : public ::testing::TestWithParam<SampleCase> {};

TEST_P(SeriesLegendSample, LineAcrossTheBoxThenTheMarkerCentred)
{
    const SampleCase& c = GetParam();
    const QRect box(QPoint(10, 10), QPoint(30, 19)); // 20 wide, 9 high, middle row 14
    const QImage image = paintCanvas([&](QPainter& p) { drawLegendSample(p, c.series, c.view, box); });
    EXPECT_EQ(countPixels(image, c.lineColor, QRect(11, 0, 1, 40)), c.lineRows);
    EXPECT_TRUE(pixelIs(image, 11, 14, c.lineColor));
    EXPECT_TRUE(pixelIs(image, 20, 14, c.markerFill)); // marker centre (20, 14)
    EXPECT_TRUE(pixelIs(image, 17, 11, colors::black)); // 7 x 7: top-left corner
    EXPECT_TRUE(pixelIs(image, 23, 17, colors::black));
    EXPECT_EQ(countPixels(image, kCanvasBackground, QRect(31, 0, 20, 40)), 20 * 40); // nothing past the box
}

SampleCase sample(const char* name, QColor color, LinePen pen, std::optional<QColor> fill, View view, QColor line,
                  int rows)
{
    SeriesConfig s = seriesConfig(color, pen, MarkerSpec{MarkerShape::Rectangle, 3, 3, fill});
    return SampleCase{name, s, view, line, rows, fill.value_or(color)};
}

INSTANTIATE_TEST_SUITE_P(
    Series, SeriesLegendSample,
    ::testing::Values(
        // Flat: the series colour, whatever the pen's colour.
        sample("FlatLimeWithBluePen", colors::lime, LinePen{colors::blue, 4}, std::nullopt, View::Flat, colors::lime, 4),
        sample("FlatLimeYellowFill", colors::lime, LinePen{colors::blue, 3}, colors::yellow, View::Flat, colors::lime, 3),
        // 3-D: the pen's colour.
        sample("ThreeDTealPenGreenSeries", colors::green, LinePen{colors::teal, 2}, std::nullopt, View::ThreeD,
               colors::teal, 2),
        sample("ThreeDDefaultPen", colors::yellow, LinePen{}, std::nullopt, View::ThreeD, colors::black, 1),
        sample("ThreeDLimeFill", colors::green, LinePen{colors::green, 2}, colors::lime, View::ThreeD, colors::green,
               2)),
    [](const auto& info) { return std::string(info.param.name); });

TEST(SeriesLegendSampleMarker, HalfSizesLimitedToAThirdOfTheBox)
{
    SeriesConfig s = seriesConfig(colors::red); // default half-sizes 4 x 4
    const QRect box(QPoint(10, 10), QPoint(22, 19)); // 12 wide, 9 high: 4 x 3 at most
    const LegendSampleGeometry g = legendSampleGeometry(s, box);
    EXPECT_EQ(g.halfWidth, 4);
    EXPECT_EQ(g.halfHeight, 3);
    const QImage image = paintCanvas([&](QPainter& p) { drawLegendSample(p, s, View::ThreeD, box); });
    EXPECT_TRUE(pixelIs(image, 12, 11, colors::black));
    EXPECT_TRUE(pixelIs(image, 20, 17, colors::black));
    EXPECT_TRUE(pixelIs(image, 16, 10, kCanvasBackground));
    EXPECT_TRUE(pixelIs(image, 16, 18, kCanvasBackground));
}

} // namespace
} // namespace uriage::chart
