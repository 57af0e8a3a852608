#include "chart/layout/series_geometry.h"

#include "chart/axes/round.h"
#include "chart/model/series.h"

#include <algorithm>
#include <cmath>
#include <tuple>

namespace uriage::chart {

namespace {

constexpr double kPixelLimit = 32766.0;

bool withinPixelLimit(double v)
{
    // NaN fails both comparisons and so counts as outside.
    return v >= -kPixelLimit && v <= kPixelLimit;
}

int nearestPixel(double v)
{
    // Only called on values within the limit.
    return static_cast<int>(roundHalfEven(v));
}

double verticalPixel(const Series& series, const SeriesFrame& frame, double value)
{
    return frame.maps[axisOf(series.config().axis)].position(value);
}

double valueOf(const Series& series, std::size_t i)
{
    return series.isNull(i) ? 0.0 : series.y(i);
}

// After a zoom or scroll that leaves earlier points out, a segment leads in
// from the plot's left edge, at the height the line between the point before
// and the first drawn point has at the axis minimum.
std::optional<QPoint> leadInStart(const Series& series, std::size_t firstDrawn, const SeriesFrame& frame)
{
    const double xMinimum = frame.maps[Axis::Bottom].minimum();
    const std::size_t before = firstDrawn - 1;
    const double x0 = series.x(before), x1 = series.x(firstDrawn);
    const double y0 = valueOf(series, before), y1 = valueOf(series, firstDrawn);
    const double y = x1 == x0 ? y1 : y0 + (y1 - y0) * (xMinimum - x0) / (x1 - x0);
    return pixelPosition(frame.maps[Axis::Bottom].position(xMinimum), verticalPixel(series, frame, y));
}

} // namespace

std::optional<QPoint> pixelPosition(double x, double y)
{
    if (!withinPixelLimit(x) || !withinPixelLimit(y))
        return std::nullopt;
    return QPoint(nearestPixel(x), nearestPixel(y));
}

QPolygon ribbonPolygon(QPoint from, QPoint to, DepthSlot slot)
{
    QPolygon polygon;
    polygon << atDepth(from, slot.front) << atDepth(to, slot.front) << atDepth(to, slot.back)
            << atDepth(from, slot.back);
    return polygon;
}

QRect segmentReach(QPoint from, QPoint to, DepthSlot slot, int penWidth)
{
    // A wide pen reaches half its width past the line and past its square
    // ends; its whole width and one pixel more are to spare.
    const int spare = std::max(penWidth, 1) + 1;
    const QRect front = QRect(atDepth(from, slot.front), atDepth(to, slot.front)).normalized();
    const int depth = slot.back - slot.front;
    return front.united(front.translated(depth, -depth)).adjusted(-spare, -spare, spare, spare);
}

bool risesSteeply(QPoint from, QPoint to)
{
    // The ratio of slot height to slot width is 1 in this chart.
    constexpr double ratio = 1.0;
    if (to.x() == from.x())
        return false;
    const double slope = double(from.y() - to.y()) / double(to.x() - from.x());
    return slope > ratio;
}

std::pair<std::size_t, std::size_t> drawnRange(const Series& series, double xMinimum, double xMaximum)
{
    const std::size_t n = series.count();
    if (n == 0)
        return {0, 0};
    if (xMinimum <= series.x(0) && xMaximum >= series.x(n - 1))
        return {0, n};
    std::size_t first = 0;
    while (first < n && series.x(first) < xMinimum)
        ++first;
    if (first == n)
        return {n, n};
    std::size_t last = first;
    while (last + 1 < n && series.x(last) < xMaximum)
        ++last;
    return {first, last + 1};
}

std::pair<double, double> pointPixel(const Series& series, std::size_t i, const SeriesFrame& frame)
{
    return {frame.maps[Axis::Bottom].position(series.x(i)), verticalPixel(series, frame, valueOf(series, i))};
}

SeriesGeometry seriesGeometry(const Series& series, const SeriesFrame& frame)
{
    SeriesGeometry g;
    const ValueMap& bottom = frame.maps[Axis::Bottom];
    std::tie(g.firstDrawn, g.endDrawn) = drawnRange(series, bottom.minimum(), bottom.maximum());
    if (g.firstDrawn >= g.endDrawn)
        return g;
    if (g.firstDrawn > 0)
        g.leadInStart = leadInStart(series, g.firstDrawn, frame);

    std::optional<QPoint> previous = g.leadInStart;
    bool previousHasMarker = false;
    std::size_t previousIndex = 0;
    for (std::size_t i = g.firstDrawn; i < g.endDrawn; ++i) {
        const auto [px, py] = pointPixel(series, i, frame);
        const auto position = pixelPosition(px, py);
        if (!position)
            continue; // skipped entirely: it does not become the previous point
        g.points.push_back({i, *position});
        if (previous) {
            if (*position != *previous) {
                SeriesStep segment;
                segment.kind = SeriesStep::Kind::Segment;
                segment.from = *previous;
                segment.to = *position;
                segment.steep = risesSteeply(*previous, *position);
                g.steps.push_back(segment);
            }
            // The previous point's marker goes over both segments that meet at it.
            if (previousHasMarker)
                g.steps.push_back({SeriesStep::Kind::Marker, *previous, {}, false, previousIndex});
        }
        previous = position;
        previousHasMarker = true;
        previousIndex = i;
    }
    // The last point drawn (also a single one, or the one before a skipped
    // last point) gets its marker at the end.
    if (previous && previousHasMarker)
        g.steps.push_back({SeriesStep::Kind::Marker, *previous, {}, false, previousIndex});
    return g;
}

} // namespace uriage::chart
