#include "chart/axes/point_labels.h"

#include <cmath>

namespace uriage::chart {

bool usesPointLabels(const std::vector<const Series*>& onAxis)
{
    for (const Series* series : onAxis)
        if (series->count() > 0 && !series->label(0).isEmpty())
            return true;
    return false;
}

std::vector<PointLabelSource> pointLabelSources(const std::vector<const Series*>& onAxis)
{
    std::vector<const Series*> candidates;
    std::size_t longest = 0;
    for (const Series* series : onAxis) {
        if (series->count() == 0)
            continue;
        candidates.push_back(series);
        longest = std::max(longest, series->count());
    }
    std::vector<PointLabelSource> sources;
    sources.reserve(longest);
    for (std::size_t i = 0; i < longest; ++i) {
        for (const Series* series : candidates) {
            if (series->count() > i) {
                sources.push_back({series->x(i), series->label(i)});
                break;
            }
        }
    }
    return sources;
}

std::vector<AxisLabel> thinPointLabels(const std::vector<PointLabelSource>& sources, const ValueMap& map,
                                       const TextMeasurer& labelFont)
{
    std::vector<AxisLabel> drawn;
    int lastPixel = 0;
    int lastHalf = 0;
    for (const PointLabelSource& source : sources) {
        if (source.x < map.minimum() || source.x > map.maximum())
            continue;
        const int w = labelFont.width(source.text);
        const int p = map.pixel(source.x);
        int half = 0;
        if (drawn.empty()) {
            half = w / 2;
        } else {
            half = (w + int(std::trunc(w * 0.2))) / 2;
            const bool clear = p >= lastPixel ? p - half >= lastPixel + lastHalf : p + half <= lastPixel - lastHalf;
            if (!clear)
                continue;
        }
        drawn.push_back({source.x, p, source.text});
        lastPixel = p;
        lastHalf = half;
    }
    return drawn;
}

} // namespace uriage::chart
