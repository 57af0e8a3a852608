#pragma once
// Small helpers for timings: the median of samples and a monotonic stopwatch.
#include <QElapsedTimer>
#include <vector>

namespace uriage::bench {

// The middle sample (mean of the two middle ones for an even count); 0 when empty.
double median(std::vector<double> samples);

class Stopwatch {
public:
    Stopwatch() { timer_.start(); }
    double milliseconds() const { return double(timer_.nsecsElapsed()) / 1e6; }

private:
    QElapsedTimer timer_;
};

} // namespace uriage::bench
