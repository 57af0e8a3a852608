#include "chart/zoom/zoom_outline.h"

#include <algorithm>
#include <cmath>

namespace uriage::chart {

namespace {

void invertRow(QImage& image, int y, int fromX, int toX, QRgb colour)
{
    if (y < 0 || y >= image.height())
        return;
    auto* line = reinterpret_cast<QRgb*>(image.scanLine(y));
    for (int x = std::max(fromX, 0); x <= std::min(toX, image.width() - 1); ++x)
        line[x] = (line[x] & 0xff000000u) | (~(line[x] ^ colour) & 0x00ffffffu);
}

// The first device pixel of logical pixel v: the one whose centre lies at or
// after v x ratio, as the painter fills it.
int devicePixel(int v, qreal ratio) { return int(std::ceil(v * ratio - 0.5)); }

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
    const qreal ratio = image.devicePixelRatio();
    // The device pixels of the outline's logical pixels: the outer rectangle
    // less the inner one, each pixel once.
    const int outerLeft = devicePixel(rect.left(), ratio), outerRight = devicePixel(rect.right() + 1, ratio) - 1;
    const int outerTop = devicePixel(rect.top(), ratio), outerBottom = devicePixel(rect.bottom() + 1, ratio) - 1;
    const int innerLeft = devicePixel(rect.left() + 1, ratio), innerRight = devicePixel(rect.right(), ratio) - 1;
    const int innerTop = devicePixel(rect.top() + 1, ratio), innerBottom = devicePixel(rect.bottom(), ratio) - 1;
    const bool hollow = innerLeft <= innerRight && innerTop <= innerBottom;
    for (int y = outerTop; y <= outerBottom; ++y) {
        if (hollow && y >= innerTop && y <= innerBottom) {
            invertRow(image, y, outerLeft, innerLeft - 1, c);
            invertRow(image, y, innerRight + 1, outerRight, c);
        } else {
            invertRow(image, y, outerLeft, outerRight, c);
        }
    }
}

} // namespace uriage::chart
