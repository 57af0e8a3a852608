// Point markers painted: flat rectangles and ellipses of the declared
// half-sizes, and the shaded box of a rectangle marker in the 3-D view.
#include "chart/draw/marker_painter.h"
#include "series_test_canvas.h"

#include <gtest/gtest.h>

namespace uriage::chart {
namespace {

using namespace testing;

struct RectangleCase {
    int halfWidth;
    int halfHeight;
    int width;
    int height;
};

TEST(SeriesMarkerRectangle, CoversTwiceTheHalfSizePlusOneWithABlackBorder)
{
    const RectangleCase cases[] = {{4, 4, 9, 9}, {3, 3, 7, 7}, {2, 2, 5, 5}, {5, 2, 11, 5}, {0, 0, 1, 1}};
    const QPoint c(100, 100);
    for (const RectangleCase& rc : cases) {
        SCOPED_TRACE(::testing::Message() << rc.halfWidth << "x" << rc.halfHeight);
        const QImage image = paintCanvas([&](QPainter& p) {
            drawFlatMarker(p, c, MarkerShape::Rectangle, rc.halfWidth, rc.halfHeight, colors::red);
        });
        const QRect ink = inkBounds(image);
        EXPECT_EQ(ink, QRect(c.x() - rc.halfWidth, c.y() - rc.halfHeight, rc.width, rc.height));
        EXPECT_TRUE(pixelIs(image, ink.left(), c.y(), colors::black));
        EXPECT_TRUE(pixelIs(image, ink.right(), ink.bottom(), colors::black));
        if (rc.halfWidth >= 1 && rc.halfHeight >= 1) {
            EXPECT_TRUE(pixelIs(image, c.x(), c.y(), colors::red));
        }
    }
}

TEST(SeriesMarkerEllipse, InscribedInTwiceTheHalfSizeRightAndBottomExcluded)
{
    const QPoint c(100, 100);
    const QImage image = paintCanvas([&](QPainter& p) { drawFlatMarker(p, c, MarkerShape::Circle, 3, 3, colors::red); });
    EXPECT_EQ(inkBounds(image), QRect(97, 97, 6, 6));
    EXPECT_TRUE(pixelIs(image, 99, 99, colors::red));
    EXPECT_TRUE(pixelIs(image, 97, 99, colors::black)); // its border
    EXPECT_TRUE(pixelIs(image, 97, 97, kCanvasBackground)); // corners stay free
}

TEST(SeriesMarkerBox, RightSideDarkenedBy128TopBy64FrontInTheFill)
{
    const QPoint c(100, 100);
    const DepthSlot slot{0, 10};
    MarkerSpec marker;
    marker.halfWidth = 3;
    marker.halfHeight = 3;
    const QImage image = paintCanvas(
        [&](QPainter& p) { drawMarker(p, c, marker, colors::yellow, View::ThreeD, slot); });
    EXPECT_TRUE(pixelIs(image, 100, 100, colors::yellow));          // front face
    EXPECT_TRUE(pixelIs(image, 108, 97, darkened(colors::yellow, 128))); // right side
    EXPECT_TRUE(pixelIs(image, 105, 108 - 16, darkened(colors::yellow, 64))); // top face
    EXPECT_TRUE(pixelIs(image, 103, 100, colors::black));           // front face's right edge
    // The box reaches from the front face to the back depth: right and up by 10.
    EXPECT_EQ(inkBounds(image), QRect(QPoint(97, 87), QPoint(113, 103)));
}

struct BoundsCase {
    const char* name;
    MarkerShape shape;
    int half;
    View view;
    DepthSlot slot;
    QRect bounds;
};

TEST(SeriesMarkerBounds, PlacedAtTheFrontOfTheSlotIn3DAndIgnoringItWhenFlat)
{
    const BoundsCase cases[] = {
        {"box in the back slot", MarkerShape::Rectangle, 2, View::ThreeD, {20, 30}, QRect(QPoint(118, 68), QPoint(132, 82))},
        {"circle stays flat", MarkerShape::Circle, 3, View::ThreeD, {10, 20}, QRect(107, 87, 6, 6)},
        {"flat default size", MarkerShape::Rectangle, 4, View::Flat, {10, 20}, QRect(96, 96, 9, 9)},
    };
    for (const BoundsCase& c : cases) {
        const MarkerSpec marker{c.shape, c.half, c.half, std::nullopt};
        const QImage image = paintCanvas(
            [&](QPainter& p) { drawMarker(p, QPoint(100, 100), marker, colors::red, c.view, c.slot); });
        EXPECT_EQ(inkBounds(image), c.bounds) << c.name;
    }
}

} // namespace
} // namespace uriage::chart
