#include "chart/draw/frame_painter.h"

#include "chart/layout/projection.h"

#include <QFontMetrics>
#include <QGuiApplication>
#include <QPainter>
#include <QPalette>
#include <QPolygon>

namespace uriage::chart {

namespace {

constexpr int kTickLength = 4;
constexpr int kMinorTickLength = 2;

// Writes a text with its top left corner at (x, y), without background.
void drawTextAt(QPainter& painter, int x, int y, const QString& text)
{
    painter.drawText(QPoint(x, y + painter.fontMetrics().ascent()), text);
}

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
    const QPoint backTopLeft = project(r.left + 1, r.top - 1, d);
    painter.drawRect(backTopLeft.x(), backTopLeft.y(), r.right - r.left - 1, r.bottom - r.top + 1);

    painter.setBrush(colors::paleYellow);
    painter.drawPolygon(QPolygon({QPoint(r.left, r.bottom), QPoint(r.left, r.top), project(r.left, r.top, d + 1),
                                  project(r.left, r.bottom, d + 1)}));
    painter.setBrush(colors::white);
    painter.drawPolygon(QPolygon({QPoint(r.left, r.bottom), QPoint(r.right, r.bottom), project(r.right, r.bottom, d),
                                  project(r.left, r.bottom, d)}));
    painter.setBrush(Qt::NoBrush);
}

// One axis: title, labels, axis line, ticks, grid, minor ticks.
void paintAxis(QPainter& painter, const ChartLayout& layout, const AxisLayout& axis, const QFont& titleFont,
               const QFont& labelFont)
{
    if (!axis.shown)
        return;
    const PixelRect& r = layout.plot;
    const int d = layout.depth;
    const int s = axis.depthShift;
    const bool bottom = axis.side == AxisSide::Bottom;
    const bool left = axis.side == AxisSide::Left;
    // Screen point of an axis-local position, with the right axis' depth shift.
    auto at = [s](int x, int y) { return project(x, y, s); };

    if (!axis.caption.isEmpty()) {
        painter.setFont(titleFont);
        painter.setPen(colors::black);
        const QFontMetrics metrics(titleFont);
        const int w = metrics.horizontalAdvance(axis.caption);
        QPoint p;
        if (bottom)
            p = at((r.left + r.right) / 2 - w / 2, axis.titleReference);
        else
            p = at(left ? axis.titleReference - w : axis.titleReference,
                   axis.scale.map.centre() - metrics.height() / 2);
        drawTextAt(painter, p.x(), p.y(), axis.caption);
    }

    painter.setFont(labelFont);
    painter.setPen(colors::black);
    const QFontMetrics labelMetrics(labelFont);
    for (const AxisLabel& label : axis.scale.labels) {
        const int w = labelMetrics.horizontalAdvance(label.text);
        QPoint p;
        if (bottom)
            p = at(label.pixel - w / 2, axis.labelReference);
        else
            p = at(left ? axis.labelReference - w : axis.labelReference, label.pixel - labelMetrics.height() / 2);
        drawTextAt(painter, p.x(), p.y(), label.text);
    }

    QPen axisPen(colors::black, 2);
    axisPen.setCapStyle(Qt::FlatCap);
    painter.setPen(axisPen);
    if (bottom)
        painter.drawLine(r.left, r.bottom, r.right, r.bottom);
    else if (left)
        painter.drawLine(r.left, r.top, r.left, r.bottom);
    else
        painter.drawLine(at(r.right, r.top), at(r.right, r.bottom));

    auto drawTicks = [&](const std::vector<int>& positions, int length) {
        painter.setPen(QPen(colors::grey, 1));
        for (int p : positions) {
            if (bottom)
                painter.drawLine(p, r.bottom + 1, p, r.bottom + length);
            else if (left)
                painter.drawLine(r.left - 1, p, r.left - length, p);
            else
                painter.drawLine(at(r.right + 1, p), at(r.right + length, p));
        }
    };
    drawTicks(axis.ticks, kTickLength);

    painter.setPen(QPen(colors::grey, 1, Qt::DotLine));
    painter.setBackgroundMode(Qt::TransparentMode);
    for (int p : axis.ticks) {
        if (layout.view == View::Flat) {
            if (bottom)
                painter.drawLine(p, r.top + 1, p, r.bottom - 1);
            else
                painter.drawLine(r.left + 1, p, r.right - 1, p);
        } else if (bottom) {
            painter.drawLine(project(p, r.bottom, d), QPoint(p, r.bottom));
            painter.drawLine(project(p, r.top, d), project(p, r.bottom, d));
        } else {
            if (left)
                painter.drawLine(project(r.left, p, d), QPoint(r.left, p));
            painter.drawLine(project(r.left, p, d), project(r.right, p, d));
        }
    }
    drawTicks(axis.minorTicks, kMinorTickLength);
}

} // namespace

FrameColors systemFrameColors()
{
    const QPalette palette = QGuiApplication::palette();
    return {palette.color(QPalette::Button), palette.color(QPalette::Light), palette.color(QPalette::Dark)};
}

void paintFrame(QPainter& painter, const ChartLayout& layout, const ChartConfig& config, const ChartFonts& fonts,
                const FrameColors& colors, const LegendSamplePainter& legendSample)
{
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing, false);
    painter.setRenderHint(QPainter::TextAntialiasing, false);
    painter.setBackgroundMode(Qt::TransparentMode);
    paintBackground(painter, layout.area, colors);
    paintLegend(painter, layout.legend, fonts.legend, legendSample);
    paintTitle(painter, layout.title, fonts.title);
    paintWalls(painter, layout, config.backWall);
    paintAxis(painter, layout, layout.bottom(), fonts.bottomTitle, fonts.labels);
    paintAxis(painter, layout, layout.left(), fonts.leftTitle, fonts.labels);
    paintAxis(painter, layout, layout.right(), fonts.rightTitle, fonts.labels);
    painter.restore();
}

} // namespace uriage::chart
