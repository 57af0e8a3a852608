#include "chart/draw/chart_renderer.h"

#include "chart/draw/chart_fonts.h"
#include "chart/model/chart_model.h"
#include "chart/draw/frame_painter.h"
#include "chart/draw/legend_sample.h"
#include "chart/draw/series_painter.h"

#include <QPainter>

namespace uriage::chart {

namespace {

ChartLayout layoutWith(const ChartModel& model, const QRect& area, const ChartFonts& fonts)
{
    const ChartFontMeasures measures(fonts);
    return layoutChart(layoutInput(model, area), measures.measures(), RegionalSettings::current());
}

} // namespace

ChartLayout chartLayout(const ChartModel& model, const QRect& area)
{
    return layoutWith(model, area, chartFonts(model.config()));
}

SeriesFrame seriesFrame(const ChartLayout& layout, const QColor& background)
{
    SeriesFrame frame;
    frame.view = layout.view;
    const PixelRect& r = layout.plot;
    frame.plot = QRect(QPoint(r.left, r.top), QPoint(r.right, r.bottom));
    frame.slotWidth = layout.slotWidth;
    frame.depth = layout.depth;
    const ValueMap bottom = layout.bottom().scale.map;
    const ValueMap left = layout.left().scale.map;
    const ValueMap right = layout.right().scale.map;
    frame.xPixel = [bottom](double v) { return bottom.position(v); };
    frame.leftPixel = [left](double v) { return left.position(v); };
    frame.rightPixel = [right](double v) { return right.position(v); };
    frame.xMinimum = bottom.minimum();
    frame.xMaximum = bottom.maximum();
    frame.background = background;
    return frame;
}

void renderChart(QPainter& painter, const ChartModel& model, const QRect& area)
{
    const ChartConfig& config = model.config();
    const ChartFonts fonts = chartFonts(config);
    const ChartLayout layout = layoutWith(model, area, fonts);
    const FrameColors colors = systemFrameColors();
    paintFrame(painter, layout, config, fonts, colors, [&](QPainter& p, const LegendRow& row) {
        drawLegendSample(p, model.series(row.series).config(), config.view, row.colorBox);
    });
    drawSeries(painter, model, seriesFrame(layout, colors.face));
}

} // namespace uriage::chart
