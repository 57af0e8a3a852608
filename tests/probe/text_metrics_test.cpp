// The chart's text measures recorded and replayed: the replay gives back
// exactly the recorded layout, a changed measure moves it, and whatever the
// record lacks or holds wrongly fails with a message naming it.
#include "chart/draw/chart_fonts.h"
#include "chart/draw/chart_renderer.h"
#include "chart/model/chart_model.h"
#include "chart/series_test_canvas.h"
#include "common/failure.h"
#include "five_months_chart.h"
#include "json/chart_geometry_json.h"
#include "json/series_drawing_json.h"
#include "json/text_metrics_sources.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <gtest/gtest.h>

namespace uriage::probe {
namespace {

using namespace uriage::chart;
using namespace uriage::chart::testing;

// Five months with a title, axis titles and value labels on every point.
ChartModel labelledModel()
{
    ChartConfig config;
    config.view = View::Flat;
    config.titleLines << QStringLiteral("保険料金・患者数・保険外料金");
    config.bottomTitle.caption = QStringLiteral("月");
    config.leftTitle.caption = QStringLiteral("円");
    config.rightTitle.caption = QStringLiteral("患者数");
    const QColor colours[] = {colors::red, colors::green, colors::blue};
    const ValueLabels labels{true, 8, ValueLabelStyle::Value, FontSpec{12, false}};
    for (int i = 0; i < 3; ++i)
        config.series[i] = seriesConfig(colours[i], LinePen{}, MarkerSpec{}, labels);
    return fiveMonthsChart(config);
}

// The layout and the drawn series as the probe reports them.
QByteArray probeJson(const ChartModel& model)
{
    const ChartLayout layout = chartLayout(model, QRect(0, 0, 729, 405));
    const QJsonArray drawn = seriesDrawingJson(model, seriesFrame(layout, kCanvasBackground));
    return QJsonDocument(QJsonObject{{"chart", chartGeometryJson(layout)}, {"series", drawn}})
        .toJson(QJsonDocument::Compact);
}

QJsonObject probeObject(const ChartModel& model) { return QJsonDocument::fromJson(probeJson(model)).object(); }

TextMetrics recordedMetrics(const ChartModel& model)
{
    const FontMeasuringSource fonts;
    const RecordingMeasuringSource recording(fonts);
    const ScopedTextMeasuringSource installed(recording);
    probeJson(model);
    return recording.recorded();
}

QString failureOf(const std::function<void()>& action)
{
    try {
        action();
    } catch (const Failure& failure) {
        return failure.message();
    }
    return QStringLiteral("<no failure>");
}

const FontKey kLabels{QStringLiteral("ＭＳ Ｐ明朝"), 12, 400, false};
const FontKey kTitle{QStringLiteral("ＭＳ Ｐ明朝"), 16, 700, false};

TEST(TextMetricsRecord, HoldsWhatTheFontsMeasuredPerRequestedFont)
{
    const ChartModel model = labelledModel();
    const TextMetrics metrics = recordedMetrics(model);
    ASSERT_EQ(metrics.count(kLabels), 1u);
    ASSERT_EQ(metrics.count(kTitle), 1u);
    const FontTextMeasurer labelFont(chartFont(FontSpec{12, false}));
    const FontTextMeasurer titleFont(chartFont(FontSpec{16, true}));
    const FontMeasures& labels = metrics.at(kLabels);
    EXPECT_EQ(labels.lineHeight, labelFont.lineHeight());
    for (const char* text : {"80,000", "20,000", "W", "15"}) {
        ASSERT_EQ(labels.widths.count(QString::fromUtf8(text)), 1u) << text;
        EXPECT_EQ(labels.widths.at(QString::fromUtf8(text)), labelFont.width(QString::fromUtf8(text))) << text;
    }
    const QString title = QStringLiteral("保険料金・患者数・保険外料金");
    EXPECT_EQ(metrics.at(kTitle).widths.at(title), titleFont.width(title));
    EXPECT_EQ(metrics.at(kTitle).lineHeight, titleFont.lineHeight());
}

TEST(TextMetricsRecord, LeavesTheLayoutAsTheFontsMakeIt)
{
    const ChartModel model = labelledModel();
    const QByteArray plain = probeJson(model);
    const FontMeasuringSource fonts;
    const RecordingMeasuringSource recording(fonts);
    {
        const ScopedTextMeasuringSource installed(recording);
        EXPECT_EQ(probeJson(model), plain);
    }
    EXPECT_FALSE(recording.recorded().empty());
    // Uninstalled: the chart measures with its fonts again, unrecorded.
    const std::size_t widths = recording.recorded().at(kLabels).widths.size();
    chartLayout(model, QRect(0, 0, 300, 200));
    EXPECT_EQ(recording.recorded().at(kLabels).widths.size(), widths);
}

TEST(TextMetricsReplay, GivesBackTheRecordedLayoutThroughTheFile)
{
    const ChartModel model = labelledModel();
    const TextMetrics recorded = recordedMetrics(model);
    const TextMetrics read = parseTextMetrics(textMetricsJson(recorded), QStringLiteral("metrics.json"));
    ASSERT_EQ(read.size(), recorded.size());
    for (const auto& [key, measures] : recorded) {
        ASSERT_EQ(read.count(key), 1u) << key.describe().toStdString();
        EXPECT_EQ(read.at(key).lineHeight, measures.lineHeight);
        EXPECT_EQ(read.at(key).widths, measures.widths);
    }
    const ReplayedMeasuringSource replayed(read, QStringLiteral("metrics.json"));
    const ScopedTextMeasuringSource installed(replayed);
    const QByteArray plainFontsJson = [&] {
        const FontMeasuringSource fonts;
        const ScopedTextMeasuringSource nested(fonts);
        return probeJson(model);
    }();
    EXPECT_EQ(probeJson(model), plainFontsJson);
    EXPECT_NO_THROW(replayed.checkComplete());
}

TEST(TextMetricsReplay, ChangedMeasuresMoveTheGeometry)
{
    const ChartModel model = labelledModel();
    const QJsonObject plain = probeObject(model);
    // Widths the layout only places by, so that it measures no other texts.
    const int wider = 5;
    const int widerTitle = 10;
    TextMetrics changed = recordedMetrics(model);
    changed.at(kLabels).widths.at(QStringLiteral("W")) += wider;
    changed.at(kTitle).widths.at(QStringLiteral("保険料金・患者数・保険外料金")) += widerTitle;
    const ReplayedMeasuringSource replayed(changed, QStringLiteral("changed.json"));
    const ScopedTextMeasuringSource installed(replayed);
    const QJsonObject moved = probeObject(model);
    replayed.checkComplete();

    // The centred title starts half the extra width further left.
    EXPECT_EQ(moved["chart"]["title"][0]["x"].toInt(), plain["chart"]["title"][0]["x"].toInt() - widerTitle / 2);
    // A value label box is as wide as its text and a "W" (plus the frame), centred on its point.
    for (int s = 0; s < 3; ++s) {
        const QJsonArray before = plain["series"][s]["valueLabels"].toArray();
        const QJsonArray after = moved["series"][s]["valueLabels"].toArray();
        ASSERT_EQ(after.size(), 5);
        ASSERT_EQ(after.size(), before.size());
        for (qsizetype i = 0; i < after.size(); ++i) {
            EXPECT_EQ(after[i]["text"], before[i]["text"]);
            EXPECT_EQ(after[i]["width"].toInt(), before[i]["width"].toInt() + wider);
            EXPECT_EQ(after[i]["height"], before[i]["height"]);
        }
    }
}

TEST(TextMetricsReplay, MissingMeasuresFailNamingThem)
{
    const ChartModel model = labelledModel();
    const TextMetrics recorded = recordedMetrics(model);
    struct Case {
        const char* name;
        std::function<void(TextMetrics&)> remove;
        QString message;
    };
    const Case cases[] = {
        {"a text", [](TextMetrics& m) { m.at(kLabels).widths.erase(QStringLiteral("80,000")); },
         QStringLiteral("m.json: no width of \"80,000\" in the font \"ＭＳ Ｐ明朝\" 12 px, weight 400, upright")},
        {"a font", [](TextMetrics& m) { m.erase(kTitle); },
         QStringLiteral("m.json: no font \"ＭＳ Ｐ明朝\" 16 px, weight 700, upright")},
        {"a line height", [](TextMetrics& m) { m.at(kTitle).lineHeight.reset(); },
         QStringLiteral("m.json: no line height of the font \"ＭＳ Ｐ明朝\" 16 px, weight 700, upright")},
        {"two texts",
         [](TextMetrics& m) {
             m.at(kLabels).widths.erase(QStringLiteral("80,000"));
             m.at(kLabels).widths.erase(QStringLiteral("W"));
         },
         QStringLiteral("m.json: no width of \"80,000\" in the font \"ＭＳ Ｐ明朝\" 12 px, weight 400, upright "
                        "(and 1 more missing)")},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        TextMetrics metrics = recorded;
        c.remove(metrics);
        const ReplayedMeasuringSource replayed(metrics, QStringLiteral("m.json"));
        QByteArray json;
        {
            const ScopedTextMeasuringSource installed(replayed);
            json = probeJson(model);
        }
        EXPECT_EQ(failureOf([&] { replayed.checkComplete(); }), c.message);
        // What is missing is measured with the font, never taken as 0.
        EXPECT_EQ(json, probeJson(model));
    }
}

TEST(TextMetricsFile, MalformedRecordsFailNamingTheField)
{
    const QByteArray font = R"("font": {"family": "F", "pixelSize": 12, "weight": 400, "italic": false})";
    struct Case {
        QByteArray json;
        QString message;
    };
    const Case cases[] = {
        {"{\"fonts\": [", "m.json: offset 11: unterminated array"},
        {"{\"widths\": {}}", "m.json: fonts is missing: not a text-metrics file"},
        {"{\"fonts\": [{\"widths\": {}}]}", "m.json: fonts[0].font needs family, pixelSize, weight and italic"},
        {"{\"fonts\": [{" + font + "}]}", "m.json: fonts[0].widths is not an object of texts and widths"},
        {"{\"fonts\": [{" + font + ", \"widths\": {\"a\": 1.5}}]}",
         "m.json: fonts[0].widths[\"a\"] is not a whole number of pixels"},
        {"{\"fonts\": [{" + font + ", \"widths\": {\"a\": -1}}]}",
         "m.json: fonts[0].widths[\"a\"] is not a whole number of pixels"},
        {"{\"fonts\": [{" + font + ", \"widths\": {\"a\": \"7\"}}]}",
         "m.json: fonts[0].widths[\"a\"] is not a whole number of pixels"},
        {"{\"fonts\": [{" + font + ", \"lineHeight\": null, \"widths\": {}}]}",
         "m.json: fonts[0].lineHeight is not a whole number of pixels"},
        {"{\"fonts\": [{" + font + ", \"widths\": {}}, {" + font + ", \"widths\": {}}]}",
         "m.json: fonts[1] repeats the font \"F\" 12 px, weight 400, upright"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.json.toStdString());
        EXPECT_EQ(failureOf([&] { parseTextMetrics(c.json, QStringLiteral("m.json")); }), c.message);
    }
    EXPECT_EQ(failureOf([] { readTextMetricsFile(QStringLiteral("/nonexistent/m.json")); }),
              QStringLiteral("cannot read /nonexistent/m.json: No such file or directory"));
}

} // namespace
} // namespace uriage::probe
