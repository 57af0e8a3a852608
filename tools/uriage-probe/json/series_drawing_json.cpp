#include "json/series_drawing_json.h"

#include "chart/draw/series_painter.h"
#include "chart/layout/marker_geometry.h"
#include "chart/model/chart_model.h"

#include <QJsonObject>

namespace uriage::probe {

using namespace uriage::chart;

namespace {

QJsonObject rectJson(const QRect& r)
{
    return QJsonObject{{"left", r.left()}, {"top", r.top()}, {"width", r.width()}, {"height", r.height()}};
}

QJsonArray pointsJson(const SeriesGeometry& geometry)
{
    QJsonArray points;
    for (const DrawnPoint& p : geometry.points)
        points.append(QJsonObject{{"index", int(p.index)}, {"x", p.position.x()}, {"y", p.position.y()}});
    return points;
}

QJsonArray markersJson(const MarkerSpec& m, const SeriesGeometry& geometry, DepthSlot slot, View view)
{
    QJsonArray markers;
    for (const DrawnPoint& p : geometry.points) {
        QJsonObject marker = rectJson(markerFrontBounds(p.position, m, slot));
        marker.insert("index", int(p.index));
        marker.insert("shape", m.shape == MarkerShape::Circle ? "circle" : "rectangle");
        if (view == View::ThreeD && m.shape == MarkerShape::Rectangle)
            marker.insert("depth", slot.back - slot.front);
        markers.append(marker);
    }
    return markers;
}

QJsonArray valueLabelsJson(const Series& series, const SeriesGeometry& geometry, DepthSlot slot)
{
    QJsonArray labels;
    for (const ValueLabelBox& label : valueLabelBoxes(series, geometry, slot)) {
        QJsonObject box = rectJson(label.box);
        box.insert("text", label.lines.join(QLatin1Char('\n')));
        box.insert("connector", label.connectorLength);
        labels.append(box);
    }
    return labels;
}

QJsonObject oneSeriesJson(const Series& series, int seriesIndex, const SeriesFrame& frame)
{
    const SeriesConfig& config = series.config();
    const SeriesGeometry geometry = seriesGeometry(series, frame);
    const DepthSlot slot = seriesSlot(seriesIndex, frame);
    QJsonObject entry{{"name", config.name},
                      {"title", config.title},
                      {"points", pointsJson(geometry)},
                      {"markers", markersJson(config.marker, geometry, slot, frame.view)},
                      {"valueLabels", valueLabelsJson(series, geometry, slot)}};
    if (frame.view == View::ThreeD)
        entry.insert("slot", QJsonObject{{"front", slot.front}, {"back", slot.back}});
    if (geometry.leadInStart)
        entry.insert("leadIn", QJsonObject{{"x", geometry.leadInStart->x()}, {"y", geometry.leadInStart->y()}});
    return entry;
}

} // namespace

QJsonArray seriesDrawingJson(const ChartModel& model, const SeriesFrame& frame)
{
    QJsonArray result;
    for (int i = 0; i < ChartModel::seriesCount(); ++i)
        result.append(oneSeriesJson(model.series(i), i, frame));
    return result;
}

} // namespace uriage::probe
