#include "chart/draw/series_painter.h"

#include "chart/axes/text_measuring.h"
#include "chart/draw/marker_stamp.h"
#include "chart/draw/ribbon.h"
#include "chart/draw/series_clip.h"
#include "chart/layout/marker_geometry.h"
#include "chart/model/chart_model.h"

#include <QPainter>
#include <QPen>

namespace uriage::chart {

namespace {

QColor markerFill(const SeriesConfig& config)
{
    return config.marker.fill.value_or(config.color);
}

void drawLinesAndMarkers(QPainter& painter, const SeriesConfig& config, const SeriesGeometry& geometry,
                         const SeriesFrame& frame, DepthSlot slot)
{
    SeriesClip clip(painter, frame);
    // The flat line takes the series colour; only the pen's width and style count.
    const QPen flatLine(config.color, config.pen.width, config.pen.style);
    const MarkerStamp marker(painter, config.marker, markerFill(config), frame.view, slot);
    for (const SeriesStep& step : geometry.steps) {
        if (step.kind == SeriesStep::Kind::Segment) {
            clip.draw(segmentReach(step.from, step.to, slot, config.pen.width), [&] {
                if (frame.view == View::Flat) {
                    painter.setPen(flatLine);
                    painter.drawLine(step.from, step.to);
                } else {
                    drawRibbon(painter, step.from, step.to, slot, config.color, step.steep, config.pen);
                }
            });
        } else {
            clip.draw(markerReach(step.from, config.marker, frame.view, slot),
                      [&] { marker.draw(painter, step.from); });
        }
    }
}

} // namespace

std::vector<ValueLabelBox> valueLabelBoxes(const Series& series, const SeriesGeometry& geometry, DepthSlot slot)
{
    std::vector<ValueLabelBox> boxes;
    const ValueLabels& settings = series.config().valueLabels;
    if (!settings.shown)
        return boxes;
    const RegionalSettings regional = RegionalSettings::current();
    const std::unique_ptr<TextMeasurer> font = chartTextMeasurer(valueLabelFont(settings));
    for (const DrawnPoint& point : geometry.points)
        boxes.push_back(valueLabelBox(point.position, valueLabelText(series, point.index, regional), *font,
                                      settings.connectorLength, slot));
    return boxes;
}

void drawOneSeries(QPainter& painter, const Series& series, int seriesIndex, const SeriesFrame& frame)
{
    const SeriesConfig& config = series.config();
    const SeriesGeometry geometry = seriesGeometry(series, frame);
    const DepthSlot slot = seriesSlot(seriesIndex, frame);

    drawLinesAndMarkers(painter, config, geometry, frame, slot);

    const std::vector<ValueLabelBox> labels = valueLabelBoxes(series, geometry, slot);
    if (labels.empty())
        return;
    painter.save();
    const QFont font = valueLabelFont(config.valueLabels);
    const QColor connector = connectorColor(config.color, frame.background);
    for (const ValueLabelBox& label : labels)
        drawValueLabel(painter, label, font, connector);
    painter.restore();
}

void drawSeries(QPainter& painter, const ChartModel& model, const SeriesFrame& frame)
{
    for (int i = 0; i < ChartModel::seriesCount(); ++i)
        drawOneSeries(painter, model.series(i), i, frame);
}

} // namespace uriage::chart
