// Series drawn into a chart laid out for real: the axis ranges hold the
// marker margin, so the extreme points' markers lie inside the plot.
#include "chart/draw/chart_renderer.h"
#include "chart/draw/series_painter.h"
#include "chart/model/chart_model.h"
#include "chart/series_test_canvas.h"
#include "five_months_chart.h"
#include "json/series_drawing_json.h"

#include <QJsonObject>
#include <climits>
#include <gtest/gtest.h>

namespace uriage::probe {
namespace {

using namespace uriage::chart;
using namespace uriage::chart::testing;

ChartModel monthlyModel(View view)
{
    ChartConfig config;
    config.view = view;
    const QColor colours[] = {colors::red, colors::green, colors::yellow};
    for (int i = 0; i < 3; ++i)
        config.series[i] = seriesConfig(colours[i], LinePen{}, MarkerSpec{MarkerShape::Rectangle, 3, 3, std::nullopt});
    return fiveMonthsChart(config);
}

TEST(SeriesInLaidOutChart, ExtremeMarkersSitInsideThePlot)
{
    for (View view : {View::Flat, View::ThreeD}) {
        SCOPED_TRACE(view == View::Flat ? "flat" : "3-D");
        const ChartModel model = monthlyModel(view);
        const ChartLayout layout = chartLayout(model, QRect(0, 0, 729, 405));
        const SeriesFrame frame = seriesFrame(layout, kCanvasBackground);
        const QRect plot = frame.plot;

        const QJsonArray json = seriesDrawingJson(model, frame);
        ASSERT_EQ(json.size(), 3);
        int lowestLeft = INT_MAX, highestTop = INT_MAX;
        for (int s = 0; s < 3; ++s) {
            const QJsonArray markers = json[s].toObject()["markers"].toArray();
            ASSERT_EQ(markers.size(), 5);
            const int shift = frame.view == View::Flat ? 0 : json[s].toObject()["slot"].toObject()["front"].toInt();
            for (const auto& m : markers) {
                const QJsonObject r = m.toObject();
                const QRect onPlot = QRect(r["left"].toInt(), r["top"].toInt(), r["width"].toInt(), r["height"].toInt())
                                         .translated(-shift, shift);
                EXPECT_TRUE(QRect(plot.left() + 1, plot.top() + 1, plot.width() - 1, plot.height() - 1).contains(onPlot))
                    << s << " " << onPlot.left() << "," << onPlot.top();
                lowestLeft = std::min(lowestLeft, onPlot.left());
                highestTop = std::min(highestTop, onPlot.top());
            }
        }
        // The margin is the half-size + 1: the outermost markers reach to one pixel inside.
        EXPECT_EQ(lowestLeft, plot.left() + 1);
        EXPECT_EQ(highestTop, plot.top() + 1);

        const QImage image = paintCanvas([&](QPainter& p) { drawSeries(p, model, frame); }, QSize(729, 405));
        // Series3, drawn last and in the front slot, shows its marker fill at each reported point.
        for (const auto& point : json[2].toObject()["points"].toArray()) {
            const QJsonObject p = point.toObject();
            EXPECT_TRUE(pixelIs(image, p["x"].toInt(), p["y"].toInt(), colors::yellow));
        }
    }
}

} // namespace
} // namespace uriage::probe
