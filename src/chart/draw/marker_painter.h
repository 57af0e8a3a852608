#pragma once
// Paints one point marker: flat rectangle or ellipse, or in the 3-D view a
// box with shaded right and top faces (an ellipse stays flat at the front).
#include "chart/layout/series_geometry.h"
#include "chart/model/chart_config.h"

#include <QColor>
#include <QPoint>

class QPainter;

namespace uriage::chart {

// Each channel lowered by the amount, never below 0.
QColor darkened(const QColor& color, int amount);

void drawFlatMarker(QPainter& painter, QPoint centre, MarkerShape shape, int halfWidth, int halfHeight,
                    const QColor& fill);

void drawMarker(QPainter& painter, QPoint centre, const MarkerSpec& marker, const QColor& fill, View view,
                DepthSlot slot);

} // namespace uriage::chart
