#pragma once
// One line series' points: parallel x, y, label and null-mark sequences held
// in ascending x order, with lazily recomputed statistics.
#include "chart/model/chart_config.h"

#include <QString>
#include <cstddef>
#include <vector>

namespace uriage::chart {

struct ValueRange {
    double minimum = 0;
    double maximum = 0;
};

class Series {
public:
    explicit Series(SeriesConfig config = {});

    const SeriesConfig& config() const { return config_; }

    std::size_t count() const { return x_.size(); }
    double x(std::size_t i) const { return x_[i]; }
    double y(std::size_t i) const { return y_[i]; }
    const QString& label(std::size_t i) const { return labels_[i]; }
    bool isNull(std::size_t i) const { return nulls_[i]; }

    // Multiplier of both value lists; 1 in this program. Uses take the stored
    // value times the multiplier; ordering compares stored values.
    double multiplier() const { return 1.0; }

    // Inserts directly after the last point whose x is <= the new x.
    void add(double x, double y, const QString& label, bool isNull);
    void clear();

    // Minimum and maximum of all values (null points with their stored 0);
    // 0 and 0 when empty. Recomputed on first use after a change.
    ValueRange xRange() const;
    ValueRange yRange() const;

private:
    void refreshStatistics() const;

    SeriesConfig config_;
    std::vector<double> x_;
    std::vector<double> y_;
    std::vector<QString> labels_;
    std::vector<bool> nulls_;
    mutable bool statisticsStale_ = false;
    mutable ValueRange xRange_;
    mutable ValueRange yRange_;
};

} // namespace uriage::chart
