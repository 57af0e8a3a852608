#include "chart/draw/frame_painter.h"

#include "chart/draw/axis_painter.h"
#include "chart/layout/projection.h"

#include <QGuiApplication>
#include <QPainter>
#include <QPalette>
#include <QPolygon>

namespace uriage::chart {

namespace {

void paintBackground(QPainter& painter, const PixelRect& a, const FrameColors& colors)
{
    painter.fillRect(QRect(QPoint(a.left, a.top), QPoint(a.right - 1, a.bottom - 1)), colors.face);
    painter.setPen(QPen(colors.highlight, 1));
    painter.drawLine(a.left, a.top, a.right - 1, a.top);
    painter.drawLine(a.left, a.top, a.left, a.bottom - 1);
    painter.setPen(QPen(colors.shadow, 1));
    painter.drawLine(a.left, a.bottom - 1, a.right - 1, a.bottom - 1);
    painter.drawLine(a.right - 1, a.top, a.right - 1, a.bottom - 1);
}

void paintLegend(QPainter& painter, const LegendGeometry& legend, const QFont& font,
                 const LegendSamplePainter& legendSample)
{
    if (!legend.shown)
        return;
    const PixelRect& b = legend.box;
    // The shadow reaches up to but not including (right + 4, bottom + 4).
    painter.fillRect(QRect(QPoint(b.left + 3, b.top + 3), QPoint(b.right + 3, b.bottom + 3)), colors::black);
    painter.fillRect(QRect(QPoint(b.left, b.top), QPoint(b.right - 1, b.bottom - 1)), colors::white);
    painter.setPen(QPen(colors::black, 1));
    painter.setBrush(Qt::NoBrush);
    painter.drawRect(b.left - 1, b.top - 1, b.right - b.left + 1, b.bottom - b.top + 1);
    painter.setFont(font);
    for (const LegendRow& row : legend.rows) {
        painter.setPen(colors::black);
        drawTextAt(painter, row.textX, row.textY, row.text);
        if (legendSample)
            legendSample(painter, row);
    }
}

void paintTitle(QPainter& painter, const std::vector<TitleLine>& title, const QFont& font)
{
    painter.setFont(font);
    painter.setPen(colors::blue);
    for (const TitleLine& line : title)
        drawTextAt(painter, line.x, line.y, line.text);
}

void paintWalls(QPainter& painter, const ChartLayout& layout, const BackWall& backWall)
{
    const PixelRect& r = layout.plot;
    const int d = layout.depth;
    painter.setPen(QPen(colors::black, 1));
    painter.setBrush(backWall.filled ? QBrush(backWall.color) : QBrush(Qt::NoBrush));
    if (layout.view == View::Flat) {
        painter.drawRect(r.left, r.top, r.width(), r.height());
        painter.setBrush(Qt::NoBrush);
        return;
    }
    const QPoint backTopLeft = atDepth(r.left + 1, r.top - 1, d);
    painter.drawRect(backTopLeft.x(), backTopLeft.y(), r.right - r.left - 1, r.bottom - r.top + 1);

    painter.setBrush(colors::paleYellow);
    painter.drawPolygon(QPolygon({QPoint(r.left, r.bottom), QPoint(r.left, r.top), atDepth(r.left, r.top, d + 1),
                                  atDepth(r.left, r.bottom, d + 1)}));
    painter.setBrush(colors::white);
    painter.drawPolygon(QPolygon({QPoint(r.left, r.bottom), QPoint(r.right, r.bottom), atDepth(r.right, r.bottom, d),
                                  atDepth(r.left, r.bottom, d)}));
    painter.setBrush(Qt::NoBrush);
}

} // namespace

FrameColors systemFrameColors()
{
    const QPalette palette = QGuiApplication::palette();
    return {palette.color(QPalette::Button), palette.color(QPalette::Light), palette.color(QPalette::Dark)};
}

void paintFrame(QPainter& painter, const ChartLayout& layout, const ChartConfig& config, const ChartFonts& fonts,
                const ChartMeasures& measures, const FrameColors& colors, const LegendSamplePainter& legendSample)
{
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing, false);
    painter.setRenderHint(QPainter::TextAntialiasing, false);
    painter.setBackgroundMode(Qt::TransparentMode);
    paintBackground(painter, layout.area, colors);
    paintLegend(painter, layout.legend, fonts.legend, legendSample);
    paintTitle(painter, layout.title, fonts.title);
    paintWalls(painter, layout, config.backWall);
    const TextStyle labels{fonts.labels, measures.labels};
    for (Axis axis : kAllAxes)
        paintAxis(painter, layout, layout.axes[axis], {fonts.axisTitle(axis), measures.axisTitle(axis)}, labels);
    painter.restore();
}

} // namespace uriage::chart
