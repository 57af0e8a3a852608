#include "json/chart_geometry_json.h"

#include <QJsonArray>

namespace uriage::probe {

using namespace chart;

namespace {

QJsonArray edges(const PixelRect& r) { return {r.left, r.top, r.right, r.bottom}; }

QJsonArray edges(const QRect& r) { return {r.left(), r.top(), r.right(), r.bottom()}; }

QString styleName(LabelStyle style)
{
    switch (style) {
    case LabelStyle::Points:
        return QStringLiteral("points");
    case LabelStyle::Scale:
        return QStringLiteral("scale");
    case LabelStyle::None:
        break;
    }
    return QStringLiteral("none");
}

QJsonObject axisJson(const AxisLayout& axis)
{
    // Vertical axes run along y; the right axis stands D pixels up in 3-D.
    const int shift = axis.side == Axis::Bottom ? 0 : -axis.depthShift;
    QJsonArray labels;
    for (const AxisLabel& label : axis.scale.labels)
        labels.append(QJsonObject{{"value", label.value}, {"pixel", label.pixel + shift}, {"text", label.text}});
    QJsonArray ticks;
    for (int p : axis.ticks)
        ticks.append(p + shift);
    QJsonArray minors;
    for (int p : axis.minorTicks)
        minors.append(p + shift);
    return QJsonObject{{"shown", axis.shown},
                       {"min", axis.scale.map.minimum()},
                       {"max", axis.scale.map.maximum()},
                       {"style", styleName(axis.scale.style)},
                       {"step", axis.scale.step},
                       {"labels", labels},
                       {"ticks", ticks},
                       {"minorTicks", minors}};
}

} // namespace

QJsonObject chartGeometryJson(const ChartLayout& layout)
{
    QJsonArray rows;
    for (const LegendRow& row : layout.legend.rows)
        rows.append(QJsonObject{{"text", row.text}, {"x", row.textX}, {"y", row.textY}, {"colorBox", edges(row.colorBox)}});
    QJsonObject legend{{"shown", layout.legend.shown}, {"box", edges(layout.legend.box)}, {"rows", rows}};
    QJsonArray title;
    for (const TitleLine& line : layout.title)
        title.append(QJsonObject{{"text", line.text}, {"x", line.x}, {"y", line.y}});
    QJsonObject axes{{"bottom", axisJson(layout.bottom())}, {"left", axisJson(layout.left())},
                     {"right", axisJson(layout.right())}};
    return QJsonObject{{"area", edges(layout.area)}, {"plot", edges(layout.plot)}, {"W", layout.slotWidth},
                       {"D", layout.depth},          {"legend", legend},          {"title", title},
                       {"axes", axes}};
}

} // namespace uriage::probe
