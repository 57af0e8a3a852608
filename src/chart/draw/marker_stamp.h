#pragma once
// A series' markers painted as copies of one drawn marker. All markers of a
// series share shape, size, colours and depth, and copying a small image
// costs a fraction of drawing a 3-D box's three outlined faces. Where the
// painter does not map to the device by a whole-pixel shift (a screen with a
// fractional pixel ratio, say) every marker is drawn instead.
#include "chart/model/chart_config.h"
#include "chart/layout/series_frame.h"

#include <QColor>
#include <QImage>
#include <QPoint>
#include <QRect>

class QPainter;

namespace uriage::chart {

class MarkerStamp {
public:
    MarkerStamp(const QPainter& painter, const MarkerSpec& marker, const QColor& fill, View view, DepthSlot slot);

    // The marker centred on the point, pixel for pixel as drawMarker draws it.
    void draw(QPainter& painter, QPoint centre) const;

private:
    MarkerSpec marker_;
    QColor fill_;
    View view_;
    DepthSlot slot_;
    QPoint offset_;                   // the image's top left, from the centre
    QImage image_;                    // null: each marker is drawn
};

} // namespace uriage::chart
