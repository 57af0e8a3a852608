#pragma once
// The chart as data: its declared settings, its three series and whether it
// needs redrawing. Changes only mark it; drawing happens at the next paint.
#include "chart/model/chart_config.h"
#include "chart/model/series.h"
#include "chart/model/zoom_state.h"

#include <array>
#include <functional>

namespace uriage::chart {

class ChartModel {
public:
    explicit ChartModel(const ChartConfig& config);

    const ChartConfig& config() const { return config_; }
    Series& series(int index) { return series_[index]; }
    const Series& series(int index) const { return series_[index]; }
    static constexpr int seriesCount() { return 3; }

    // The ranges that zoom, scroll and wheel hold the axes at. Refilling the
    // series leaves them alone: they stay until the user undoes the zoom.
    ZoomState& zoomState() { return zoom_; }
    const ZoomState& zoomState() const { return zoom_; }

    // Marks the chart for redrawing and tells the widget (once per change batch).
    void markChanged();
    bool needsRedraw() const { return needsRedraw_; }
    void clearNeedsRedraw() { needsRedraw_ = false; }
    void setChangeListener(std::function<void()> listener) { changeListener_ = std::move(listener); }

private:
    ChartConfig config_;
    std::array<Series, 3> series_;
    ZoomState zoom_;
    bool needsRedraw_ = true;
    std::function<void()> changeListener_;
};

} // namespace uriage::chart
