#include "figure_line.h"

#include <cstdio>

namespace uriage::bench {

void printFigure(const char* name, double value, const char* unit, int decimals, std::optional<double> ratio)
{
    std::printf("%s: %.*f %s", name, decimals, value, unit);
    if (ratio)
        std::printf(" (ratio %.2f to reference)", *ratio);
    std::printf("\n");
    std::fflush(stdout);
}

} // namespace uriage::bench
