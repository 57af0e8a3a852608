#pragma once
// The number format of axis labels and value labels, "#,##0.###".
#include "common/regional_settings.h"

#include <QString>

namespace uriage::chart {

// Digits grouped by three with the thousands separator, at most three
// decimals, no trailing zeros or trailing decimal separator.
QString formatValue(double value, const RegionalSettings& regional);

} // namespace uriage::chart
