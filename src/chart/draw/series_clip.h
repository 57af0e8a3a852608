#pragma once
// A series' lines and markers clipped to the plot, the clip kept out of the
// way where it cannot change a pixel. Clipping a fill to the 3-D view's
// hexagon costs more than the fill itself (Qt intersects every span with the
// region's rows): most shapes lie well inside it, and those are drawn with
// clipping off.
#include "chart/layout/series_frame.h"

#include <QRect>
#include <vector>

class QPainter;

namespace uriage::chart {

class SeriesClip {
public:
    // Saves the painter's state and clips it to the plot. A painter that
    // already clips keeps every shape clipped: its own clip is not known here.
    SeriesClip(QPainter& painter, const SeriesFrame& frame);
    ~SeriesClip();
    SeriesClip(const SeriesClip&) = delete;
    SeriesClip& operator=(const SeriesClip&) = delete;

    // Runs draw, with clipping off when reach (every pixel the shape may
    // touch) lies inside the clip.
    template <typename Draw>
    void draw(const QRect& reach, Draw&& draw)
    {
        const bool unclipped = liesInside(reach);
        if (unclipped)
            setClipping(false);
        draw();
        if (unclipped)
            setClipping(true);
    }

private:
    bool liesInside(const QRect& reach) const;
    void setClipping(bool on);

    QPainter& painter_;
    std::vector<QRect> inside_;
};

} // namespace uriage::chart
