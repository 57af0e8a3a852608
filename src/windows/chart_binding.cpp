#include "windows/chart_binding.h"

#include "chart/busy_cursor.h"
#include "chart/model/chart_model.h"
#include "chart/model/series.h"

#include <array>
#include <exception>

namespace uriage {

using chart::BusyCursor;
using chart::ChartModel;
using chart::Series;
using chart::SeriesConfig;
using data::DataSetState;

ChartBinding::ChartBinding(ChartModel& model, data::DataSet& source)
    : model_(model), source_(source), loaded_(source.isOpen())
{
    source_.addObserver(this);
}

ChartBinding::~ChartBinding() { source_.removeObserver(this); }

void ChartBinding::dataSetStateChanged(DataSetState newState)
{
    switch (newState) {
    case DataSetState::Inactive:
        loaded_ = false;
        for (int i = 0; i < ChartModel::seriesCount(); ++i)
            model_.series(i).clear();
        model_.markChanged();
        break;
    case DataSetState::Browse:
        if (!loaded_) {
            refill();
            loaded_ = true;
        }
        break;
    case DataSetState::Other:
        break;
    }
}

void ChartBinding::refill()
{
    if (busy_ || !source_.isOpen())
        return;
    busy_ = true;
    struct BusyReset {
        bool& flag;
        ~BusyReset() { flag = false; }
    } busyReset{busy_};

    std::array<Series*, ChartModel::seriesCount()> collected{};
    int collectedCount = 0;
    for (int i = 0; i < ChartModel::seriesCount(); ++i)
        if (!model_.series(i).config().yColumn.isEmpty())
            collected[collectedCount++] = &model_.series(i);
    if (collectedCount == 0)
        return;

    BusyCursor hourglass;
    for (int i = 0; i < collectedCount; ++i)
        collected[i]->clear();
    // Whatever the pass leaves, the chart is redrawn once at the next paint.
    struct MarkOnExit {
        ChartModel& model;
        ~MarkOnExit() { model.markChanged(); }
    } markOnExit{model_};
    readRows(collected.data(), collectedCount);
}

void ChartBinding::readRows(Series* const* collected, int collectedCount)
{
    source_.disableControls();
    const data::Bookmark saved = source_.bookmark();
    auto restore = [&] {
        source_.gotoBookmark(saved);
        source_.freeBookmark(saved);
        source_.enableControls();
    };
    try {
        for (source_.first(); !source_.eof(); source_.next())
            for (int i = 0; i < collectedCount; ++i)
                addCurrentRow(*collected[i]);
    } catch (...) {
        restore();
        throw;
    }
    restore();
}

void ChartBinding::addCurrentRow(Series& series)
{
    const SeriesConfig& config = series.config();
    const QString label = config.labelColumn.isEmpty()
        ? QString()
        : source_.fieldByName(config.labelColumn).displayText();
    const data::Field& yField = source_.fieldByName(config.yColumn);
    const bool isNull = yField.isNull();
    const double y = yField.asFloat();
    const double x = source_.fieldByName(config.xColumn).asFloat();
    series.add(x, y, label, isNull);
}

} // namespace uriage
