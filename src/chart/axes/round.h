#pragma once
// Rounding to the nearest whole number with halves going to the even
// neighbour: used for every "nearest pixel" and for the label count.
#include <cmath>

namespace uriage::chart {

// Nearest whole number, halves to even (2.5 -> 2, 3.5 -> 4, -2.5 -> -2).
// Independent of the floating-point rounding mode in force.
inline double roundHalfEven(double v)
{
    if (!std::isfinite(v))
        return v;
    const double nearest = std::round(v); // halves away from zero
    if (std::fabs(v - std::trunc(v)) == 0.5)
        return 2.0 * std::round(v / 2.0);
    return nearest;
}

// The same, as a pixel coordinate. Values beyond any screen are clamped so
// that the conversion to int is always defined; not-a-number gives 0.
inline int roundPixel(double v)
{
    constexpr double kLimit = 1.0e9;
    if (std::isnan(v))
        return 0;
    if (v > kLimit)
        return static_cast<int>(kLimit);
    if (v < -kLimit)
        return static_cast<int>(-kLimit);
    return static_cast<int>(roundHalfEven(v));
}

} // namespace uriage::chart
