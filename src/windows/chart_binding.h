#pragma once
// Binds a chart's series to the query they read: closing the query empties
// them, opening it refills them in one pass over the passing rows.
#include "data/dataset.h"

namespace uriage {

namespace chart {
class ChartModel;
class Series;
} // namespace chart

class ChartBinding : private data::DataSetObserver {
public:
    // Registers the query that all series of the chart read. The loaded flag
    // starts set when the query is already open.
    ChartBinding(chart::ChartModel& model, data::DataSet& source);
    ~ChartBinding() override;
    ChartBinding(const ChartBinding&) = delete;
    ChartBinding& operator=(const ChartBinding&) = delete;

    bool loaded() const { return loaded_; }
    bool busy() const { return busy_; }

private:
    void dataSetStateChanged(data::DataSetState newState) override;
    void refill();
    void readRows(chart::Series* const* collected, int collectedCount);
    void addCurrentRow(chart::Series& series);

    chart::ChartModel& model_;
    data::DataSet& source_;
    bool loaded_ = false;
    bool busy_ = false;
};

} // namespace uriage
