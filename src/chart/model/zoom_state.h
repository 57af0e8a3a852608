#pragma once
// The ranges that zoom, scroll and the wheel hold the axes at, and the
// automatic state saved at the first zoom or drag-scroll so that an undo can
// bring it back.
#include "chart/model/series.h"

#include <array>
#include <optional>

namespace uriage::chart {

// Per axis (bottom, left, right): the fixed range it is held at, or nothing
// while the axis works out its range automatically.
using AxisRangeSet = std::array<std::optional<ValueRange>, 3>;

enum AxisSlot { BottomAxis = 0, LeftAxis = 1, RightAxis = 2 };

struct ZoomState {
    AxisRangeSet fixed;
    // The axes as they were before the first zoom or drag-scroll since the
    // chart was made or last undone; nothing when nothing is saved.
    std::optional<AxisRangeSet> saved;

    // Every axis automatic and nothing saved.
    bool isNormal() const
    {
        return !saved && !fixed[BottomAxis] && !fixed[LeftAxis] && !fixed[RightAxis];
    }
};

} // namespace uriage::chart
