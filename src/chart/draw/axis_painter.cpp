#include "chart/draw/axis_painter.h"

#include "chart/layout/projection.h"

#include <QPen>

namespace uriage::chart {

namespace {

constexpr int kTickLength = 4;
constexpr int kMinorTickLength = 2;

// Screen point of an axis-local position: the right axis stands at the back
// in the 3-D view (its depth shift), the others at the front.
QPoint onAxis(const AxisLayout& axis, int x, int y) { return atDepth(x, y, axis.depthShift); }

// Top left corner of a text of width w: centred on the bottom axis at x,
// beside a vertical axis at y (right-aligned to the left axis' reference).
QPoint textCorner(const AxisLayout& axis, int reference, int along, int w, int h)
{
    if (axis.side == Axis::Bottom)
        return onAxis(axis, along - w / 2, reference);
    return onAxis(axis, axis.side == Axis::Left ? reference - w : reference, along - h / 2);
}

void paintTitle(QPainter& painter, const PixelRect& r, const AxisLayout& axis, const TextStyle& title)
{
    if (axis.caption.isEmpty())
        return;
    painter.setFont(title.font);
    painter.setPen(colors::black);
    const int along = axis.side == Axis::Bottom ? (r.left + r.right) / 2 : axis.scale.map.centre();
    const QPoint p = textCorner(axis, axis.titleReference, along, title.measure.width(axis.caption),
                                title.measure.lineHeight());
    drawTextAt(painter, p.x(), p.y(), axis.caption);
}

void paintLabels(QPainter& painter, const AxisLayout& axis, const TextStyle& labels)
{
    painter.setFont(labels.font);
    painter.setPen(colors::black);
    for (const AxisLabel& label : axis.scale.labels) {
        const QPoint p = textCorner(axis, axis.labelReference, label.pixel, labels.measure.width(label.text),
                                    labels.measure.lineHeight());
        drawTextAt(painter, p.x(), p.y(), label.text);
    }
}

void paintLine(QPainter& painter, const PixelRect& r, const AxisLayout& axis)
{
    QPen axisPen(colors::black, 2);
    axisPen.setCapStyle(Qt::FlatCap);
    painter.setPen(axisPen);
    if (axis.side == Axis::Bottom)
        painter.drawLine(r.left, r.bottom, r.right, r.bottom);
    else if (axis.side == Axis::Left)
        painter.drawLine(r.left, r.top, r.left, r.bottom);
    else
        painter.drawLine(onAxis(axis, r.right, r.top), onAxis(axis, r.right, r.bottom));
}

// Ticks point outwards from the plot, starting one pixel off the axis line.
void paintTicks(QPainter& painter, const PixelRect& r, const AxisLayout& axis, const std::vector<int>& positions,
                int length)
{
    painter.setPen(QPen(colors::grey, 1));
    for (int p : positions) {
        if (axis.side == Axis::Bottom)
            painter.drawLine(p, r.bottom + 1, p, r.bottom + length);
        else if (axis.side == Axis::Left)
            painter.drawLine(r.left - 1, p, r.left - length, p);
        else
            painter.drawLine(onAxis(axis, r.right + 1, p), onAxis(axis, r.right + length, p));
    }
}

// Dotted grid lines at the ticks: across the plot rectangle when flat; on
// the floor and the back wall (bottom axis) or on the left and the back wall
// (vertical axes) in the 3-D view.
void paintGrid(QPainter& painter, const ChartLayout& layout, const AxisLayout& axis)
{
    const PixelRect& r = layout.plot;
    const int d = layout.depth;
    painter.setPen(QPen(colors::grey, 1, Qt::DotLine));
    painter.setBackgroundMode(Qt::TransparentMode);
    for (int p : axis.ticks) {
        if (layout.view == View::Flat) {
            if (axis.side == Axis::Bottom)
                painter.drawLine(p, r.top + 1, p, r.bottom - 1);
            else
                painter.drawLine(r.left + 1, p, r.right - 1, p);
        } else if (axis.side == Axis::Bottom) {
            painter.drawLine(atDepth(p, r.bottom, d), QPoint(p, r.bottom));
            painter.drawLine(atDepth(p, r.top, d), atDepth(p, r.bottom, d));
        } else {
            if (axis.side == Axis::Left)
                painter.drawLine(atDepth(r.left, p, d), QPoint(r.left, p));
            painter.drawLine(atDepth(r.left, p, d), atDepth(r.right, p, d));
        }
    }
}

} // namespace

void paintAxis(QPainter& painter, const ChartLayout& layout, const AxisLayout& axis, const TextStyle& title,
               const TextStyle& labels)
{
    if (!axis.shown)
        return;
    paintTitle(painter, layout.plot, axis, title);
    paintLabels(painter, axis, labels);
    paintLine(painter, layout.plot, axis);
    paintTicks(painter, layout.plot, axis, axis.ticks, kTickLength);
    paintGrid(painter, layout, axis);
    paintTicks(painter, layout.plot, axis, axis.minorTicks, kMinorTickLength);
}

} // namespace uriage::chart
