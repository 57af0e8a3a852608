// The two shortcuts of series drawing change no pixel: a shape wholly inside
// the plot drawn with clipping off, and markers copied from one drawn marker.
#include "chart/draw/marker_painter.h"
#include "chart/draw/marker_stamp.h"
#include "chart/draw/series_painter.h"
#include "chart/layout/plot_clip.h"
#include "chart/model/series.h"
#include "series_test_canvas.h"

#include <gtest/gtest.h>

#include <functional>
#include <random>

namespace uriage::chart {
namespace {

using namespace testing;

struct ShapeCase {
    const char* name;
    View view;
    MarkerShape shape;
    int halfWidth;
    int halfHeight;
    int slotWidth;
    LinePen pen;
};

const ShapeCase kCases[] = {
    {"flat rectangles, thin line", View::Flat, MarkerShape::Rectangle, 3, 3, 0, {Qt::black, 1, Qt::SolidLine}},
    {"flat circles, wide dotted line", View::Flat, MarkerShape::Circle, 4, 2, 0, {Qt::black, 3, Qt::DotLine}},
    {"3-D boxes", View::ThreeD, MarkerShape::Rectangle, 4, 4, 9, {Qt::black, 1, Qt::SolidLine}},
    {"3-D flat boxes, wide outline", View::ThreeD, MarkerShape::Rectangle, 5, 0, 6, {colors::teal, 2, Qt::SolidLine}},
    {"3-D circles", View::ThreeD, MarkerShape::Circle, 3, 3, 12, {Qt::black, 1, Qt::SolidLine}},
    {"3-D without depth", View::ThreeD, MarkerShape::Rectangle, 2, 3, 0, {Qt::black, 1, Qt::SolidLine}},
};

TEST(SeriesShortcuts, StampedMarkersMatchDrawnOnesAlsoWhereClipped)
{
    // Centres inside, on and across the edges of a clip hexagon.
    const QPoint centres[] = {{100, 100}, {22, 150}, {199, 30}, {30, 22}, {180, 158}, {210, 10}};
    for (const ShapeCase& c : kCases) {
        const MarkerSpec marker{c.shape, c.halfWidth, c.halfHeight, std::nullopt};
        const SeriesFrame frame = testFrame(c.view, c.slotWidth);
        const DepthSlot slot = seriesSlot(1, frame);
        auto paint = [&](bool stamped) {
            return paintCanvas([&](QPainter& p) {
                p.setClipRegion(plotClipRegion(frame));
                const MarkerStamp stamp(p, marker, colors::yellow, c.view, slot);
                for (const QPoint& centre : centres)
                    if (stamped)
                        stamp.draw(p, centre);
                    else
                        drawMarker(p, centre, marker, colors::yellow, c.view, slot);
            });
        };
        const QImage stamped = paint(true);
        EXPECT_EQ(stamped, paint(false)) << c.name;
        EXPECT_NE(inkBounds(stamped), QRect()) << c.name;
    }
}

// At fractional screen ratios too: the shapes and the clip are scaled alike.
QImage paintAtRatio(qreal ratio, const std::function<void(QPainter&)>& draw)
{
    QImage image(QSize(240, 200) * ratio, QImage::Format_RGB32);
    image.setDevicePixelRatio(ratio);
    image.fill(kCanvasBackground);
    QPainter painter(&image);
    draw(painter);
    return image;
}

TEST(SeriesShortcuts, ASeriesDrawnUnclippedWhereItFitsMatchesOneClippedThroughout)
{
    std::mt19937 random(20261210);
    std::uniform_real_distribution<double> x(-20, 260), y(-40, 140);
    for (const qreal ratio : {1.0, 1.25, 1.5})
        for (const ShapeCase& c : kCases)
            for (int round = 0; round < 3; ++round) {
                Series series(seriesConfig(colors::red, c.pen, MarkerSpec{c.shape, c.halfWidth, c.halfHeight, {}}));
                double at = -10;
                for (int i = 0; i < 40; ++i) {
                    at += x(random) / 20; // ascending, some points left and right of the plot
                    series.add(at, y(random), QString(), false);
                }
                const SeriesFrame frame = testFrame(c.view, c.slotWidth);
                // A painter that already clips keeps every shape clipped.
                const QImage clippedThroughout = paintAtRatio(ratio, [&](QPainter& p) {
                    p.setClipRect(QRect(0, 0, 240, 200));
                    drawOneSeries(p, series, 1, frame);
                });
                const QImage drawn = paintAtRatio(ratio, [&](QPainter& p) { drawOneSeries(p, series, 1, frame); });
                EXPECT_EQ(drawn, clippedThroughout) << c.name << ", round " << round << ", ratio " << ratio;
            }
}

} // namespace
} // namespace uriage::chart
