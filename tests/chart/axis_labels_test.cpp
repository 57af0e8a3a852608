// Label texts and point-text labels: the number format with the regional
// separators, dates versus times, the style choice and the thinning.
#include "axis_fixed_metrics.h"
#include "chart/axes/label_text.h"
#include "chart/axes/point_labels.h"

#include <gtest/gtest.h>

namespace uriage::chart {
namespace {

using testing::FixedMeasurer;

TEST(AxisLabelText, NumbersDatesAndTimes)
{
    const RegionalSettings japanese = RegionalSettings::japanese();
    RegionalSettings swapped = japanese;
    swapped.thousandsSeparator = QChar('.');
    swapped.decimalSeparator = QChar(',');
    const struct {
        bool dateTime;
        double range;
        double value;
        const RegionalSettings* regional;
        const char* expected;
    } cases[] = {
        {false, 10, 1234567, &japanese, "1,234,567"},
        {false, 10, 0, &japanese, "0"},
        {false, 10, -1234.5, &japanese, "-1,234.5"},
        {false, 10, 0.1 + 0.2, &japanese, "0.3"},
        {false, 10, 1234.5678, &swapped, "1.234,568"},
        {true, 31, 38412, &japanese, "2005/03/01"},     // range over a day: the date
        {true, 31, 38412.75, &japanese, "2005/03/01"},
        {true, 1, 38412.75, &japanese, "18:00"},        // a day or less: the time
        {true, 0, 0, &japanese, "0:00"},                // the empty chart's midnight
        {true, 0.5, 0.25 + 1.0 / 1440, &japanese, "6:01"},
        {true, 31, -1, &japanese, ""},                  // negative: empty
        {true, 31, 1e12, &japanese, ""},                // beyond any calendar: empty
    };
    for (const auto& c : cases)
        EXPECT_EQ(LabelFormat({c.dateTime, c.range, *c.regional}).text(c.value), QString::fromUtf8(c.expected))
            << c.value;
}

Series seriesWithLabels(const std::vector<std::pair<double, QString>>& points)
{
    Series series;
    for (const auto& [x, label] : points)
        series.add(x, 1, label, false);
    return series;
}

TEST(AxisPointLabels, StyleComesFromTheFirstPointsLabel)
{
    const Series empty;
    const Series labelled = seriesWithLabels({{1, "1"}, {2, "2"}});
    const Series unlabelled = seriesWithLabels({{1, ""}, {2, ""}});
    const Series laterLabel = seriesWithLabels({{1, ""}, {2, "2"}});
    const struct {
        std::vector<const Series*> series;
        bool expected;
    } cases[] = {
        {{&empty, &empty, &empty}, false},
        {{&labelled, &unlabelled, &unlabelled}, true},
        {{&unlabelled, &labelled, &unlabelled}, true}, // a later series may give it
        {{&laterLabel, &unlabelled}, false},           // only the first point counts
        {{&empty, &labelled}, true},
    };
    for (const auto& c : cases)
        EXPECT_EQ(usesPointLabels(c.series), c.expected);
}

TEST(AxisPointLabels, EachIndexTakesTheFirstSeriesLongEnough)
{
    const Series empty;
    const Series shortOne = seriesWithLabels({{1, "a"}});
    const Series longOne = seriesWithLabels({{1, "x"}, {2, "y"}, {3, "z"}});
    const std::vector<PointLabelSource> sources = pointLabelSources({&empty, &shortOne, &longOne});
    ASSERT_EQ(sources.size(), 3u);
    EXPECT_EQ(sources[0].text, QStringLiteral("a"));
    EXPECT_EQ(sources[1].text, QStringLiteral("y"));
    EXPECT_EQ(sources[2].x, 3);
}

TEST(AxisPointLabels, ThirtyOneDaysAreThinnedWithoutOverlap)
{
    std::vector<PointLabelSource> sources;
    for (int day = 1; day <= 31; ++day)
        sources.push_back({38411.0 + day, QStringLiteral("2005/03/%1").arg(day, 2, 10, QChar('0'))});
    const FixedMeasurer font(7, 14); // "2005/03/01": 70 pixels
    for (int length : {300, 481, 700, 3200}) {
        const ValueMap map(40, 40 + length, 38411.5, 38443.5);
        const std::vector<AxisLabel> drawn = thinPointLabels(sources, map, font);
        ASSERT_FALSE(drawn.empty());
        EXPECT_EQ(drawn.front().text, QStringLiteral("2005/03/01")); // the first is always drawn
        for (std::size_t i = 1; i < drawn.size(); ++i) {
            // Drawn texts (70 wide, centred) never touch each other.
            EXPECT_GE(drawn[i].pixel - drawn[i - 1].pixel, 70) << length;
            EXPECT_EQ(drawn[i].pixel, map.pixel(drawn[i].value));
        }
        if (length == 3200)
            EXPECT_EQ(drawn.size(), 31u);
        else
            EXPECT_LT(drawn.size(), 31u);
    }
    // At 481 pixels the days are 15 pixels apart: the first has half-extent
    // 35, later ones (70 + 14) div 2 = 42; so every sixth day clears 35 + 42
    // after the first and every sixth after that clears 42 + 42.
    const ValueMap map(40, 521, 38411.5, 38443.5);
    std::vector<QString> texts;
    for (const AxisLabel& label : thinPointLabels(sources, map, font))
        texts.push_back(label.text.right(2));
    EXPECT_EQ(texts, (std::vector<QString>{"01", "07", "13", "19", "25", "31"}));
}

TEST(AxisPointLabels, LabelsOutsideTheRangeAreSkipped)
{
    const std::vector<PointLabelSource> sources = {{1, "1"}, {2, "2"}, {3, "3"}, {4, "4"}};
    const ValueMap map(0, 300, 1.5, 3.5);
    const std::vector<AxisLabel> drawn = thinPointLabels(sources, map, FixedMeasurer(6, 14));
    ASSERT_EQ(drawn.size(), 2u);
    EXPECT_EQ(drawn[0].text, QStringLiteral("2"));
    EXPECT_EQ(drawn[1].text, QStringLiteral("3"));
}

} // namespace
} // namespace uriage::chart
