#pragma once
// A chart of five months: takings on the left axis (Series1), patients on the
// right (Series2) and other takings a quarter of the takings (Series3), with
// the series drawn as the config given says.
#include "chart/model/chart_model.h"

namespace uriage::probe {

inline chart::ChartModel fiveMonthsChart(chart::ChartConfig config)
{
    for (chart::SeriesConfig& series : config.series)
        series.xDateTime = false;
    config.series[1].axis = chart::VerticalAxis::Right;
    chart::ChartModel model(config);
    const double takings[] = {30000, 52000, 41000, 80000, 45000};
    for (int month = 1; month <= 5; ++month) {
        model.series(0).add(month, takings[month - 1], QString(), false);
        model.series(1).add(month, 10 + month, QString(), false);
        model.series(2).add(month, takings[month - 1] / 4, QString(), false);
    }
    return model;
}

} // namespace uriage::probe
