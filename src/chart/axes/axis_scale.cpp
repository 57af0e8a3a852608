#include "chart/axes/axis_scale.h"

#include "chart/axes/scale_labels.h"
#include "chart/model/chart_model.h"

#include <algorithm>
#include <cmath>

namespace uriage::chart {

namespace {

std::vector<const Series*> allSeries(const ChartModel& model)
{
    std::vector<const Series*> all;
    for (int i = 0; i < ChartModel::seriesCount(); ++i)
        all.push_back(&model.series(i));
    return all;
}

} // namespace

AxisInput axisInput(const ChartModel& model, Axis side)
{
    const std::vector<const Series*> onAxis = seriesOnAxis(allSeries(model), side);
    AxisInput input;
    input.side = side;
    input.shown = !onAxis.empty();
    input.data = dataRange(onAxis, side);
    input.markerMargin = markerMargin(onAxis, side);
    if (side == Axis::Bottom) {
        input.dateTime = !onAxis.empty() && onAxis.front()->config().xDateTime;
        if (usesPointLabels(onAxis)) {
            input.style = LabelStyle::Points;
            input.pointLabels = pointLabelSources(onAxis);
        } else if (!onAxis.empty()) {
            input.style = LabelStyle::Scale;
        }
    } else if (!onAxis.empty()) {
        input.style = LabelStyle::Scale;
    }
    return input;
}

AxisScale scaleAxis(const AxisInput& input, int startPixel, int endPixel, const TextMeasurer& labelFont,
                    const RegionalSettings& regional)
{
    // The bottom axis runs to the right, a vertical one upwards; a window
    // shrunk past its bands leaves a negative length.
    const int length = input.side == Axis::Bottom ? endPixel - startPixel : startPixel - endPixel;
    const ValueRange range =
        input.fixedRange ? *input.fixedRange : withMarkerMargin(input.data, input.markerMargin, length);

    AxisScale scale;
    scale.map = ValueMap(startPixel, endPixel, range.minimum, range.maximum);
    scale.style = input.style;
    scale.format = LabelFormat{input.dateTime, range.maximum - range.minimum, regional};

    if (input.style == LabelStyle::Points) {
        scale.labels = thinPointLabels(input.pointLabels, scale.map, labelFont);
        return scale;
    }
    if (input.style != LabelStyle::Scale)
        return scale;

    int room = labelFont.lineHeight();
    if (input.side == Axis::Bottom)
        room = std::max(labelFont.width(scale.format.text(range.minimum)),
                        labelFont.width(scale.format.text(range.maximum)));
    const int n = labelsThatFit(length, room);
    const double span = range.maximum - range.minimum;
    scale.step = input.dateTime ? dateStep(span, n) : numberStep(span, n);
    if (length <= 0) // no room: no labels
        return scale;
    for (double v : scaleLabelValues(range.minimum, range.maximum, scale.step))
        scale.labels.push_back({v, scale.map.pixel(v), scale.format.text(v)});
    return scale;
}

int verticalLabelBand(const AxisScale& scale, const TextMeasurer& labelFont)
{
    auto cut = [&](double v) { return scale.step > 0 ? std::trunc(v / scale.step) * scale.step : v; };
    const int widest = std::max(labelFont.width(scale.format.text(cut(scale.map.minimum()))),
                                labelFont.width(scale.format.text(cut(scale.map.maximum()))));
    return widest + labelFont.width(QStringLiteral(" "));
}

std::vector<int> minorTicks(const std::vector<int>& ticks, int startPixel, int endPixel)
{
    std::vector<int> minors;
    if (ticks.size() < 2)
        return minors;
    const int low = std::min(startPixel, endPixel);
    const int high = std::max(startPixel, endPixel);
    auto keep = [&](int p) {
        if (p > low && p < high)
            minors.push_back(p);
    };
    auto quarter = [](int j, int distance) { return roundPixel(j * distance / 4.0); };
    for (int j = 1; j <= 3; ++j) // beyond the first tick
        keep(ticks[0] - quarter(j, ticks[1] - ticks[0]));
    for (std::size_t i = 1; i < ticks.size(); ++i)
        for (int j = 1; j <= 3; ++j)
            keep(ticks[i] - quarter(j, ticks[i] - ticks[i - 1]));
    const std::size_t last = ticks.size() - 1;
    for (int j = 1; j <= 3; ++j) // beyond the last tick
        keep(ticks[last] + quarter(j, ticks[last] - ticks[last - 1]));
    return minors;
}

} // namespace uriage::chart
