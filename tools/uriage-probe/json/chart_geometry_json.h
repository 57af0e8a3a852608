#pragma once
// The chart's geometry as the probe reports it, in chart-widget pixels.
#include "chart/layout/chart_layout.h"

#include <QJsonObject>

namespace uriage::probe {

// "area", "plot" ([l, t, r, b]), "W", "D", "legend" {"box", "rows"}, "title"
// [{"text", "x", "y"}] and "axes" {"bottom", "left", "right"}, each with
// "shown", "min", "max", "style", "step", "labels" [{"value", "pixel",
// "text"}], "ticks" and "minorTicks". Label and tick pixels are where they
// are drawn: the right axis' lie D pixels up in the 3-D view.
QJsonObject chartGeometryJson(const chart::ChartLayout& layout);

} // namespace uriage::probe
