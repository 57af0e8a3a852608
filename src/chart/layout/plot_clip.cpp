#include "chart/layout/plot_clip.h"

#include <algorithm>

namespace uriage::chart {

QRect flatPlotClip(const QRect& plot)
{
    const int left = plot.left() + 1, top = plot.top() + 1;
    const int endX = plot.right(), endY = plot.bottom() - 1;
    return QRect(left, top, std::max(0, endX - left), std::max(0, endY - top));
}

QPolygon plotBoxOutline(const QRect& plot, int depth)
{
    QPolygon outline;
    outline << QPoint(plot.left(), plot.bottom()) << QPoint(plot.left(), plot.top())
            << QPoint(plot.left() + depth, plot.top() - depth) << QPoint(plot.right() + depth, plot.top() - depth)
            << QPoint(plot.right() + depth, plot.bottom() - depth) << QPoint(plot.right(), plot.bottom());
    return outline;
}

QRegion plotClipRegion(const SeriesFrame& frame)
{
    if (frame.view == View::Flat)
        return QRegion(flatPlotClip(frame.plot));
    return QRegion(plotBoxOutline(frame.plot, frame.depth));
}

} // namespace uriage::chart
