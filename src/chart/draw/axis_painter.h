#pragma once
// Paints one laid-out axis: its title, labels, line, ticks, grid and minor
// ticks, in that order. Texts are placed with the measuring passed in.
#include "chart/axes/text_measurer.h"
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

// Writes a text with its top left corner at (x, y), without background.
inline void drawTextAt(QPainter& painter, int x, int y, const QString& text)
{
    painter.drawText(QPoint(x, y + painter.fontMetrics().ascent()), text);
}

void paintAxis(QPainter& painter, const ChartLayout& layout, const AxisLayout& axis, const TextStyle& title,
               const TextStyle& labels);

} // namespace uriage::chart
