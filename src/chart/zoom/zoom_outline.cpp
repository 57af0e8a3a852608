#include "chart/zoom/zoom_outline.h"

namespace uriage::chart {

namespace {

void invertPixel(QImage& image, int x, int y, QRgb colour)
{
    if (x < 0 || y < 0 || x >= image.width() || y >= image.height())
        return;
    auto* line = reinterpret_cast<QRgb*>(image.scanLine(y));
    const QRgb pixel = line[x];
    line[x] = (pixel & 0xff000000u) | (~(pixel ^ colour) & 0x00ffffffu);
}

} // namespace

QColor zoomOutlineColor(const QColor& background)
{
    return background.rgb() == QColor(Qt::white).rgb() ? QColor(Qt::black) : background;
}

void invertOutline(QImage& image, const QRect& rect, const QColor& colour)
{
    if (image.depth() != 32 || rect.isEmpty())
        return;
    const QRgb c = colour.rgb() & 0x00ffffffu;
    const int left = rect.left(), right = rect.right(), top = rect.top(), bottom = rect.bottom();
    for (int x = left; x <= right; ++x) {
        invertPixel(image, x, top, c);
        if (bottom != top)
            invertPixel(image, x, bottom, c);
    }
    for (int y = top + 1; y < bottom; ++y) {
        invertPixel(image, left, y, c);
        if (right != left)
            invertPixel(image, right, y, c);
    }
}

} // namespace uriage::chart
