#pragma once
// Painting fixtures shared by the series drawing tests: an RGB32 canvas with
// antialiasing off, a frame whose axes map values straight onto pixels, and
// pixel queries.
#include "chart/layout/series_geometry.h"
#include "chart/model/chart_config.h"

#include <QImage>
#include <QPainter>
#include <QRect>
#include <functional>

namespace uriage::chart::testing {

inline const QColor kCanvasBackground{200, 200, 200};

// Draws into a fresh canvas filled with the background colour.
inline QImage paintCanvas(const std::function<void(QPainter&)>& draw, QSize size = {240, 200},
                          const QColor& background = kCanvasBackground)
{
    QImage image(size, QImage::Format_RGB32);
    image.fill(background);
    QPainter painter(&image);
    painter.setRenderHint(QPainter::Antialiasing, false);
    draw(painter);
    painter.end();
    return image;
}

inline QRgb rgbOf(const QColor& c) { return c.rgb(); }
inline bool pixelIs(const QImage& image, int x, int y, const QColor& c) { return image.pixel(x, y) == c.rgb(); }

// Bounding box of the pixels that differ from the background (empty if none).
inline QRect inkBounds(const QImage& image, const QColor& background = kCanvasBackground)
{
    QRect bounds;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            if (image.pixel(x, y) != background.rgb())
                bounds = bounds.united(QRect(x, y, 1, 1));
    return bounds;
}

inline int countPixels(const QImage& image, const QColor& c, const QRect& area)
{
    int n = 0;
    for (int y = area.top(); y <= area.bottom(); ++y)
        for (int x = area.left(); x <= area.right(); ++x)
            if (image.rect().contains(x, y) && image.pixel(x, y) == c.rgb())
                ++n;
    return n;
}

// Plot from (20, 20) to (200, 160); x values are pixels, left-axis values
// count up from the plot's bottom edge, right-axis values likewise at half scale.
inline SeriesFrame testFrame(View view = View::Flat, int slotWidth = 0)
{
    SeriesFrame frame;
    frame.view = view;
    frame.plot = QRect(QPoint(20, 20), QPoint(200, 160));
    frame.slotWidth = view == View::Flat ? 0 : slotWidth;
    frame.depth = 3 * frame.slotWidth;
    frame.maps[Axis::Bottom] = ValueMap(-1000000, 1000000, -1e6, 1e6);
    frame.maps[Axis::Left] = ValueMap(160, 60, 0, 100);
    frame.maps[Axis::Right] = ValueMap(160, 60, 0, 200);
    frame.background = kCanvasBackground;
    return frame;
}

inline SeriesConfig seriesConfig(const QColor& color, LinePen pen = {}, MarkerSpec marker = {},
                                 ValueLabels labels = {})
{
    SeriesConfig config;
    config.name = QStringLiteral("Series1");
    config.color = color;
    config.pen = pen;
    config.marker = marker;
    config.valueLabels = labels;
    return config;
}

// Value labels shown with the formatted value and a connector of the given length.
inline ValueLabels valueLabelsShown(int connector)
{
    ValueLabels labels;
    labels.shown = true;
    labels.connectorLength = connector;
    labels.style = ValueLabelStyle::Value;
    return labels;
}

} // namespace uriage::chart::testing
