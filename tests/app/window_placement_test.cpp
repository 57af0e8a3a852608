// Placement arithmetic: centring on a monitor and carrying a window to another.
#include "windows/window_placement.h"

#include <gtest/gtest.h>
#include <ostream>

namespace {

struct CentreCase {
    const char* name;
    QRect monitor;
    QSize outer;
    QPoint expected;
};

void PrintTo(const CentreCase& c, std::ostream* os) { *os << c.name; }

class Centring : public ::testing::TestWithParam<CentreCase> {};

TEST_P(Centring, TruncatesTowardZeroAndNeverGoesNegative)
{
    EXPECT_EQ(uriage::centredOn(GetParam().monitor, GetParam().outer), GetParam().expected);
}

const CentreCase kCentreCases[] = {
    {"MainMenuOn1024x768", {0, 0, 1024, 768}, {477, 194}, {273, 287}},
    {"ChartOn1280x1024", {0, 0, 1280, 1024}, {737, 480}, {271, 272}},
    {"OddDifferenceTruncated", {0, 0, 800, 600}, {729, 446}, {35, 77}},
    {"ExactFit", {0, 0, 737, 480}, {737, 480}, {0, 0}},
    {"LargerThanScreenRaisedToZero", {0, 0, 640, 480}, {737, 518}, {0, 0}},
    {"OneWiderRaisedToZero", {0, 0, 736, 479}, {737, 480}, {0, 0}},
    {"SecondMonitorOffset", {1920, 0, 1280, 1024}, {629, 502}, {1920 + 325, 261}},
    {"MonitorLeftOfPrimary", {-1024, 100, 1024, 768}, {613, 499}, {-1024 + 205, 100 + 134}},
};

INSTANTIATE_TEST_SUITE_P(Placement, Centring, ::testing::ValuesIn(kCentreCases),
                         [](const auto& info) { return std::string(info.param.name); });

struct CarryCase {
    const char* name;
    QRect from;
    QRect to;
    QRect outer;
    QPoint expected;
};

void PrintTo(const CarryCase& c, std::ostream* os) { *os << c.name; }

class CarryingOver : public ::testing::TestWithParam<CarryCase> {};

TEST_P(CarryingOver, KeepsTheOffsetAndPullsRightAndBottomEdgesInside)
{
    const auto& c = GetParam();
    EXPECT_EQ(uriage::carriedOver(c.from, c.to, c.outer), c.expected);
}

const CarryCase kCarryCases[] = {
    {"SameOffsetOnWiderMonitor", {0, 0, 1024, 768}, {1024, 0, 1920, 1080}, {100, 50, 737, 480}, {1124, 50}},
    {"PulledBackAtRight", {0, 0, 1920, 1080}, {1920, 0, 1024, 768}, {900, 100, 737, 480}, {1920 + 1024 - 737, 100}},
    {"PulledBackAtBottom", {0, 0, 1920, 1080}, {1920, 0, 1024, 768}, {10, 500, 737, 480}, {1930, 768 - 480}},
    {"RightEdgeExactlyAtMonitorEdgeStays", {0, 0, 1024, 768}, {1024, 0, 1024, 768}, {287, 0, 737, 480}, {1311, 0}},
    {"MonitorAbove", {0, 0, 1280, 1024}, {0, -768, 1024, 768}, {40, 30, 600, 400}, {40, -738}},
};

INSTANTIATE_TEST_SUITE_P(Placement, CarryingOver, ::testing::ValuesIn(kCarryCases),
                         [](const auto& info) { return std::string(info.param.name); });

} // namespace
