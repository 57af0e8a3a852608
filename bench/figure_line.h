#pragma once
// One output line per figure: "name: value unit", followed by
// " (ratio X.XX to reference)" when a reference was timed in the same run.
#include <optional>

namespace uriage::bench {

void printFigure(const char* name, double value, const char* unit, int decimals,
                 std::optional<double> ratio = std::nullopt);

} // namespace uriage::bench
