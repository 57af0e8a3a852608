#pragma once
// Paints a laid-out chart's frame: background and bevel, legend, title,
// walls and the axes with their titles, labels, lines, ticks and grid.
#include "chart/draw/chart_fonts.h"
#include "chart/layout/chart_layout.h"
#include "chart/model/chart_config.h"

#include <QColor>
#include <functional>

class QPainter;

namespace uriage::chart {

struct FrameColors {
    QColor face;                      // the background
    QColor highlight;                 // bevel, top and left
    QColor shadow;                    // bevel, bottom and right
};

// The desktop's button-face, highlight and shadow colours.
FrameColors systemFrameColors();

// Fills a legend entry's colour box (the series' samples).
using LegendSamplePainter = std::function<void(QPainter&, const LegendRow&)>;

// Everything before the series, in drawing order.
void paintFrame(QPainter& painter, const ChartLayout& layout, const ChartConfig& config, const ChartFonts& fonts,
                const ChartMeasures& measures, const FrameColors& colors, const LegendSamplePainter& legendSample = {});

} // namespace uriage::chart
