// Whole series painted into a frame: flat lines, 3-D ribbons, markers on
// top, value labels and clipping.
#include "chart/draw/marker_painter.h"
#include "chart/draw/series_painter.h"
#include "chart/draw/value_label.h"
#include "chart/model/chart_model.h"
#include "series_test_canvas.h"

#include <gtest/gtest.h>

namespace uriage::chart {
namespace {

using namespace testing;

struct P {
    double x;
    double y;
    bool isNull = false;
};

Series makeSeries(const SeriesConfig& config, const std::vector<P>& points)
{
    Series series(config);
    for (const P& p : points)
        series.add(p.x, p.y, QString(), p.isNull);
    return series;
}

MarkerSpec rectangle(int half) { return MarkerSpec{MarkerShape::Rectangle, half, half, std::nullopt}; }

QImage paintSeries(const Series& series, int index, const SeriesFrame& frame)
{
    return paintCanvas([&](QPainter& p) { drawOneSeries(p, series, index, frame); });
}

TEST(SeriesFlatLine, TakesTheSeriesColourAndThePensWidthNotItsColour)
{
    // Series3 of the flat per-day chart: lime, with a blue pen 4 wide.
    const Series series = makeSeries(seriesConfig(colors::lime, LinePen{colors::blue, 4}, rectangle(3)),
                                     {{40, 80}, {140, 80}});
    const QImage image = paintSeries(series, 2, testFrame());
    EXPECT_EQ(countPixels(image, colors::lime, QRect(90, 0, 1, 200)), 4);
    EXPECT_EQ(countPixels(image, colors::blue, image.rect()), 0);
}

TEST(SeriesFlatLine, MarkersLieOnTopOfBothSegments)
{
    const Series series = makeSeries(seriesConfig(colors::red, LinePen{colors::red, 3}, rectangle(3)),
                                     {{40, 80}, {80, 80}, {120, 80}});
    const QImage image = paintSeries(series, 0, testFrame());
    // The middle marker's left and right borders cross the line on its row.
    EXPECT_TRUE(pixelIs(image, 77, 80, colors::black));
    EXPECT_TRUE(pixelIs(image, 83, 80, colors::black));
    EXPECT_TRUE(pixelIs(image, 80, 80, colors::red));
    EXPECT_TRUE(pixelIs(image, 100, 80, colors::red));
    // The last marker too.
    EXPECT_TRUE(pixelIs(image, 117, 80, colors::black));
}

TEST(SeriesFlatLine, OnePointShowsItsMarkerAndLabelButNoLine)
{
    const Series series =
        makeSeries(seriesConfig(colors::lime, LinePen{colors::blue, 4}, rectangle(3), valueLabelsShown(8)),
                   {{100, 80}});
    const QImage image = paintSeries(series, 0, testFrame());
    // The marker's 5 x 5 inside, less the white connector's 3 pixels over its upper half.
    EXPECT_EQ(countPixels(image, colors::lime, image.rect()), 22);
    EXPECT_TRUE(pixelIs(image, 100, 79, colors::white));
    EXPECT_GT(countPixels(image, colors::paleYellow, QRect(60, 40, 80, 40)), 0);
}

TEST(SeriesFlatClip, InsideThePlotLessItsBorderPixels)
{
    // Plot from (20, 20) to (200, 160): drawn x 21 ... 199, y 21 ... 158.
    const Series series = makeSeries(seriesConfig(colors::red, LinePen{}, rectangle(3)),
                                     {{30, 150}, {60, 1}, {200, 100}});
    const QImage image = paintSeries(series, 0, testFrame());
    const QColor bg = kCanvasBackground;
    EXPECT_EQ(countPixels(image, bg, QRect(0, 0, 240, 21)), 240 * 21);       // above
    EXPECT_EQ(countPixels(image, bg, QRect(0, 159, 240, 41)), 240 * 41);     // the bottom border row and below
    EXPECT_EQ(countPixels(image, bg, QRect(200, 0, 40, 200)), 40 * 200);     // the right border column and beyond
    EXPECT_TRUE(pixelIs(image, 60, 158, colors::red));   // the marker's upper part
    EXPECT_TRUE(pixelIs(image, 199, 60, colors::red));   // the last marker's left half
    EXPECT_GT(countPixels(image, colors::red, QRect(0, 21, 240, 1)), 0); // the line enters at the top
}

TEST(SeriesFrameNotLaidOut, DrawsNothing)
{
    const Series series = makeSeries(seriesConfig(colors::red), {{40, 80}, {140, 80}});
    const QImage image = paintSeries(series, 0, SeriesFrame{});
    EXPECT_TRUE(inkBounds(image).isEmpty());
}

TEST(SeriesValueLabels, NotClippedAndCoveredByLaterSeries)
{
    ChartConfig config;
    config.view = View::Flat;
    config.series[0] = seriesConfig(colors::red, LinePen{}, rectangle(3), valueLabelsShown(8));
    config.series[2] = seriesConfig(colors::lime, LinePen{colors::blue, 4}, rectangle(3));
    ChartModel model(config);
    model.series(0).add(100, 130, QString(), false); // row 30: the box reaches above the plot
    model.series(2).add(40, 150, QString(), false);  // row 10 ... a line through the box's rows
    model.series(2).add(180, 150, QString(), false);
    const QImage image = paintCanvas([&](QPainter& p) { drawSeries(p, model, testFrame()); });
    EXPECT_GT(countPixels(image, colors::paleYellow, QRect(0, 0, 240, 20)), 0);
    // Series3's line is clipped outside the plot, so it only crosses the box inside it.
    EXPECT_EQ(countPixels(image, colors::lime, QRect(0, 0, 240, 21)), 0);
}

TEST(SeriesRibbon, DarkerWhereItRisesMoreSteeplyThan45Degrees)
{
    const Series series = makeSeries(seriesConfig(colors::yellow, LinePen{}, rectangle(3)),
                                     {{40, 40}, {50, 100}, {100, 80}, {150, 100}});
    const SeriesFrame frame = testFrame(View::ThreeD, 10);
    const QImage image = paintSeries(series, 2, frame); // Series3: the front slot, depth 0 ... 10
    EXPECT_TRUE(pixelIs(image, 50, 85, darkened(colors::yellow, 64))); // steep rise
    EXPECT_TRUE(pixelIs(image, 80, 65, colors::yellow));               // fall
    EXPECT_TRUE(pixelIs(image, 130, 65, colors::yellow));              // gentle rise
    // Default pen: a one-pixel black outline along the front edge of the falling part.
    EXPECT_TRUE(pixelIs(image, 75, 70, colors::black));
}

TEST(SeriesRibbon, OutlinedWithThePensColourAndWidthAroundTheSeriesColour)
{
    // Series2 of the 3-D per-month chart: green, teal pen 2 wide; the middle slot 10 ... 20.
    const Series series = makeSeries(seriesConfig(colors::green, LinePen{colors::teal, 2}, rectangle(3)),
                                     {{40, 80}, {140, 80}});
    const QImage image = paintSeries(series, 1, testFrame(View::ThreeD, 10));
    // Front edge on row 70, back edge on row 60 at x 100.
    EXPECT_EQ(countPixels(image, colors::teal, QRect(100, 50, 1, 30)), 4);
    EXPECT_TRUE(pixelIs(image, 100, 70, colors::teal));
    EXPECT_TRUE(pixelIs(image, 100, 60, colors::teal));
    EXPECT_TRUE(pixelIs(image, 100, 65, colors::green));
}

TEST(SeriesRibbon, ClippedToThePlotBoxOutline)
{
    // Plot (20, 20) ... (200, 160) with depth 15: the hexagon cuts the corner
    // from (200, 160) to (215, 145) and reaches 15 pixels right of the plot.
    const Series series = makeSeries(seriesConfig(colors::red, LinePen{}, rectangle(3)),
                                     {{200, 60}, {208, 4}});
    const QImage image = paintSeries(series, 2, testFrame(View::ThreeD, 5));
    EXPECT_TRUE(pixelIs(image, 206, 97, darkened(colors::red, 128))); // the box side right of R.right
    EXPECT_TRUE(pixelIs(image, 208, 156, kCanvasBackground));         // past the cut corner
    EXPECT_EQ(countPixels(image, kCanvasBackground, QRect(216, 0, 24, 200)), 24 * 200);
}

} // namespace
} // namespace uriage::chart
