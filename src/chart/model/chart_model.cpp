#include "chart/model/chart_model.h"

namespace uriage::chart {

ChartModel::ChartModel(const ChartConfig& config)
    : config_(config), series_{Series(config.series[0]), Series(config.series[1]), Series(config.series[2])}
{
}

void ChartModel::markChanged()
{
    needsRedraw_ = true;
    if (changeListener_)
        changeListener_();
}

} // namespace uriage::chart
