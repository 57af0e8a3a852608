#pragma once
// A 3-D ribbon segment: the four-cornered face between two points, spanning
// the front and back depth of the series' slot.
#include "chart/layout/series_geometry.h"
#include "chart/model/chart_config.h"

class QPainter;

namespace uriage::chart {

// Filled in the series colour (darkened by 64 on a steep rise) and outlined
// with the line pen: its colour, width and style.
void drawRibbon(QPainter& painter, QPoint from, QPoint to, DepthSlot slot, const QColor& color, bool steep,
                const LinePen& pen);

} // namespace uriage::chart
