#pragma once
// One axis worked out for a drawing: its range (automatic with the marker
// margin, or fixed), its label style, step and the labels it draws.
#include "chart/axes/axis_range.h"
#include "chart/axes/label_text.h"
#include "chart/axes/point_labels.h"
#include "chart/axes/text_measurer.h"
#include "chart/axes/value_map.h"

#include <optional>
#include <vector>

namespace uriage::chart {

class ChartModel;

enum class LabelStyle { None, Points, Scale };

// What an axis takes from the series, before the layout gives it a length.
struct AxisInput {
    Axis side = Axis::Bottom;
    bool shown = false;
    ValueRange data;                  // data range of the series on it
    int markerMargin = 0;
    bool dateTime = false;            // the first series on it has date-time x values
    LabelStyle style = LabelStyle::None;
    std::vector<PointLabelSource> pointLabels; // for the point-text style
    std::optional<ValueRange> fixedRange;      // a range held by zoom or scroll
};

AxisInput axisInput(const ChartModel& model, Axis side);

struct AxisScale {
    ValueMap map;                     // range and pixel ends
    LabelStyle style = LabelStyle::None;
    double step = 0;                  // scale labels only
    LabelFormat format;
    std::vector<AxisLabel> labels;    // the labels drawn (after thinning)
};

// Works out the axis between two pixels (start: minimum, end: maximum).
AxisScale scaleAxis(const AxisInput& input, int startPixel, int endPixel, const TextMeasurer& labelFont,
                    const RegionalSettings& regional);

// Width of the label band of a vertical axis: the wider of the label texts
// of its minimum and maximum, each cut toward zero to a multiple of the
// step, plus one space.
int verticalLabelBand(const AxisScale& scale, const TextMeasurer& labelFont);

// Minor tick positions: three between neighbouring ticks at
// tick - Round(j x (tick - previous) / 4), and at the same spacing beyond the
// first and last, kept only strictly inside the pixel range. None with fewer
// than two ticks.
std::vector<int> minorTicks(const std::vector<int>& ticks, int startPixel, int endPixel);

} // namespace uriage::chart
