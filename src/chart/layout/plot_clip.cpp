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

std::vector<QRect> plotClipInnerRects(const SeriesFrame& frame, const QRegion& clip)
{
    if (frame.view == View::Flat)
        return {clip.boundingRect()};
    const QRect& r = frame.plot;
    const int d = frame.depth;
    const QRect candidates[] = {
        QRect(QPoint(r.left() + 1, r.top() + 1), QPoint(r.right() - 1, r.bottom() - 1)),
        QRect(QPoint(r.left() + d + 1, r.top() - d + 1), QPoint(r.right() + d - 1, r.bottom() - d - 1)),
        QRect(QPoint(r.left() + 1, r.top() + 1), QPoint(r.right() + d - 1, r.bottom() - d - 1)),
    };
    std::vector<QRect> inside;
    for (const QRect& candidate : candidates)
        if (candidate.isValid() && clip.contains(candidate))
            inside.push_back(candidate);
    return inside;
}

} // namespace uriage::chart
