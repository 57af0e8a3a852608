// The series drawing as the probe reports it: drawn points, marker bounds
// and value-label boxes.
#include "chart/model/chart_model.h"
#include "chart/series_test_canvas.h"
#include "common/regional_settings.h"
#include "json/series_drawing_json.h"

#include <QJsonObject>
#include <gtest/gtest.h>

namespace uriage::probe {
namespace {

using namespace uriage::chart;
using namespace uriage::chart::testing;

TEST(SeriesProbeGeometry, PointsMarkersAndValueLabelBoxes)
{
    RegionalSettings::inject(RegionalSettings::japanese());
    ChartConfig config;
    config.view = View::Flat;
    config.series[0] = seriesConfig(colors::red, LinePen{colors::red, 3},
                                    MarkerSpec{MarkerShape::Circle, 3, 3, std::nullopt}, valueLabelsShown(8));
    config.series[1] = seriesConfig(colors::green); // default marker: half-sizes 4
    config.series[1].axis = VerticalAxis::Right;
    ChartModel model(config);
    model.series(0).add(40, 1234567, QStringLiteral("2005/03/01"), false);
    model.series(0).add(80, 0, QString(), true);
    model.series(1).add(40, 100, QString(), false);
    SeriesFrame frame = testFrame();
    frame.maps[Axis::Left] = ValueMap(160, 60, 0, 1000000); // 160 - v / 10,000

    const QJsonArray json = seriesDrawingJson(model, frame);
    RegionalSettings::reset();
    ASSERT_EQ(json.size(), 3);
    const QJsonObject s1 = json[0].toObject();
    const QJsonArray points = s1["points"].toArray();
    ASSERT_EQ(points.size(), 2);
    EXPECT_EQ(points[0].toObject()["x"].toInt(), 40);
    EXPECT_EQ(points[0].toObject()["y"].toInt(), 37); // 160 - 123.4567
    EXPECT_EQ(points[1].toObject()["y"].toInt(), 160); // the null point at 0
    const QJsonObject circle = s1["markers"].toArray()[0].toObject();
    EXPECT_EQ(circle["left"].toInt(), 37);
    EXPECT_EQ(circle["width"].toInt(), 6);
    const QJsonArray labels = s1["valueLabels"].toArray();
    ASSERT_EQ(labels.size(), 2);
    EXPECT_EQ(labels[0].toObject()["text"].toString(), QStringLiteral("1,234,567"));
    EXPECT_EQ(labels[1].toObject()["text"].toString(), QStringLiteral("0"));
    const QJsonObject box = labels[0].toObject();
    EXPECT_EQ(box["top"].toInt() + box["height"].toInt() - 1, 37 - 8);

    const QJsonObject s2 = json[1].toObject();
    const QJsonObject square = s2["markers"].toArray()[0].toObject();
    EXPECT_EQ(square["width"].toInt(), 9);
    EXPECT_EQ(square["height"].toInt(), 9);
    EXPECT_EQ(s2["points"].toArray()[0].toObject()["y"].toInt(), 110);
    EXPECT_TRUE(s2["valueLabels"].toArray().isEmpty());
    EXPECT_TRUE(json[2].toObject()["points"].toArray().isEmpty());
}

} // namespace
} // namespace uriage::probe
