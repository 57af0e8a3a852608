// The chart geometry as the probe reports it.
#include "chart/axis_fixed_metrics.h"
#include "json/chart_geometry_json.h"

#include <QJsonArray>
#include <gtest/gtest.h>

namespace uriage::probe {
namespace {

using namespace uriage::chart;
using chart::testing::FixedMeasurer;

LayoutInput chartWithOnePoint(View view)
{
    LayoutInput input;
    input.area = {0, 0, 710, 443};
    input.view = view;
    input.titleLines << QStringLiteral("保険料金・患者数・保険外料金（金額表示）");
    input.legendEntries << QStringLiteral("保険料金") << QStringLiteral("患者数") << QStringLiteral("保険外料金");
    input.axisTitles = {AxisTitleInput{QStringLiteral("日"), 0}, AxisTitleInput{QStringLiteral("円"), 0},
                        AxisTitleInput{QStringLiteral("患者数"), 0}};
    AxisInput bottom;
    bottom.side = Axis::Bottom;
    bottom.shown = true;
    bottom.dateTime = true;
    bottom.style = LabelStyle::Points;
    bottom.data = {38412, 38412};
    bottom.pointLabels = {{38412, QStringLiteral("2005/03/01")}};
    AxisInput left;
    left.side = Axis::Left;
    left.shown = true;
    left.style = LabelStyle::Scale;
    left.data = {30000, 80000};
    left.markerMargin = 3;
    AxisInput right = left;
    right.side = Axis::Right;
    right.data = {12, 12};
    input.axes = {bottom, left, right};
    return input;
}

TEST(LayoutGeometryJson, ReportsTheLaidOutChart)
{
    const FixedMeasurer title(16, 18), legend(12, 14), labels(6, 14), axisTitle(16, 18);
    const ChartMeasures measures{title, legend, labels, axisTitle, axisTitle, axisTitle};
    for (View view : {View::Flat, View::ThreeD}) {
        const ChartLayout layout = layoutChart(chartWithOnePoint(view), measures, RegionalSettings::japanese());
        const QJsonObject json = chartGeometryJson(layout);
        const int d = layout.depth;
        EXPECT_EQ(json["area"].toArray(), (QJsonArray{0, 0, 710, 443}));
        EXPECT_EQ(json["plot"].toArray(),
                  (QJsonArray{layout.plot.left, layout.plot.top, layout.plot.right, layout.plot.bottom}));
        EXPECT_EQ(json["D"].toInt(), d);
        EXPECT_EQ(json["W"].toInt(), view == View::Flat ? 0 : 8);
        EXPECT_EQ(json["legend"]["box"].toArray(), (QJsonArray{606, 44, 684, 88}));
        EXPECT_EQ(json["legend"]["rows"].toArray().size(), 3);
        EXPECT_EQ(json["legend"]["rows"][1]["text"].toString(), QStringLiteral("患者数"));
        EXPECT_EQ(json["title"][0]["text"].toString(), QStringLiteral("保険料金・患者数・保険外料金（金額表示）"));
        EXPECT_EQ(json["title"][0]["y"].toInt(), 18);

        const QJsonObject bottom = json["axes"]["bottom"].toObject();
        EXPECT_TRUE(bottom["shown"].toBool());
        EXPECT_EQ(bottom["style"].toString(), QStringLiteral("points"));
        const int centre = (layout.plot.left + layout.plot.right) / 2;
        EXPECT_EQ(bottom["labels"][0]["pixel"].toInt(), centre);
        EXPECT_EQ(bottom["labels"][0]["text"].toString(), QStringLiteral("2005/03/01"));
        EXPECT_EQ(bottom["ticks"].toArray(), (QJsonArray{centre}));

        const QJsonObject left = json["axes"]["left"].toObject();
        EXPECT_EQ(left["style"].toString(), QStringLiteral("scale"));
        EXPECT_LT(left["min"].toDouble(), 30000);
        EXPECT_GT(left["max"].toDouble(), 80000);
        EXPECT_EQ(left["step"].toDouble(), 5000);
        EXPECT_EQ(left["labels"][0]["text"].toString(), QStringLiteral("80,000"));
        EXPECT_EQ(left["labels"].toArray().size(), left["ticks"].toArray().size());

        // The right axis' one label at its middle, drawn D pixels up.
        const QJsonObject right = json["axes"]["right"].toObject();
        EXPECT_EQ(right["min"].toDouble(), 12);
        EXPECT_EQ(right["max"].toDouble(), 12);
        EXPECT_EQ(right["labels"][0]["text"].toString(), QStringLiteral("12"));
        EXPECT_EQ(right["labels"][0]["pixel"].toInt(), (layout.plot.top + layout.plot.bottom) / 2 - d);
        EXPECT_EQ(right["ticks"][0].toInt(), (layout.plot.top + layout.plot.bottom) / 2 - d);
    }
}

} // namespace
} // namespace uriage::probe
