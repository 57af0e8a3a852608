#include "chart/zoom/zoom_hit.h"

#include "chart/layout/chart_layout.h"
#include "chart/layout/marker_geometry.h"
#include "chart/layout/plot_clip.h"
#include "chart/layout/series_geometry.h"
#include "chart/model/chart_model.h"

#include <QPolygon>

namespace uriage::chart {

namespace {

bool onLegend(const LegendGeometry& legend, QPoint p)
{
    if (!legend.shown)
        return false;
    // The frame lies one pixel outside the box, the shadow three pixels below and right.
    const PixelRect& b = legend.box;
    return spannedRect({b.left - 1, b.top - 1}, {b.right + 4, b.bottom + 4}).contains(p);
}

bool onTitle(const ChartLayout& layout, QPoint p)
{
    if (layout.title.empty())
        return false;
    const int top = layout.title.front().y;
    const int bottom = layout.title.back().y + layout.titleLineHeight - 1;
    return p.y() >= top && p.y() <= bottom && p.x() >= layout.area.left && p.x() < layout.area.right;
}

bool onAxis(const ChartLayout& layout, QPoint p)
{
    const PixelRect& r = layout.plot;
    const AxisLayout& bottom = layout.bottom();
    if (bottom.shown && spannedRect({r.left, r.bottom}, {r.right, bottom.titleReference}).contains(p))
        return true;
    const AxisLayout& left = layout.left();
    if (left.shown && spannedRect({left.titleReference, r.top}, {r.left, r.bottom}).contains(p))
        return true;
    const AxisLayout& right = layout.right();
    const int d = right.depthShift; // the right axis stands at the back in the 3-D view
    return right.shown && spannedRect({r.right + d, r.top - d}, {right.titleReference + d, r.bottom - d}).contains(p);
}

bool onSeries3D(const ChartLayout& layout, const ChartModel& model, QPoint p)
{
    const SeriesFrame frame = seriesFrame(layout, QColor());
    if (!plotBoxOutline(frame.plot, frame.depth).containsPoint(p, Qt::OddEvenFill))
        return false; // the series are clipped to the plot box
    for (int i = 0; i < ChartModel::seriesCount(); ++i) {
        const Series& series = model.series(i);
        const DepthSlot slot = depthSlot(i, ChartModel::seriesCount(), frame.slotWidth);
        const MarkerSpec& marker = series.config().marker;
        for (const SeriesStep& step : seriesGeometry(series, frame).steps) {
            if (step.kind == SeriesStep::Kind::Segment) {
                if (ribbonPolygon(step.from, step.to, slot).containsPoint(p, Qt::OddEvenFill))
                    return true;
                continue;
            }
            const MarkerBox box = markerBox(step.from, marker.halfWidth, marker.halfHeight, slot);
            for (const QPolygon* face : {&box.front, &box.rightSide, &box.top})
                if (face->containsPoint(p, Qt::OddEvenFill))
                    return true;
        }
    }
    return false;
}

} // namespace

ChartPart chartPartAt(const ChartLayout& layout, const ChartModel& model, QPoint position)
{
    if (onLegend(layout.legend, position))
        return ChartPart::Legend;
    if (onTitle(layout, position))
        return ChartPart::Title;
    if (layout.view == View::ThreeD && onSeries3D(layout, model, position))
        return ChartPart::Series;
    if (onAxis(layout, position))
        return ChartPart::Axis;
    const PixelRect& r = layout.plot;
    if (spannedRect({r.left, r.top}, {r.right, r.bottom}).contains(position))
        return ChartPart::Plot;
    return ChartPart::Nothing;
}

} // namespace uriage::chart
