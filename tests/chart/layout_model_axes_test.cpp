// Axes laid out from a chart's series: the label style each window kind
// gets, and a month of daily points thinned under its ticks.
#include "axis_fixed_metrics.h"
#include "chart/layout/chart_layout.h"
#include "chart/model/chart_model.h"

#include <gtest/gtest.h>

namespace uriage::chart {
namespace {

using testing::FixedMeasurer;

ChartConfig config(bool dateTime, View view)
{
    ChartConfig c;
    c.view = view;
    c.titleLines << QStringLiteral("保険料金・患者数・保険外料金");
    c.bottomTitle.caption = QStringLiteral("月");
    c.leftTitle.caption = QStringLiteral("円");
    c.rightTitle.caption = QStringLiteral("患者数");
    const VerticalAxis axes[] = {VerticalAxis::Left, VerticalAxis::Right, VerticalAxis::Left};
    const char* titles[] = {"保険料金", "患者数", "保険外料金"};
    for (int i = 0; i < 3; ++i) {
        c.series[i].title = QString::fromUtf8(titles[i]);
        c.series[i].axis = axes[i];
        c.series[i].xDateTime = dateTime;
        c.series[i].marker.halfWidth = 3;
        c.series[i].marker.halfHeight = 3;
    }
    return c;
}

ChartLayout layOut(const ChartModel& model, int width, int height)
{
    static const FixedMeasurer title(16, 18), legend(12, 14), labels(7, 14), axisTitle(16, 18);
    const ChartMeasures measures{title, legend, labels, axisTitle, axisTitle, axisTitle};
    return layoutChart(layoutInput(model, QRect(0, 0, width, height)), measures, RegionalSettings::japanese());
}

TEST(LayoutModelAxes, BottomLabelStylePerWindowKind)
{
    const struct {
        const char* kind;
        bool dateTime;
        bool series1Labels;
        LabelStyle style;
        const char* lastText;
    } cases[] = {
        {"per month, label column 月", true, true, LabelStyle::Points, "12"},
        {"per month, no label column", false, false, LabelStyle::Scale, "12"},
        {"per day, label column 施術日", true, true, LabelStyle::Points, "2005/03/12"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.kind);
        ChartModel model(config(c.dateTime, View::ThreeD));
        const bool daily = QString::fromUtf8(c.lastText).contains('/');
        for (int m = 1; m <= 12; ++m) {
            const double x = daily ? 38411 + m : m;
            const QString label = !c.series1Labels ? QString()
                                  : daily ? QStringLiteral("2005/03/%1").arg(m, 2, 10, QChar('0'))
                                          : QString::number(m);
            model.series(0).add(x, 1000 * m, label, false);
            model.series(1).add(x, m, QString(), false); // no label column here
            model.series(2).add(x, 50 * m, QString(), false);
        }
        const ChartLayout layout = layOut(model, 605, 424);
        const AxisLayout& bottom = layout.bottom();
        EXPECT_EQ(bottom.scale.style, c.style);
        ASSERT_FALSE(bottom.scale.labels.empty());
        // Scale labels run from the maximum down, point labels in point order.
        const AxisLabel& last = c.style == LabelStyle::Scale ? bottom.scale.labels.front() : bottom.scale.labels.back();
        EXPECT_EQ(last.text, QString::fromUtf8(c.lastText));
        EXPECT_EQ(layout.left().scale.style, LabelStyle::Scale);
        EXPECT_EQ(layout.right().scale.style, LabelStyle::Scale);
    }
}

TEST(LayoutModelAxes, ThirtyOneDaysTicksOnlyUnderDrawnLabels)
{
    ChartModel model(config(true, View::Flat));
    for (int d = 1; d <= 31; ++d) {
        const QString label = QStringLiteral("2005/03/%1").arg(d, 2, 10, QChar('0'));
        for (int s = 0; s < 3; ++s)
            model.series(s).add(38411 + d, 1000 * d + s, s == 1 ? QString() : label, false);
    }
    const ChartLayout layout = layOut(model, 729, 405);
    const AxisLayout& bottom = layout.bottom();
    ASSERT_GT(bottom.scale.labels.size(), 1u);
    EXPECT_LT(bottom.scale.labels.size(), 31u);
    ASSERT_EQ(bottom.ticks.size(), bottom.scale.labels.size());
    for (std::size_t i = 0; i < bottom.ticks.size(); ++i) {
        EXPECT_EQ(bottom.ticks[i], bottom.scale.labels[i].pixel);
        if (i > 0) { // 70-pixel texts centred on their ticks do not overlap
            EXPECT_GE(bottom.ticks[i] - bottom.ticks[i - 1], 70);
        }
    }
    // The first and last points sit the marker margin (3 + 1) inside the plot.
    EXPECT_EQ(bottom.scale.map.pixel(38412), layout.plot.left + 4);
    EXPECT_EQ(bottom.scale.map.pixel(38442), layout.plot.right - 4);
    // Three minor ticks between every two drawn labels, the rest strictly
    // inside the plot beyond the outer ones.
    std::size_t between = 0;
    for (int p : bottom.minorTicks) {
        EXPECT_GT(p, layout.plot.left);
        EXPECT_LT(p, layout.plot.right);
        between += p > bottom.ticks.front() && p < bottom.ticks.back() ? 1 : 0;
    }
    EXPECT_EQ(between, 3 * (bottom.ticks.size() - 1));
}

} // namespace
} // namespace uriage::chart
