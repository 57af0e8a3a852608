#pragma once
// Paints one laid-out axis: its title, labels, line, ticks, grid and minor
// ticks, in that order. Texts are placed with the measuring passed in.
#include "chart/axes/text_measurer.h"
#include "chart/draw/text_drawing.h"
#include "chart/layout/chart_layout.h"

#include <QFont>
#include <QPainter>
#include <QString>

namespace uriage::chart {

// A font to write with and the measuring that places its texts.
struct TextStyle {
    const QFont& font;
    const TextMeasurer& measure;
};

void paintAxis(QPainter& painter, const ChartLayout& layout, const AxisLayout& axis, const TextStyle& title,
               const TextStyle& labels);

} // namespace uriage::chart
