#pragma once
// Point-text labels on the bottom axis: whether the axis uses them, which
// point gives the label at each index, and the thinning that leaves out
// labels that would overlap the last one drawn.
#include "chart/axes/text_measurer.h"
#include "chart/axes/value_map.h"
#include "chart/model/series.h"

#include <QString>
#include <vector>

namespace uriage::chart {

// True when, in series order, a series on the axis has a point and a
// non-empty label on its first point.
bool usesPointLabels(const std::vector<const Series*>& onAxis);

struct PointLabelSource {
    double x = 0;
    QString text;
};

// For every point index, the label of the first series holding points that
// has more than that many points.
std::vector<PointLabelSource> pointLabelSources(const std::vector<const Series*>& onAxis);

struct AxisLabel {
    double value = 0;
    int pixel = 0;                    // along the axis
    QString text;
};

// The labels drawn, in index order: those whose x lies outside the axis
// range are skipped; the first is always drawn; a later one only when its
// half-extent (w + trunc(w x 0.2)) div 2 keeps clear of the last drawn one.
std::vector<AxisLabel> thinPointLabels(const std::vector<PointLabelSource>& sources, const ValueMap& map,
                                       const TextMeasurer& labelFont);

} // namespace uriage::chart
