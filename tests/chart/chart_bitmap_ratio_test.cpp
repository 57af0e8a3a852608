// The chart on screens of more than 96 pixels per inch: the bitmap holds
// device pixels (its logical size times the ratio, with that ratio set on it)
// while every geometry stays in logical pixels, and the zoom rectangle
// follows. The widget tests run again under QT_SCALE_FACTOR 1.25, 1.5 and 2.
#include "chart/model/chart_model.h"
#include "chart/draw/chart_renderer.h"
#include "chart/chart_widget.h"
#include "chart/draw/frame_painter.h"

#include <QTest>
#include <gtest/gtest.h>

#include <cmath>
#include <vector>

namespace uriage::chart {
namespace {

// A 3-D chart with markers, value labels and a title: lines, fills and text.
// The flat one has no title, whose bold glyphs differ most between sizes.
ChartModel makeChart(bool flat = false)
{
    ChartConfig config;
    if (flat)
        config.view = View::Flat;
    else
        config.titleLines << QStringLiteral("保険料金・患者数・保険外料金");
    const QColor colours[] = {colors::red, colors::green, colors::blue};
    for (int i = 0; i < 3; ++i) {
        SeriesConfig& s = config.series[i];
        s.title = QStringLiteral("系列%1").arg(i + 1);
        s.color = colours[i];
        s.axis = i == 1 ? VerticalAxis::Right : VerticalAxis::Left;
        s.valueLabels.shown = i == 1;
        s.valueLabels.style = ValueLabelStyle::Value;
    }
    ChartModel model(config);
    for (int d = 0; d < 12; ++d) {
        const QString day = QStringLiteral("2005/03/%1").arg(d + 1, 2, 10, QChar('0'));
        model.series(0).add(38412 + d, 30000 + 4000 * (d % 5), day, false);
        model.series(1).add(38412 + d, 2 + d % 4, QString(), false);
        model.series(2).add(38412 + d, 3000 + 500 * (d % 3), day, false);
    }
    return model;
}

// The device pixel whose centre lies in logical pixel v (its middle one).
int deviceMiddle(int v, qreal ratio) { return int(std::floor((v + 0.5) * ratio)); }

// The logical pixel that device pixel d belongs to.
int logicalOf(int d, qreal ratio) { return int(std::floor((d + 0.5) / ratio)); }

// Logical pixels of the plain bitmap inside a solid area: their 3 x 3
// neighbourhood is of one colour, so no edge of a line, fill or glyph is near.
std::vector<QPoint> solidPixels(const QImage& plain)
{
    std::vector<QPoint> solid;
    for (int y = 1; y + 1 < plain.height(); ++y)
        for (int x = 1; x + 1 < plain.width(); ++x) {
            bool uniform = true;
            for (int dy = -1; dy <= 1 && uniform; ++dy)
                for (int dx = -1; dx <= 1 && uniform; ++dx)
                    uniform = plain.pixel(x + dx, y + dy) == plain.pixel(x, y);
            if (uniform)
                solid.push_back({x, y});
        }
    return solid;
}

// How many solid pixels of the plain bitmap show another colour in the
// middle device pixel of the same logical pixel.
int misplaced(const QImage& plain, const std::vector<QPoint>& solid, const QImage& sharp, qreal ratio)
{
    int wrong = 0;
    for (const QPoint& p : solid)
        wrong += sharp.pixel(deviceMiddle(p.x(), ratio), deviceMiddle(p.y(), ratio)) != plain.pixel(p);
    return wrong;
}

TEST(ChartBitmapRatio, DeviceSizedWithTheGeometryInLogicalPixels)
{
    const ChartModel model = makeChart(true);
    const QSize logical(640, 400);
    const QColor face = systemFrameColors().face;
    const QImage plain = renderChartBitmap(model, logical, 1.0, face);
    ASSERT_EQ(plain.size(), logical);
    const std::vector<QPoint> solid = solidPixels(plain);
    ASSERT_GT(solid.size(), std::size_t(logical.width() * logical.height() / 2));
    for (const qreal ratio : {1.25, 1.5, 2.0}) {
        SCOPED_TRACE(ratio);
        const QImage sharp = renderChartBitmap(model, logical, ratio, face);
        EXPECT_EQ(sharp.size(), logical * ratio);
        EXPECT_EQ(sharp.devicePixelRatio(), ratio);
        EXPECT_EQ(misplaced(plain, solid, sharp, ratio), 0);
    }
}

TEST(ChartBitmapRatio, AtRatioTwoItIsNoPixelDoubledCopy)
{
    const ChartModel model = makeChart();
    const QSize logical(640, 400);
    const QColor face = systemFrameColors().face;
    const QImage plain = renderChartBitmap(model, logical, 1.0, face);
    QImage sharp = renderChartBitmap(model, logical, 2.0, face);
    sharp.setDevicePixelRatio(1.0);
    EXPECT_NE(sharp, plain.scaled(logical * 2, Qt::IgnoreAspectRatio, Qt::FastTransformation));
    // A doubled copy has every aligned 2 x 2 block of one colour; text drawn
    // at device pixels has many blocks of two.
    int mixed = 0;
    for (int y = 0; y < sharp.height(); y += 2)
        for (int x = 0; x < sharp.width(); x += 2) {
            const QRgb p = sharp.pixel(x, y);
            mixed += sharp.pixel(x + 1, y) != p || sharp.pixel(x, y + 1) != p || sharp.pixel(x + 1, y + 1) != p;
        }
    EXPECT_GT(mixed, 500);
}

struct ChartOnScreen {
    ChartModel model = makeChart();
    ChartWidget widget{model};

