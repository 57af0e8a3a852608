// The stepped axis labels: rounding, how many labels fit, the number and
// date ladders and the placement of the label values.
#include "chart/axes/round.h"
#include "chart/axes/scale_labels.h"

#include <gtest/gtest.h>

#include <cmath>

namespace uriage::chart {
namespace {

TEST(AxisRound, HalvesGoToTheEvenNeighbour)
{
    const struct {
        double value;
        int expected;
    } cases[] = {{0.5, 0}, {1.5, 2}, {2.5, 2}, {3.5, 4}, {-0.5, 0}, {-1.5, -2}, {-2.5, -2},
                 {2.4999, 2}, {2.5001, 3}, {-2.6, -3}, {40.5, 40}, {21.87, 22}};
    for (const auto& c : cases)
        EXPECT_EQ(roundPixel(c.value), c.expected) << c.value;
    EXPECT_EQ(roundPixel(std::nan("")), 0);
    EXPECT_GT(roundPixel(1e300), 1000000);
    EXPECT_LT(roundPixel(-1e300), -1000000);
}

TEST(AxisScaleLabels, LabelsThatFitRoundHalvesToEven)
{
    const struct {
        int length;
        int room;
        int expected;
    } cases[] = {
        {10, 4, 2},   // 2.5 -> 2
        {14, 4, 4},   // 3.5 -> 4
        {18, 4, 4},   // 4.5 -> 4
        {25, 5, 5},   // separation Round(0.5) = 0: 25 / 5
        {405, 25, 15}, // separation Round(2.5) = 2: 405 / 27
        {330, 14, 22},
        {100, 0, 1},  // no room measured: one
        {0, 14, 0},
        {-40, 14, -3},
    };
    for (const auto& c : cases)
        EXPECT_EQ(labelsThatFit(c.length, c.room), c.expected) << c.length << " / " << c.room;
}

TEST(AxisScaleLabels, NumberLadderStepsAcrossPowersOfTen)
{
    const struct {
        double range;
        int n;
        double expected;
    } cases[] = {
        {0, 5, 1e-12},
        {10, 10, 1},
        {10, 5, 2},
        {5, 2, 2},          // Round(2.5) = 2 is not above 2
        {7, 3, 5},          // Round(3.5) = 4 > 3
        {50000, 22, 5000},
        {52000, 22, 5000},  // 52000 / 2000 = 26 > 22
        {123456789, 10, 2e7},
        {1e-6, 5, 2e-7},
        {0.5, 5, 0.1},
        {3, 0, 1e-12},      // n < 1
        {3, -2, 1e-12},
    };
    for (const auto& c : cases)
        EXPECT_DOUBLE_EQ(numberStep(c.range, c.n), c.expected) << c.range << " n " << c.n;
}

TEST(AxisScaleLabels, NumberLadderIsAlwaysOneTwoOrFiveTimesAPowerOfTen)
{
    for (double range : {0.3, 7.0, 999.0, 31415.9, 8.5e6, 2.2e12}) {
        for (int n = 1; n < 40; n += 3) {
            const double step = numberStep(range, n);
            const double exponent = std::floor(std::log10(step) + 1e-9);
            const double mantissa = step / std::pow(10.0, exponent);
            EXPECT_TRUE(std::fabs(mantissa - 1) < 1e-9 || std::fabs(mantissa - 2) < 1e-9 ||
                        std::fabs(mantissa - 5) < 1e-9)
                << range << " n " << n << " step " << step;
            EXPECT_LE(roundHalfEven(range / step), n);
        }
    }
}

TEST(AxisScaleLabels, DateLadderSteps)
{
    const double second = 1.0 / 86400;
    const struct {
        double range;
        int n;
        double expected;
    } cases[] = {
        {0, 5, second},
        {30, 10, 3},            // 30 days over 10 labels: 3 days
        {30, 4, 7},             // 30 / 7 = 4.29 -> 4
        {31, 4, 7},             // 31 / 7 = 4.43 -> 4
        {40, 4, 15},            // 40 / 7 = 5.7 -> 6 > 4
        {365, 2, 182},          // 182, not 180
        {365, 1, 365},
        {3650, 2, 1460},        // 365 doubled twice
        {1, 4, 0.25},           // 6 hours
        {1, 20, 1.0 / 12},      // 2 hours
        {60 * second, 4, 15 * second},
        {30, 0, second},        // n < 1
    };
    for (const auto& c : cases)
        EXPECT_NEAR(dateStep(c.range, c.n), c.expected, 1e-12) << c.range << " n " << c.n;
}

TEST(AxisScaleLabels, LabelValuesFromTheMaximumDown)
{
    const struct {
        double minimum;
        double maximum;
        double step;
        std::vector<double> expected;
    } cases[] = {
        {0, 10, 5, {10, 5, 0}},                       // both ends drawn
        {28000, 82000, 10000, {80000, 70000, 60000, 50000, 40000, 30000}},
        {-3.5, 2.5, 1, {2, 1, 0, -1, -2, -3}},
        {-12.5, -7.5, 2, {-8, -10, -12}},             // first value above the maximum lowered
        {0, 0, 1e-12, {0}},                           // range 0: one label
        {3, 3, 1e-12, {3}},
        {50000, 50000, 1e-12, {50000}},               // v - 1e-12 == v here: still one
        {0, 1e6, 1, {}},                              // 10,000 steps or more: none
        {0, 9999, 1, {}},                             // 9,999 steps: labels
    };
    for (const auto& c : cases) {
        const std::vector<double> values = scaleLabelValues(c.minimum, c.maximum, c.step);
        if (c.maximum == 9999) {
            EXPECT_EQ(values.size(), 10000u);
            continue;
        }
        EXPECT_EQ(values, c.expected) << c.minimum << ".." << c.maximum << " step " << c.step;
    }
}

TEST(AxisScaleLabels, LabelLoopEndsWhereTheStepIsLostInTheValue)
{
    // Above 2^53 a step of 1 no longer changes the value; the loop must end.
    const std::vector<double> values = scaleLabelValues(1e17, 1e17 + 64, 1);
    EXPECT_LE(values.size(), 100u);
    const std::vector<double> none = scaleLabelValues(0, std::nan(""), 1);
    EXPECT_TRUE(none.empty());
    EXPECT_TRUE(scaleLabelValues(0, 10, 0).empty());
}

} // namespace
} // namespace uriage::chart
