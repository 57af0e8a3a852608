#pragma once
// The ranges that zoom, scroll and the wheel hold the axes at, and the
// automatic state saved at the first zoom or drag-scroll so that an undo can
// bring it back.
#include "chart/model/axis.h"
#include "chart/model/series.h"

#include <algorithm>
#include <optional>

namespace uriage::chart {

// Per axis: the fixed range it is held at, or nothing while the axis works
// out its range automatically.
using AxisRangeSet = PerAxis<std::optional<ValueRange>>;

struct ZoomState {
    AxisRangeSet fixed;
    // The axes as they were before the first zoom, drag-scroll or wheel step
    // since the chart was made or last undone; nothing when nothing is saved.
    std::optional<AxisRangeSet> saved;

    // Every axis automatic and nothing saved.
    bool isNormal() const
    {
        return !saved && std::none_of(fixed.begin(), fixed.end(), [](const auto& range) { return range.has_value(); });
    }
};

} // namespace uriage::chart
