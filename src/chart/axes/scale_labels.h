#pragma once
// Evenly stepped axis labels: how many fit, the label step on a number or a
// date-time axis, and the label values from the maximum downwards.
#include <vector>

namespace uriage::chart {

// n = Round(L / (s + Round(s x 0.1))) for a room per label s > 0, else 1.
int labelsThatFit(int length, int room);

// Steps of 1, 2 or 5 times a power of ten, from 1 (range >= 1) or 1e-12 up,
// until Round(range / step) <= n. 1e-12 when n < 1.
double numberStep(double range, int n);

// Steps along the date ladder (in days) from 1 second, doubled from 365 days
// on, until Round(range / step) <= n. 1 second when n < 1.
double dateStep(double range, int n);

// The label values from the highest multiple of the step not above the
// maximum down to the minimum; none when the range holds 10,000 steps or
// more; exactly one, the maximum, when the range is 0.
std::vector<double> scaleLabelValues(double minimum, double maximum, double step);

} // namespace uriage::chart
