#pragma once
// The zoom rectangle on the screen image: a one-pixel outline drawn by
// inverting the pixels under it (not-XOR with the pen colour), so that
// drawing it a second time takes it away without redrawing the chart.
#include <QColor>
#include <QImage>
#include <QRect>

namespace uriage::chart {

// The pen colour: the chart's background colour, black if that is white.
QColor zoomOutlineColor(const QColor& background);

// Sets every pixel of the rectangle's outline (both corner points included)
// to not (pixel xor colour). The rectangle is in logical pixels; on an image
// with a device pixel ratio every device pixel of the outline's logical
// pixels is inverted. Each pixel is touched once, also for a rectangle one
// pixel wide or high; pixels outside the image are left out. Works on 32-bit
// images; others are left as they are.
void invertOutline(QImage& image, const QRect& rect, const QColor& colour);

} // namespace uriage::chart
