#include "chart/draw/chart_renderer.h"

#include "chart/draw/chart_fonts.h"
#include "chart/draw/frame_painter.h"
#include "chart/draw/legend_sample.h"
#include "chart/draw/series_painter.h"
#include "chart/model/chart_model.h"

#include <QPainter>

namespace uriage::chart {

namespace {

ChartLayout layoutWith(const ChartModel& model, const QRect& area, const ChartMeasures& measures)
{
    return layoutChart(layoutInput(model, area), measures, RegionalSettings::current());
}

} // namespace

ChartLayout chartLayout(const ChartModel& model, const QRect& area)
{
    const ChartFontMeasures measures(chartFonts(model.config()));
    return layoutWith(model, area, measures.measures());
}

void renderChart(QPainter& painter, const ChartModel& model, const QRect& area)
{
    const ChartConfig& config = model.config();
    const ChartFonts fonts = chartFonts(config);
    const ChartFontMeasures measures(fonts);
    const ChartLayout layout = layoutWith(model, area, measures.measures());
    const FrameColors colors = systemFrameColors();
    paintFrame(painter, layout, config, fonts, measures.measures(), colors, [&](QPainter& p, const LegendRow& row) {
        drawLegendSample(p, model.series(row.series).config(), config.view, row.colorBox);
    });
    drawSeries(painter, model, seriesFrame(layout, colors.face));
}

QImage renderChartBitmap(const ChartModel& model, const QSize& logicalSize, qreal ratio, const QColor& background)
{
    QImage bitmap(logicalSize * ratio, QImage::Format_RGB32);
    bitmap.setDevicePixelRatio(ratio);
    bitmap.fill(background);
    QPainter painter(&bitmap);
    renderChart(painter, model, QRect(QPoint(0, 0), logicalSize));
    return bitmap;
}

} // namespace uriage::chart
