// uriage-probe window --form TFormN --data-dir DIR [--year TEXT] [--month TEXT] [--press N]
//                     [--size WxH] [--png FILE] [--mouse SCRIPT]
//                     [--text-metrics-out FILE | --text-metrics-in FILE]
// Creates the real chart window on DIR at its declared outer size (or WxH),
// types the texts into its edit boxes, clicks its filter button N times,
// plays the mouse script on the chart and prints the query, the chart's
// points and the chart's drawn geometry (with the axes' ranges). The chart's
// text measures can be recorded into a file, or taken from one.
#include "mouse_script.h"
#include "text_metrics_option.h"
#include "tool_command.h"
#include "simulated_input.h"

#include "app/error_text.h"
#include "common/failure.h"
#include "chart/model/chart_model.h"
#include "chart/draw/chart_renderer.h"
#include "chart/chart_widget.h"
#include "chart/draw/frame_painter.h"
#include "data/engine.h"
#include "data/query.h"
#include "json/chart_geometry_json.h"
#include "json/series_drawing_json.h"
#include "windows/chart_window.h"
#include "windows/chart_window_catalog.h"
#include "windows/declared_size.h"
#include "windows/handler_dispatch.h"

#include <QApplication>
#include <QFileInfo>
#include <QInputMethodEvent>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QLineEdit>
#include <QMouseEvent>
#include <QPushButton>
#include <QTextStream>
#include <QWheelEvent>
#include <cstdio>
#include <variant>

