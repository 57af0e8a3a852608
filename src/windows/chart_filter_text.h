#pragma once
// The filter text that a chart window's filter button builds from its edit
// boxes, by plain concatenation: nothing is trimmed, checked or converted.
#include "windows/chart_window_declaration.h"

#include <QString>
#include <optional>

namespace uriage {

// None when a box that the window's kind requires is empty: the button then
// does nothing. Per-day: "年=" + year + " and 月=" + month; per-month: "年=" + year.
std::optional<QString> chartFilterText(ChartWindowKind kind, const QString& year, const QString& month);

} // namespace uriage
