#include "chart/draw/marker_stamp.h"

#include "chart/draw/marker_painter.h"
#include "chart/layout/marker_geometry.h"

#include <QPainter>
#include <cmath>

namespace uriage::chart {

namespace {

// A marker this large (far beyond any window's) is drawn each time rather
// than held as an image.
constexpr qint64 kMostStampPixels = 256 * 256;

// A copy lands where the drawing would only if the painter shifts by whole
// device pixels and paints plainly over what is there.
bool copiesAsDrawn(const QPainter& painter)
{
    const QTransform& t = painter.deviceTransform();
    return t.type() <= QTransform::TxTranslate && t.dx() == std::round(t.dx()) && t.dy() == std::round(t.dy()) &&
           painter.compositionMode() == QPainter::CompositionMode_SourceOver && painter.opacity() == 1.0;
}

} // namespace

MarkerStamp::MarkerStamp(const QPainter& painter, const MarkerSpec& marker, const QColor& fill, View view,
                         DepthSlot slot)
    : marker_(marker), fill_(fill), view_(view), slot_(slot)
{
    if (!copiesAsDrawn(painter))
        return;
    const QRect reach = markerReach(QPoint(0, 0), marker, view, slot);
    if (qint64(reach.width()) * reach.height() > kMostStampPixels)
        return;
    offset_ = reach.topLeft();
    image_ = QImage(reach.size(), QImage::Format_ARGB32_Premultiplied);
    image_.fill(Qt::transparent);
    QPainter stamp(&image_);
    stamp.setRenderHints(painter.renderHints());
    drawMarker(stamp, -offset_, marker, fill, view, slot);
}

void MarkerStamp::draw(QPainter& painter, QPoint centre) const
{
    if (image_.isNull())
        drawMarker(painter, centre, marker_, fill_, view_, slot_);
    else
        painter.drawImage(centre + offset_, image_);
}

} // namespace uriage::chart
