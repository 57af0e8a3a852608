#include "chart/model/series.h"

#include <algorithm>

namespace uriage::chart {

Series::Series(SeriesConfig config) : config_(std::move(config)) {}

void Series::add(double x, double y, const QString& label, bool isNull)
{
    // Rows normally arrive in ascending x order, so this is an append.
    auto position = x_.end();
    if (!x_.empty() && x_.back() > x)
        position = std::upper_bound(x_.begin(), x_.end(), x);
    const auto index = position - x_.begin();
    x_.insert(position, x);
    y_.insert(y_.begin() + index, y);
    labels_.insert(labels_.begin() + index, label);
    nulls_.insert(nulls_.begin() + index, isNull);
    statisticsStale_ = true;
}

void Series::clear()
{
    x_.clear();
    y_.clear();
    labels_.clear();
    nulls_.clear();
    statisticsStale_ = true;
}

ValueRange Series::xRange() const
{
    refreshStatistics();
    return xRange_;
}

ValueRange Series::yRange() const
{
    refreshStatistics();
    return yRange_;
}

void Series::refreshStatistics() const
{
    if (!statisticsStale_)
        return;
    statisticsStale_ = false;
    auto rangeOf = [this](const std::vector<double>& values) {
        if (values.empty())
            return ValueRange{};
        const auto [lo, hi] = std::minmax_element(values.begin(), values.end());
        return ValueRange{*lo * multiplier(), *hi * multiplier()};
    };
    xRange_ = rangeOf(x_);
    yRange_ = rangeOf(y_);
}

} // namespace uriage::chart
