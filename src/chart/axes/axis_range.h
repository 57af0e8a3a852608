#pragma once
// An axis' value range: the data range of the series on it, widened by the
// marker margin so that the outermost points sit inside the axis ends.
#include "chart/model/axis.h"
#include "chart/model/series.h"

#include <vector>

namespace uriage::chart {

// Which series lie on an axis, in series order (all series are active).
std::vector<const Series*> seriesOnAxis(const std::vector<const Series*>& all, Axis side);

// Smallest minimum and largest maximum over the series holding points, x
// values for the bottom axis, y values for a vertical one; 0..0 without any.
ValueRange dataRange(const std::vector<const Series*>& onAxis, Axis side);

// The largest marker half-size along the axis plus one, over the series on it.
int markerMargin(const std::vector<const Series*>& onAxis, Axis side);

// Widens the range by m x R / (L - 2m) at both ends. Without room for the
// margin (L <= 2m) or with a range of 0 the range stays as it is.
ValueRange withMarkerMargin(ValueRange range, int margin, int length);

} // namespace uriage::chart
