#pragma once
// Maps axis values linearly onto pixels: the axis minimum at the start pixel,
// the maximum at the end pixel (left to right, or bottom to top); and back.
#include "chart/axes/round.h"
#include "chart/model/axis.h"

#include <cstdlib>

namespace uriage::chart {

class ValueMap {
public:
    ValueMap() = default;
    ValueMap(int startPixel, int endPixel, double minimum, double maximum)
        : start_(startPixel), end_(endPixel), minimum_(minimum), maximum_(maximum)
    {
    }

    int start() const { return start_; }
    int end() const { return end_; }
    int length() const { return std::abs(end_ - start_); }
    int centre() const { return (start_ + end_) / 2; }
    double minimum() const { return minimum_; }
    double maximum() const { return maximum_; }

    // The position before rounding. With a range of 0 every value sits at
    // the centre pixel.
    double position(double value) const
    {
        const double range = maximum_ - minimum_;
        if (range == 0)
            return centre();
        return start_ + (value - minimum_) * double(end_ - start_) / range;
    }

    // The position rounded to the nearest pixel.
    int pixel(double value) const { return roundPixel(position(value)); }

    // The value that lies at a pixel: the inverse of the mapping. Without
    // pixel length or with a range of 0 every pixel gives the minimum.
    double valueAt(int pixel) const
    {
        const int pixels = end_ - start_;
        const double range = maximum_ - minimum_;
        if (pixels == 0 || range == 0)
            return minimum_;
        return minimum_ + double(pixel - start_) * range / double(pixels);
    }

private:
    int start_ = 0;
    int end_ = 0;
    double minimum_ = 0;
    double maximum_ = 0;
};

// The value maps of a chart's three axes.
using AxisMaps = PerAxis<ValueMap>;

} // namespace uriage::chart