    ChartOnScreen()
    {
        widget.resize(641, 401); // odd, so that fractional ratios round
        widget.show();
        EXPECT_TRUE(QTest::qWaitForWindowExposed(&widget));
        widget.grab();
    }
};

TEST(ChartWidgetAtScreenRatio, BitmapAtDevicePixelsShownOneToOne)
{
    ChartOnScreen chart;
    const qreal ratio = chart.widget.devicePixelRatioF();
    if (qEnvironmentVariableIsSet("QT_SCALE_FACTOR")) { // the runs at 1.25, 1.5 and 2
        EXPECT_DOUBLE_EQ(ratio, qEnvironmentVariable("QT_SCALE_FACTOR").toDouble());
    }
    const QImage& bitmap = chart.widget.bitmap();
    EXPECT_EQ(bitmap.devicePixelRatio(), ratio);
    EXPECT_EQ(bitmap.size(), chart.widget.size() * ratio);
    // What the widget paints is the bitmap, device pixel for device pixel.
    const QImage shown = chart.widget.grab().toImage().convertToFormat(bitmap.format());
    ASSERT_EQ(shown.size(), bitmap.size());
    EXPECT_EQ(shown, bitmap);
}

TEST(ChartWidgetAtScreenRatio, TheZoomRectangleCoversItsLogicalPixelsAndGoesAgain)
{
    ChartOnScreen chart;
    const qreal ratio = chart.widget.devicePixelRatioF();
    const QImage drawn = chart.widget.bitmap().copy();
    const QRect outline(QPoint(200, 150), QPoint(260, 190));
    QTest::mousePress(&chart.widget, Qt::LeftButton, Qt::NoModifier, outline.topLeft());
    QTest::mouseMove(&chart.widget, outline.bottomRight());
    ASSERT_EQ(chart.widget.zoom().shownOutline(), outline);

    // Exactly the device pixels of the outline's logical pixels have changed.
    const QImage& shown = chart.widget.bitmap();
    int wrong = 0;
    int changed = 0;
    for (int y = 0; y < shown.height(); ++y)
        for (int x = 0; x < shown.width(); ++x) {
            const QPoint at(logicalOf(x, ratio), logicalOf(y, ratio));
            const bool onOutline = outline.contains(at) && !outline.adjusted(1, 1, -1, -1).contains(at);
            const bool differs = shown.pixel(x, y) != drawn.pixel(x, y);
            changed += differs;
            wrong += differs != onOutline;
        }
    EXPECT_EQ(wrong, 0);
    EXPECT_GT(changed, 0);

    QTest::mouseRelease(&chart.widget, Qt::LeftButton, Qt::NoModifier, outline.topLeft() + QPoint(5, 5));
    EXPECT_EQ(chart.widget.bitmap(), drawn) << "removed without redrawing the chart";
}

} // namespace
} // namespace uriage::chart
