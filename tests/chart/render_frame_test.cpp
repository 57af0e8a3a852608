// The chart's frame painted with the real fonts: bevel, legend with its
// shadow, axis lines, the 3-D walls, the right axis at depth and the left
// axis title with a set title size.
#include "chart/draw/chart_fonts.h"
#include "chart/draw/chart_renderer.h"
#include "chart/draw/frame_painter.h"
#include "chart/model/chart_model.h"

#include <QFontMetrics>
#include <QImage>
#include <QPainter>
#include <gtest/gtest.h>

namespace uriage::chart {
namespace {

SeriesConfig seriesConfig(const char* title, const QColor& color, VerticalAxis axis)
{
    SeriesConfig config;
    config.title = QString::fromUtf8(title);
    config.color = color;
    config.axis = axis;
    config.marker.halfWidth = 3;
    config.marker.halfHeight = 3;
    return config;
}

ChartConfig chartConfig(View view, int leftTitleSize = 0)
{
    ChartConfig config;
    config.view = view;
    config.titleLines << QStringLiteral("保険料金（金額表示）・患者数・保険外料金");
    config.titleFont = {16, true};
    config.bottomTitle = {QStringLiteral("日"), {16, true}, 0};
    config.leftTitle = {QStringLiteral("円"), {16, true}, leftTitleSize};
    config.rightTitle = {QStringLiteral("患者数"), {16, true}, 0};
    config.series = {seriesConfig("保険料金", colors::red, VerticalAxis::Left),
                     seriesConfig("患者数", colors::green, VerticalAxis::Right),
                     seriesConfig("保険外料金", colors::lime, VerticalAxis::Left)};
    return config;
}

QImage render(const ChartModel& model, QSize size)
{
    QImage image(size, QImage::Format_RGB32);
    image.fill(Qt::magenta);
    QPainter painter(&image);
    renderChart(painter, model, image.rect());
    return image;
}

bool is(const QImage& image, int x, int y, const QColor& color) { return image.pixel(x, y) == color.rgb(); }

// Pixels of a colour within the rectangle from (x0, y0) to (x1, y1) inclusive.
int count(const QImage& image, int x0, int y0, int x1, int y1, const QColor& color)
{
    int n = 0;
    for (int y = y0; y <= y1; ++y)
        for (int x = x0; x <= x1; ++x)
            n += image.rect().contains(x, y) && is(image, x, y, color) ? 1 : 0;
    return n;
}

class RenderFrame : public ::testing::Test {
protected:
    void SetUp() override { RegionalSettings::inject(RegionalSettings::japanese()); }
    void TearDown() override { RegionalSettings::reset(); }

