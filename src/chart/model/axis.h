#pragma once
// The chart's three axes by name, and one value of a kind per axis.
#include "chart/model/chart_config.h"

#include <array>
#include <cstddef>

namespace uriage::chart {

enum class Axis { Bottom, Left, Right };

// Every axis, in the order they are laid out and drawn.
inline constexpr std::array<Axis, 3> kAllAxes{Axis::Bottom, Axis::Left, Axis::Right};

// The axis a series' values are drawn against.
constexpr Axis axisOf(VerticalAxis axis) { return axis == VerticalAxis::Right ? Axis::Right : Axis::Left; }

// One T per axis, indexed by the axis: {bottom, left, right}.
template <class T>
struct PerAxis {
    std::array<T, 3> values{};

    T& operator[](Axis axis) { return values[static_cast<std::size_t>(axis)]; }
    const T& operator[](Axis axis) const { return values[static_cast<std::size_t>(axis)]; }
    auto begin() { return values.begin(); }
    auto end() { return values.end(); }
    auto begin() const { return values.begin(); }
    auto end() const { return values.end(); }
};

} // namespace uriage::chart