namespace uriage::probe {
namespace {

// A drag with real mouse events in chart-widget pixels: press, moves along
// the way, release.
void drag(QWidget* chart, Qt::MouseButton button, QPoint from, QPoint to)
{
    simulated::drag(chart, button, from, dragPath(from, to), to);
}

// One wheel step over the middle of the chart.
void wheel(QWidget* chart, bool up)
{
    const QPointF at = QRectF(chart->rect()).center();
    QWheelEvent event(at, chart->mapToGlobal(at), QPoint(), QPoint(0, up ? 120 : -120), Qt::NoButton,
                      Qt::NoModifier, Qt::NoScrollPhase, false);
    QApplication::sendEvent(chart, &event);
}

void playMouseScript(ChartWindow& window, const std::vector<MouseStep>& steps)
{
    QWidget* chart = window.DBChart1;
    for (const MouseStep& step : steps) {
        switch (step.kind) {
        case MouseStep::Kind::LeftDrag:
            drag(chart, Qt::LeftButton, step.from, step.to);
            break;
        case MouseStep::Kind::RightDrag:
            drag(chart, Qt::RightButton, step.from, step.to);
            break;
        case MouseStep::Kind::WheelUp:
        case MouseStep::Kind::WheelDown:
            wheel(chart, step.kind == MouseStep::Kind::WheelUp);
            break;
        case MouseStep::Kind::PressFilter:
            simulated::click(window.Button1);
            break;
        }
        QApplication::processEvents();
    }
}

// "WxH" as an outer window size; an empty size when malformed.
QSize parseSize(const QString& text)
{
    const QStringList parts = text.split(QChar('x'));
    if (parts.size() != 2)
        return {};
    bool okWidth = false;
    bool okHeight = false;
    const int width = parts[0].toInt(&okWidth);
    const int height = parts[1].toInt(&okHeight);
    if (!okWidth || !okHeight || width <= kFrameWidth || height <= kFrameHeight)
        return {};
    return QSize(width, height);
}

QJsonArray seriesJson(const chart::ChartModel& chart, const QJsonArray& drawn)
{
    QJsonArray all;
    for (int s = 0; s < chart::ChartModel::seriesCount(); ++s) {
        const chart::Series& series = chart.series(s);
        QJsonArray points;
        for (std::size_t i = 0; i < series.count(); ++i)
            points.append(QJsonObject{{QStringLiteral("x"), series.x(i)},
                                      {QStringLiteral("y"), series.y(i)},
                                      {QStringLiteral("label"), series.label(i)},
                                      {QStringLiteral("null"), series.isNull(i)}});
        // Where the points, markers and value labels were drawn, in chart pixels.
        QJsonObject drawing = drawn.at(s).toObject();
        drawing.remove(QStringLiteral("name"));
        drawing.remove(QStringLiteral("title"));
        all.append(QJsonObject{{QStringLiteral("name"), series.config().name},
                               {QStringLiteral("title"), series.config().title},
                               {QStringLiteral("points"), points},
                               {QStringLiteral("drawn"), drawing}});
    }
    return all;
}

// What the window command was asked to do.
struct WindowRequest {
    QString form;
    QString dataDir;
    QString year;
    QString month;
    int presses = 1;
    QSize outerSize;
    QString pngFile;
    std::vector<MouseStep> mouseSteps;
    QString textMetricsIn;
    QString textMetricsOut;
};

// Reads and checks the command line; the usage exit code where it is unusable.
std::variant<WindowRequest, int> readRequest(const tools::CommandLine& line)
{
    WindowRequest request;
    request.form = line.value(QStringLiteral("form"));
    request.dataDir = line.value(QStringLiteral("data-dir"));
    request.year = line.value(QStringLiteral("year"));
    request.month = line.value(QStringLiteral("month"));
    request.pngFile = line.value(QStringLiteral("png"));
    request.textMetricsIn = line.value(QStringLiteral("text-metrics-in"));
    request.textMetricsOut = line.value(QStringLiteral("text-metrics-out"));
    if (!request.textMetricsIn.isEmpty() && !request.textMetricsOut.isEmpty())
        return line.usageError(QStringLiteral("give --text-metrics-in or --text-metrics-out, not both"));
    if (line.isSet(QStringLiteral("press"))) {
        bool ok = false;
        request.presses = line.value(QStringLiteral("press")).toInt(&ok);
        if (!ok || request.presses < 0)
            return line.usageError(QStringLiteral("--press needs a count of 0 or more"));
    }
    if (line.isSet(QStringLiteral("size"))) {
        request.outerSize = parseSize(line.value(QStringLiteral("size")));
        if (request.outerSize.isEmpty())
            return line.usageError(QStringLiteral("--size needs WxH, larger than the window frame"));
    }
    for (const QString& script : line.values(QStringLiteral("mouse"))) {
        QString problem;
        const auto steps = parseMouseScript(script, &problem);
        if (!steps)
            return line.usageError(QStringLiteral("--mouse: %1").arg(problem));
        request.mouseSteps.insert(request.mouseSteps.end(), steps->begin(), steps->end());
    }
    if (request.dataDir.isEmpty())
        return line.usageError(QStringLiteral("--data-dir is required"));
    if (!chartWindowClassNames().contains(request.form))
        return line.usageError(
            QStringLiteral("--form must be one of %1").arg(chartWindowClassNames().join(QChar(' '))));
    // A relative native directory is taken from the current directory.
    if (!request.dataDir.contains(QChar(':')) && !request.dataDir.contains(QChar('\\')))
        request.dataDir = QFileInfo(request.dataDir).absoluteFilePath();
    return request;
}

// Runs the window as asked and returns its JSON; throws a Failure when the
// chart bitmap cannot be written.
QJsonObject probeWindow(const WindowRequest& request)
{
    const auto& [form, dataDir, year, month, presses, outerSize, pngFile, mouseSteps, metricsIn, metricsOut] = request;

    // The last message that would have reached the error box, as the box shows it.
    QJsonValue error = QJsonValue::Null;
    setErrorDisplay([&error](const QString& message) { error = withFullStop(message); });

    data::Engine engine;
    const std::unique_ptr<ChartWindow> window = createChartWindow(form, engine);
    window->query().setDatabaseName(dataDir);
    if (!outerSize.isEmpty())
        window->resize(clientSizeFromOuter(outerSize.width(), outerSize.height()));
    window->show();
    QApplication::processEvents();
    simulated::typeInto(window->Edit1, year);
    simulated::typeInto(window->Edit2, month);
    for (int i = 0; i < presses; ++i)
        simulated::click(window->Button1);
    QApplication::processEvents();
    // The chart is on screen before the mouse acts on it.
    window->DBChart1->repaint();
    playMouseScript(*window, mouseSteps);
    setErrorDisplay({});

    // Paint once, as the screen would, so the bitmap and the geometry agree.
    chart::ChartWidget* chartWidget = window->DBChart1;
    chartWidget->repaint();
    QApplication::processEvents();
    const chart::ChartModel& model = window->chart();
    const QRect area = chartWidget->rect();
    const chart::ChartLayout layout = chart::chartLayout(model, area);
    const QJsonArray drawn =
        seriesDrawingJson(model, chart::seriesFrame(layout, chart::systemFrameColors().face));
    if (!pngFile.isEmpty() && !chartWidget->bitmap().save(pngFile, "PNG"))
        throw Failure(QStringLiteral("cannot write %1").arg(pngFile));

    const data::Query& query = window->query();
    return QJsonObject{{QStringLiteral("form"), form},
                       {QStringLiteral("filter"), query.filterText()},
                       {QStringLiteral("filtered"), query.filtered()},
                       {QStringLiteral("open"), query.isOpen()},
                       {QStringLiteral("error"), error},
                       {QStringLiteral("series"), seriesJson(model, drawn)},
                       {QStringLiteral("chart"), chartGeometryJson(layout)}};
}

int windowCommand(const tools::CommandLine& line)
{
    const auto read = readRequest(line);
    if (const int* exitCode = std::get_if<int>(&read))
        return *exitCode;
    const WindowRequest& request = std::get<WindowRequest>(read);
    QJsonObject result;
    try {
        const TextMetricsOption textMetrics(request.textMetricsIn, request.textMetricsOut);
        result = probeWindow(request);
        textMetrics.finish();
    } catch (const Failure& failure) {
        QTextStream(stderr) << "uriage-probe window: " << failure.message() << '\n';
        return 1;
    }
    const QByteArray json = QJsonDocument(result).toJson(QJsonDocument::Compact);
    std::fwrite(json.constData(), 1, size_t(json.size()), stdout);
    std::fputc('\n', stdout);
    return 0;
}

const tools::CommandRegistrar registrar({
    QStringLiteral("window"),
    QStringLiteral("Builds one chart window offscreen, filters it and prints its points and drawn geometry as JSON."),
    {
        {QStringLiteral("form"), QStringLiteral("The chart window: TForm2 to TForm7."), QStringLiteral("TFormN")},
        {QStringLiteral("data-dir"), QStringLiteral("The directory of the receipt table."), QStringLiteral("DIR")},
        {QStringLiteral("year"), QStringLiteral("The text typed into the year box."), QStringLiteral("TEXT")},
        {QStringLiteral("month"), QStringLiteral("The text typed into the month box."), QStringLiteral("TEXT")},
        {QStringLiteral("press"), QStringLiteral("How often the filter button is clicked (default 1)."),
         QStringLiteral("N")},
        {QStringLiteral("size"), QStringLiteral("The window's outer size."), QStringLiteral("WxH")},
        {QStringLiteral("png"), QStringLiteral("Save the finished chart as a PNG file."), QStringLiteral("FILE")},
        {QStringLiteral("mouse"),
         QStringLiteral("Act on the chart afterwards: a ';'-separated list of left-drag X1 Y1 X2 Y2, "
                        "right-drag X1 Y1 X2 Y2, wheel up|down and press."),
         QStringLiteral("SCRIPT")},
        {QStringLiteral("text-metrics-out"),
         QStringLiteral("Record every text measure the chart took (per font: line height, text widths) as JSON."),
         QStringLiteral("FILE")},
        {QStringLiteral("text-metrics-in"),
         QStringLiteral("Measure the chart's texts from such a record instead of the fonts; a missing entry fails."),
         QStringLiteral("FILE")},
    },
    {},
    windowCommand,
});

} // namespace
} // namespace uriage::probe
