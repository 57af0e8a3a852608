#include "chart/draw/series_painter.h"

#include "chart/model/chart_model.h"
#include "chart/layout/marker_geometry.h"
#include "chart/draw/marker_painter.h"
#include "chart/layout/plot_clip.h"
#include "chart/draw/ribbon.h"
#include "chart/draw/value_label.h"

#include <QJsonObject>
#include <QPainter>
#include <QPen>

namespace uriage::chart {

namespace {

DepthSlot slotOf(int seriesIndex, const SeriesFrame& frame)
{
    if (frame.view == View::Flat)
        return {};
    return depthSlot(seriesIndex, ChartModel::seriesCount(), frame.slotWidth);
}

QColor markerFill(const SeriesConfig& config)
{
    return config.marker.fill.value_or(config.color);
}

void drawLinesAndMarkers(QPainter& painter, const SeriesConfig& config, const SeriesGeometry& geometry,
                         DepthSlot slot, View view)
{
    // The flat line takes the series colour; only the pen's width and style count.
    const QPen flatLine(config.color, config.pen.width, config.pen.style);
    for (const SeriesStep& step : geometry.steps) {
        if (step.kind == SeriesStep::Kind::Segment) {
            if (view == View::Flat) {
                painter.setPen(flatLine);
                painter.drawLine(step.from, step.to);
            } else {
                drawRibbon(painter, step.from, step.to, slot, config.color, step.steep, config.pen);
            }
        } else {
            drawMarker(painter, step.from, config.marker, markerFill(config), view, slot);
        }
    }
}

std::vector<ValueLabelBox> valueLabels(const Series& series, const SeriesGeometry& geometry, DepthSlot slot)
{
    std::vector<ValueLabelBox> boxes;
    const ValueLabels& settings = series.config().valueLabels;
    if (!settings.shown)
        return boxes;
    const RegionalSettings regional = RegionalSettings::current();
    const QFont font = valueLabelFont(settings);
    for (const DrawnPoint& point : geometry.points)
        boxes.push_back(valueLabelBox(point.position, valueLabelText(series, point.index, regional), font,
                                      settings.connectorLength, slot));
    return boxes;
}

QJsonObject rectJson(const QRect& r)
{
    return QJsonObject{{"left", r.left()}, {"top", r.top()}, {"width", r.width()}, {"height", r.height()}};
}

} // namespace

void drawOneSeries(QPainter& painter, const Series& series, int seriesIndex, const SeriesFrame& frame)
{
    const SeriesConfig& config = series.config();
    const SeriesGeometry geometry = seriesGeometry(series, frame);
    const DepthSlot slot = slotOf(seriesIndex, frame);

    painter.save();
    painter.setClipRegion(plotClipRegion(frame), Qt::IntersectClip);
    drawLinesAndMarkers(painter, config, geometry, slot, frame.view);
    painter.restore();

    const std::vector<ValueLabelBox> labels = valueLabels(series, geometry, slot);
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

QJsonArray seriesDrawingJson(const ChartModel& model, const SeriesFrame& frame)
{
    QJsonArray result;
    for (int i = 0; i < ChartModel::seriesCount(); ++i) {
        const Series& series = model.series(i);
        const SeriesConfig& config = series.config();
        const SeriesGeometry geometry = seriesGeometry(series, frame);
        const DepthSlot slot = slotOf(i, frame);

        QJsonArray points;
        QJsonArray markers;
        for (const DrawnPoint& p : geometry.points) {
            points.append(QJsonObject{{"index", int(p.index)}, {"x", p.position.x()}, {"y", p.position.y()}});
            const MarkerSpec& m = config.marker;
            QRect bounds;
            if (m.shape == MarkerShape::Circle)
                bounds = markerEllipseBox(atDepth(p.position, slot.front), m.halfWidth, m.halfHeight);
            else
                bounds = markerRectangle(atDepth(p.position, slot.front), m.halfWidth, m.halfHeight);
            QJsonObject marker = rectJson(bounds);
            marker.insert("index", int(p.index));
            marker.insert("shape", m.shape == MarkerShape::Circle ? "circle" : "rectangle");
            if (frame.view == View::ThreeD && m.shape == MarkerShape::Rectangle)
                marker.insert("depth", slot.back - slot.front);
            markers.append(marker);
        }
        QJsonArray labels;
        for (const ValueLabelBox& label : valueLabels(series, geometry, slot)) {
            QJsonObject box = rectJson(label.box);
            box.insert("text", label.lines.join(QLatin1Char('\n')));
            box.insert("connector", label.connectorLength);
            labels.append(box);
        }
        QJsonObject entry{{"name", config.name},
                          {"title", config.title},
                          {"points", points},
                          {"markers", markers},
                          {"valueLabels", labels}};
        if (frame.view == View::ThreeD)
            entry.insert("slot", QJsonObject{{"front", slot.front}, {"back", slot.back}});
        if (geometry.leadInStart)
            entry.insert("leadIn", QJsonObject{{"x", geometry.leadInStart->x()}, {"y", geometry.leadInStart->y()}});
        result.append(entry);
    }
    return result;
}

} // namespace uriage::chart
