// The zoom rectangle drawn by inverting its outline: the pen colour, the
// pixels it changes, and that a second inversion takes it away again.
#include "chart/zoom/zoom_outline.h"

#include <gtest/gtest.h>

namespace uriage::chart {
namespace {

int changedPixels(const QImage& a, const QImage& b)
{
    int changed = 0;
    for (int y = 0; y < a.height(); ++y)
        for (int x = 0; x < a.width(); ++x)
            changed += a.pixel(x, y) != b.pixel(x, y);
    return changed;
}

TEST(ZoomOutline, PenColourIsTheBackgroundOrBlackOnWhite)
{
    EXPECT_EQ(zoomOutlineColor(QColor(240, 240, 240)), QColor(240, 240, 240));
    EXPECT_EQ(zoomOutlineColor(Qt::white), QColor(Qt::black));
}

TEST(ZoomOutline, InvertsEachOutlinePixelOnceAndTwiceRestores)
{
    const struct {
        const char* name;
        QRect rect;
        int pixels;
    } cases[] = {
        {"10 x 6", QRect(QPoint(5, 5), QPoint(14, 10)), 2 * 10 + 2 * 4},
        {"one pixel wide", QRect(QPoint(7, 3), QPoint(7, 12)), 10},
        {"one pixel high", QRect(QPoint(2, 9), QPoint(20, 9)), 19},
        {"a single pixel", QRect(QPoint(4, 4), QPoint(4, 4)), 1},
        {"partly outside the image", QRect(QPoint(-5, -5), QPoint(9, 9)), 10 + 9},
    };
    const QColor face(240, 240, 240);
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        QImage image(30, 20, QImage::Format_RGB32);
        image.fill(face);
        image.setPixel(12, 10, qRgb(255, 0, 0)); // something drawn under the outline
        const QImage before = image.copy();

        invertOutline(image, c.rect, zoomOutlineColor(face));
        EXPECT_EQ(changedPixels(before, image), c.pixels);
        invertOutline(image, c.rect, zoomOutlineColor(face));
        EXPECT_EQ(image, before);
    }
}

TEST(ZoomOutline, NotXorWithThePenColour)
{
    QImage image(4, 4, QImage::Format_RGB32);
    image.fill(Qt::white);
    image.setPixel(1, 0, qRgb(255, 0, 0));
    invertOutline(image, QRect(0, 0, 4, 4), Qt::black);
    EXPECT_EQ(QColor(image.pixel(0, 0)), QColor(Qt::black)) << "white under a black pen inverts to black";
    EXPECT_EQ(QColor(image.pixel(1, 0)), QColor(0, 255, 255));
    EXPECT_EQ(QColor(image.pixel(1, 1)), QColor(Qt::white)) << "inside the outline nothing changes";

    QImage face(2, 2, QImage::Format_RGB32);
    face.fill(QColor(240, 240, 240));
    invertOutline(face, QRect(0, 0, 2, 2), QColor(240, 240, 240));
    EXPECT_EQ(QColor(face.pixel(0, 0)), QColor(Qt::white));
}

} // namespace
} // namespace uriage::chart
