#include "chart/axes/scale_labels.h"

#include "chart/axes/round.h"

#include <array>
#include <cmath>

namespace uriage::chart {

namespace {

constexpr double kSmallestNumberStep = 1e-12;
constexpr double kSecondsPerDay = 86400.0;
constexpr double kMaximumLabels = 10000.0;

// The date ladder in seconds.
constexpr std::array<double, 25> kDateLadder = {
    1, 5, 10, 15, 30,                                  // seconds
    60, 300, 600, 900, 1800,                           // minutes
    3600, 7200, 21600, 43200,                          // hours
    86400 * 1.0, 86400 * 2.0, 86400 * 3.0, 86400 * 7.0, 86400 * 15.0, 86400 * 30.0,
    86400 * 60.0, 86400 * 90.0, 86400 * 120.0, 86400 * 182.0, 86400 * 365.0,
};

double ladderDays(std::size_t i) { return kDateLadder[i] / kSecondsPerDay; }

bool tooMany(double range, double step, int n) { return roundHalfEven(range / step) > n; }

} // namespace

int labelsThatFit(int length, int room)
{
    if (room <= 0)
        return 1;
    const int separation = roundPixel(room * 0.1);
    return roundPixel(double(length) / double(room + separation));
}

double numberStep(double range, int n)
{
    if (n < 1 || !std::isfinite(range))
        return kSmallestNumberStep;
    // The step is kept as mantissa x 10^exponent so that it never drifts.
    int mantissa = 1;
    int exponent = range >= 1 ? 0 : -12;
    auto step = [&] { return mantissa * std::pow(10.0, exponent); };
    while (tooMany(range, step(), n)) {
        if (mantissa == 1) {
            mantissa = 2;
        } else if (mantissa == 2) {
            mantissa = 5;
        } else {
            mantissa = 1;
            ++exponent;
        }
    }
    return step();
}

double dateStep(double range, int n)
{
    const double second = ladderDays(0);
    if (n < 1 || !std::isfinite(range))
        return second;
    double step = second;
    if (range / step > 1000000.0)
        step = range / 1000000.0;
    while (tooMany(range, step, n)) {
        if (step >= ladderDays(kDateLadder.size() - 1)) {
            step *= 2;
            continue;
        }
        std::size_t largest = 0; // the largest entry not above the step
        while (largest + 1 < kDateLadder.size() && ladderDays(largest + 1) <= step)
            ++largest;
        step = ladderDays(largest + 1);
    }
    return step;
}

std::vector<double> scaleLabelValues(double minimum, double maximum, double step)
{
    std::vector<double> values;
    if (!(step > 0) || !std::isfinite(minimum) || !std::isfinite(maximum))
        return values;
    if (!(std::fabs((maximum - minimum) / step) < kMaximumLabels))
        return values;
    if (minimum == maximum) {
        values.push_back(maximum);
        return values;
    }
    double v = std::trunc(maximum / step) * step;
    while (v > maximum) {
        const double lower = v - step;
        if (!(lower < v)) // the step is lost in the value's precision
            return values;
        v = lower;
    }
    const double limit = (minimum - 1e-12) / 1.000000000001;
    while (v >= limit) {
        values.push_back(v);
        const double next = v - step;
        if (!(next < v))
            break;
        v = next;
    }
    return values;
}

} // namespace uriage::chart
