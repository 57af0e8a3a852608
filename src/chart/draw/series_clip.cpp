#include "chart/draw/series_clip.h"

#include "chart/layout/plot_clip.h"

#include <QPainter>
#include <algorithm>

namespace uriage::chart {

SeriesClip::SeriesClip(QPainter& painter, const SeriesFrame& frame) : painter_(painter)
{
    const QRegion clip = plotClipRegion(frame);
    if (!painter.hasClipping())
        inside_ = plotClipInnerRects(frame, clip);
    painter.save();
    painter.setClipRegion(clip, Qt::IntersectClip);
}

SeriesClip::~SeriesClip() { painter_.restore(); }

bool SeriesClip::liesInside(const QRect& reach) const
{
    return std::any_of(inside_.begin(), inside_.end(), [&](const QRect& r) { return r.contains(reach); });
}

void SeriesClip::setClipping(bool on) { painter_.setClipping(on); }

} // namespace uriage::chart