    const QSize size{729, 405};
    const FrameColors colors = systemFrameColors();
};

TEST_F(RenderFrame, BevelAndBackground)
{
    const ChartModel model(chartConfig(View::Flat));
    const QImage image = render(model, size);
    EXPECT_EQ(count(image, 0, 0, size.width() - 2, 0, colors.highlight), size.width() - 1);
    EXPECT_EQ(count(image, 0, 0, 0, size.height() - 2, colors.highlight), size.height() - 1);
    EXPECT_EQ(count(image, 0, size.height() - 1, size.width() - 1, size.height() - 1, colors.shadow), size.width());
    EXPECT_EQ(count(image, size.width() - 1, 0, size.width() - 1, size.height() - 1, colors.shadow), size.height());
    EXPECT_TRUE(is(image, 1, 1, colors.face));
    EXPECT_TRUE(is(image, 5, 200, colors.face));
    EXPECT_EQ(count(image, 0, 0, size.width() - 1, size.height() - 1, Qt::magenta), 0);
}

TEST_F(RenderFrame, LegendBoxFrameAndShadow)
{
    const ChartModel model(chartConfig(View::Flat));
    const QImage image = render(model, size);
    const PixelRect box = chartLayout(model, QRect(QPoint(0, 0), size)).legend.box;
    const int middle = (box.top + box.bottom) / 2;
    // Frame just outside the box, shadow three pixels beyond it to the right and below.
    EXPECT_TRUE(is(image, box.left - 1, middle, colors::black));
    EXPECT_TRUE(is(image, box.left - 2, middle, colors.face));
    EXPECT_TRUE(is(image, box.right - 1, middle, colors::white));
    for (int x = box.right; x <= box.right + 3; ++x)
        EXPECT_TRUE(is(image, x, middle, colors::black)) << x;
    EXPECT_TRUE(is(image, box.right + 4, middle, colors.face));
    EXPECT_TRUE(is(image, box.right + 1, box.top + 2, colors.face)); // the shadow starts 3 down
    EXPECT_TRUE(is(image, box.right + 1, box.top + 3, colors::black));
    for (int y = box.bottom; y <= box.bottom + 3; ++y)
        EXPECT_TRUE(is(image, box.left + 10, y, colors::black)) << y;
    EXPECT_TRUE(is(image, box.left + 10, box.bottom + 4, colors.face));
    EXPECT_TRUE(is(image, box.left + 2, box.bottom + 2, colors.face));
    EXPECT_TRUE(is(image, box.left + 3, box.bottom + 2, colors::black));
    // The entries' texts are written inside the box.
    EXPECT_GT(count(image, box.left, box.top, box.right - 1, box.bottom - 1, colors::black), 50);
}

TEST_F(RenderFrame, FlatAxisLinesAndBackWall)
{
    const ChartModel model(chartConfig(View::Flat));
    const QImage image = render(model, size);
    const ChartLayout layout = chartLayout(model, QRect(QPoint(0, 0), size));
    const PixelRect& r = layout.plot;
    const int x = r.left + (r.right - r.left) / 4; // away from the one tick at the centre
    const int y = r.top + (r.bottom - r.top) / 4;
    // Two pixels of black: the bottom axis on R.bottom - 1 and R.bottom, the
    // vertical ones on x - 1 and x; the back wall's one-pixel top edge.
    EXPECT_TRUE(is(image, x, r.bottom - 1, colors::black));
    EXPECT_TRUE(is(image, x, r.bottom, colors::black));
    EXPECT_FALSE(is(image, x, r.bottom + 1, colors::black));
    EXPECT_FALSE(is(image, x, r.bottom - 2, colors::black));
    for (int edge : {r.left, r.right}) {
        EXPECT_TRUE(is(image, edge - 1, y, colors::black)) << edge;
        EXPECT_TRUE(is(image, edge, y, colors::black)) << edge;
        EXPECT_FALSE(is(image, edge + 1, y, colors::black)) << edge;
    }
    EXPECT_TRUE(is(image, x, r.top, colors::black));
    EXPECT_FALSE(is(image, x, r.top + 1, colors::black));
    // Ticks: grey, four pixels below the bottom axis, at the one label.
    const int tick = layout.bottom().ticks.at(0);
    for (int t = 1; t <= 4; ++t)
        EXPECT_TRUE(is(image, tick, r.bottom + t, colors::grey)) << t;
    EXPECT_FALSE(is(image, tick, r.bottom + 5, colors::grey));
    // Grid: dotted grey across the plot, one pixel on, two off.
    const int onPixels = count(image, tick, r.top + 1, tick, r.bottom - 1, colors::grey);
    EXPECT_NEAR(onPixels, (r.bottom - r.top - 1) / 3, 2);
}

TEST_F(RenderFrame, ThreeDWallsAndTheRightAxisAtDepth)
{
    const ChartModel model(chartConfig(View::ThreeD));
    const QImage image = render(model, size);
    const ChartLayout layout = chartLayout(model, QRect(QPoint(0, 0), size));
    const PixelRect& r = layout.plot;
    const int d = layout.depth;
    ASSERT_GT(d, 6);
    const int y = r.top + (r.bottom - r.top) / 4;
    const int x = r.left + (r.right - r.left) / 4;
    EXPECT_TRUE(is(image, r.left + d / 2, y - d / 2, colors::paleYellow));
    EXPECT_TRUE(is(image, x + d / 2, r.bottom - d / 2, colors::white));
    // Inside the plot box nothing is filled: the background shows.
    EXPECT_TRUE(is(image, x + d, y, colors.face));
    // Back wall: its top edge one pixel above R.top at depth D.
    EXPECT_TRUE(is(image, x + d, r.top - 1 - d, colors::black));
    // The right axis stands D pixels right of and above R's right edge.
    for (int dx : {-1, 0})
        EXPECT_TRUE(is(image, r.right + d + dx, y - d, colors::black)) << dx;
    EXPECT_FALSE(is(image, r.right, y, colors::black));
    EXPECT_FALSE(is(image, r.right - 1, y, colors::black));
    const int tick = layout.right().ticks.at(0);
    for (int t = 1; t <= 4; ++t)
        EXPECT_TRUE(is(image, r.right + d + t, tick - d, colors::grey)) << t;
    // Its label and title are written right of its ticks, shifted up by D.
    const int labelLeft = layout.right().labelReference + d;
    EXPECT_GT(count(image, labelLeft, tick - d - 7, labelLeft + 10, tick - d + 7, colors::black), 0);
    // Nothing where the label would stand without the shift.
    EXPECT_EQ(count(image, labelLeft - d, tick - 7, labelLeft - d + 10, tick + 7, colors::black), 0);
}

TEST_F(RenderFrame, ThreeDGridRunsAcrossTheWalls)
{
    const ChartModel model(chartConfig(View::ThreeD));
    const QImage image = render(model, size);
    const ChartLayout layout = chartLayout(model, QRect(QPoint(0, 0), size));
    const PixelRect& r = layout.plot;
    const int d = layout.depth;
    auto greyOnDiagonal = [&](int x, int y) { // from (x, y) up and right to depth D
        int n = 0;
        for (int k = 1; k < d; ++k)
            n += is(image, x + k, y - k, colors::grey) ? 1 : 0;
        return n;
    };
    // Bottom axis: across the bottom wall, then up the back wall at depth D.
    const int x = layout.bottom().ticks.at(0);
    EXPECT_NEAR(greyOnDiagonal(x, r.bottom), d / 3, 2);
    EXPECT_NEAR(count(image, x + d, r.top - d + 1, x + d, r.bottom - d - 1, colors::grey), (r.bottom - r.top) / 3, 2);
    EXPECT_EQ(count(image, x, r.top + 1, x, r.bottom - d - 1, colors::grey), 0); // nothing on the front face
    // Left axis: across the left wall, then along the back wall.
    const int y = layout.left().ticks.at(0);
    EXPECT_NEAR(greyOnDiagonal(r.left, y), d / 3, 2);
    EXPECT_NEAR(count(image, r.left + d + 1, y - d, r.right + d - 1, y - d, colors::grey), (r.right - r.left) / 3, 2);
    // Right axis: only along the back wall, at its own tick, D up.
    const int yr = layout.right().ticks.at(0);
    EXPECT_NEAR(count(image, r.left + d + 1, yr - d, r.right + d - 1, yr - d, colors::grey), (r.right - r.left) / 3, 2);
}

TEST_F(RenderFrame, LeftTitleSizeTwoReachesIntoTheMargin)
{
    const QSize form3(621, 427);
    const int margin = 19; // 3 % of 621, rounded
    const int middleTop = 100;
    for (int titleSize : {0, 2}) {
        const ChartModel model(chartConfig(View::ThreeD, titleSize));
        const QImage image = render(model, form3);
        const ChartLayout layout = chartLayout(model, QRect(QPoint(0, 0), form3));
        const int measured = QFontMetrics(chartFont({16, true})).horizontalAdvance(QStringLiteral("円"));
        EXPECT_EQ(layout.left().titleReference, titleSize == 0 ? margin + measured : margin + 2);
        const int inMargin = count(image, 1, middleTop, margin - 1, form3.height() - 40, colors::black);
        if (titleSize == 2)
            EXPECT_GT(inMargin, 10);
        else
            EXPECT_EQ(inMargin, 0);
    }
}

// Bounds of the pixels of a colour within the rectangle from (x0, y0) to (x1, y1).
QRect inkOf(const QImage& image, int x0, int y0, int x1, int y1, const QColor& color)
{
    QRect bounds;
    for (int y = y0; y <= y1; ++y)
        for (int x = x0; x <= x1; ++x)
            if (image.rect().contains(x, y) && is(image, x, y, color))
                bounds = bounds.united(QRect(x, y, 1, 1));
    return bounds;
}

TEST_F(RenderFrame, TextsStandOnTheirReferenceLines)
{
    const ChartModel model(chartConfig(View::Flat));
    const QImage image = render(model, size);
    const ChartLayout layout = chartLayout(model, QRect(QPoint(0, 0), size));
    const PixelRect& r = layout.plot;
    const QFontMetrics labels(chartFont({12, false}));
    const QFontMetrics title(chartFont({16, true}));

    // Title: blue, within its line below the top margin, centred between R's edges.
    const QRect titleInk = inkOf(image, 0, 0, size.width() - 1, r.top, colors::blue);
    ASSERT_FALSE(titleInk.isEmpty());
    EXPECT_GE(titleInk.top(), layout.title[0].y);
    EXPECT_LT(titleInk.bottom(), layout.title[0].y + title.height());
    EXPECT_GE(titleInk.left(), layout.title[0].x);
    // R after the legend: from the 22-pixel margin to the legend less 3 % of 685.
    EXPECT_NEAR(titleInk.center().x(), (22 + layout.legend.box.left - 21) / 2, 2);

    // Bottom label "0:00": below the label reference line, centred on its tick.
    const int tick = layout.bottom().ticks.at(0);
    ASSERT_EQ(layout.bottom().scale.labels.at(0).text, QStringLiteral("0:00"));
    const int w = labels.horizontalAdvance(QStringLiteral("0:00"));
    const QRect bottomInk = inkOf(image, tick - 40, r.bottom + 5, tick + 40, layout.bottom().titleReference - 1, colors::black);
    ASSERT_FALSE(bottomInk.isEmpty());
    EXPECT_GE(bottomInk.top(), layout.bottom().labelReference);
    EXPECT_GE(bottomInk.left(), tick - w / 2);
    EXPECT_LT(bottomInk.right(), tick - w / 2 + w);

    // Left label "0": ending at the label reference line, centred on its tick.
    const int leftTick = layout.left().ticks.at(0);
    const QRect leftInk = inkOf(image, layout.left().titleReference, leftTick - 10, r.left - 6, leftTick + 10, colors::black);
    ASSERT_FALSE(leftInk.isEmpty());
    EXPECT_LT(leftInk.right(), layout.left().labelReference);
    EXPECT_GE(leftInk.left(), layout.left().labelReference - labels.horizontalAdvance(QStringLiteral("0")));
    EXPECT_GE(leftInk.top(), leftTick - labels.height() / 2);
    EXPECT_LT(leftInk.bottom(), leftTick - labels.height() / 2 + labels.height());
}

} // namespace
} // namespace uriage::chart
