// Where a press lands on a laid-out chart: only the series, the axes and the
// plot rectangle start a zoom or scroll; the legend, the title and the rest
// of the chart do not.
#include "chart/draw/chart_renderer.h"
#include "chart/layout/projection.h"
#include "chart/model/chart_model.h"
#include "chart/zoom/zoom_hit.h"

#include <gtest/gtest.h>

namespace uriage::chart {
namespace {

ChartConfig hitConfig(View view)
{
    ChartConfig c;
    c.view = view;
    c.titleLines << QStringLiteral("保険料金・患者数・保険外料金");
    c.bottomTitle.caption = QStringLiteral("日");
    c.leftTitle.caption = QStringLiteral("円");
    c.rightTitle.caption = QStringLiteral("患者数");
    const VerticalAxis axes[] = {VerticalAxis::Left, VerticalAxis::Right, VerticalAxis::Left};
    for (int i = 0; i < 3; ++i) {
        c.series[i].title = QStringLiteral("系列%1").arg(i + 1);
        c.series[i].axis = axes[i];
        c.series[i].xDateTime = false;
    }
    return c;
}

// Each series rises from the bottom-left to the top-right corner of the plot.
void fillRising(ChartModel& model)
{
    for (int i = 0; i < 3; ++i) {
        model.series(i).add(1, 0, {}, false);
        model.series(i).add(2, i == 1 ? 5 : 100, {}, false);
    }
}

TEST(ZoomHit, PartsOfAThreeDimensionalChart)
{
    ChartModel model(hitConfig(View::ThreeD));
    fillRising(model);
    const ChartLayout layout = chartLayout(model, QRect(0, 0, 640, 400));
    const PixelRect& r = layout.plot;
    const int d = layout.depth;
    ASSERT_GT(d, 3);
    const int midX = (r.left + r.right) / 2, midY = (r.top + r.bottom) / 2;
    const PixelRect& legend = layout.legend.box;
    // Series1, in the back slot, ends at the top right: the top face of its
    // last marker lies above the plot rectangle's front face.
    const DepthSlot back = depthSlot(0, 3, layout.slotWidth);
    const QPoint lastMarkerTop = atDepth(QPoint(r.right - 6, r.top + 3), (back.front + back.back) / 2);
    ASSERT_LT(lastMarkerTop.y(), r.top);

    const struct {
        const char* name;
        QPoint at;
        ChartPart part;
    } cases[] = {
        {"plot, below the lines", {r.right - 10, r.bottom - 10}, ChartPart::Plot},
        {"plot, above the lines", {r.left + 3, r.top + 3}, ChartPart::Plot},
        {"front series through the plot centre", {midX, midY}, ChartPart::Series},
        {"left axis line", {r.left, midY + 40}, ChartPart::Axis},
        {"legend box", {(legend.left + legend.right) / 2, legend.top + 3}, ChartPart::Legend},
        {"legend shadow", {legend.right + 3, legend.bottom + 3}, ChartPart::Legend},
        {"title", {midX, layout.title.front().y + 2}, ChartPart::Title},
        {"bottom axis labels", {midX, r.bottom + 10}, ChartPart::Axis},
        {"left axis labels", {r.left - 8, midY}, ChartPart::Axis},
        {"right axis labels, at the back", {r.right + d + 8, midY - d}, ChartPart::Axis},
        {"series ribbon above the front face", lastMarkerTop, ChartPart::Series},
        {"empty back wall", atDepth(QPoint(r.left + 3, r.top + 1), d - 2), ChartPart::Nothing},
        {"chart margin", {2, 398}, ChartPart::Nothing},
        {"below the bottom axis title", {midX, layout.area.bottom - 2}, ChartPart::Nothing},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        const ChartPart part = chartPartAt(layout, model, c.at);
        EXPECT_EQ(part, c.part);
        EXPECT_EQ(startsZoomOrScroll(part),
                  c.part == ChartPart::Plot || c.part == ChartPart::Axis || c.part == ChartPart::Series);
    }
}

TEST(ZoomHit, FlatChartHasNoDepthAboveThePlot)
{
    ChartModel model(hitConfig(View::Flat));
    fillRising(model);
    const ChartLayout layout = chartLayout(model, QRect(0, 0, 640, 400));
    const PixelRect& r = layout.plot;
    EXPECT_EQ(chartPartAt(layout, model, {r.right - 6, r.top + 3}), ChartPart::Plot);
    EXPECT_EQ(chartPartAt(layout, model, {r.right - 6, r.top - 3}), ChartPart::Nothing);
    EXPECT_EQ(chartPartAt(layout, model, {r.right + 8, (r.top + r.bottom) / 2}), ChartPart::Axis);
}

} // namespace
} // namespace uriage::chart
