// uriage-bench paint --dir DIR [--year Y] [--month M] [--frames N]
// One chart paint at the window's declared size: a per-day window with the
// flat view and one with the 3-D view are filtered on a table whose month has
// 31 days of receipts (31 points per series), then the chart is marked changed
// and repainted N times. Prints the median frame as paint_flat and paint_3d.
#include "bench_command.h"
#include "chart_press.h"
#include "figure_line.h"
#include "offscreen.h"
#include "options.h"
#include "statistics.h"

#include "chart/model/chart_model.h"
#include "chart/chart_widget.h"
#include "windows/fonts.h"
#include "data/engine.h"
#include "data/query.h"
#include "windows/chart_window.h"
#include "windows/chart_window_catalog.h"

#include <QApplication>
#include <QFileInfo>
#include <algorithm>
#include <cstdio>
#include <memory>

namespace uriage::bench {
namespace {

constexpr int kPoints = 31;

// The first per-day window whose chart has the given view.
std::unique_ptr<ChartWindow> perDayWindowWithView(chart::View view, data::Engine& engine)
{
    for (const QString& name : chartWindowClassNames()) {
        std::unique_ptr<ChartWindow> window = createChartWindow(name, engine);
        if (window && window->kind() == ChartWindowKind::PerDay && window->chart().config().view == view)
            return window;
    }
    return nullptr;
}

bool measure(chart::View view, const char* figure, const QString& dir, const QString& year, const QString& month,
             int frames)
{
    data::Engine engine;
    const std::unique_ptr<ChartWindow> window = perDayWindowWithView(view, engine);
    if (!window) {
        std::fprintf(stderr, "uriage-bench paint: no per-day window for %s\n", figure);
        return false;
    }
    window->query().setDatabaseName(dir);
    prepareFilter(*window, year, month);
    const PressResult press = pressAndPaint(*window);
    chart::ChartModel& model = window->chart();
    for (int s = 0; s < chart::ChartModel::seriesCount(); ++s)
        if (int(model.series(s).count()) != kPoints) {
            std::fprintf(stderr, "uriage-bench paint: %s series %d has %d points, not %d (%s)\n",
                         window->metaObject()->className(), s + 1, int(model.series(s).count()), kPoints,
                         qPrintable(press.error));
            return false;
        }
    chart::ChartWidget* widget = window->DBChart1;
    std::vector<double> samples;
    for (int frame = 0; frame <= frames; ++frame) {
        QApplication::processEvents();
        const Stopwatch clock;
        model.markChanged();
        widget->repaint();
        const double elapsed = clock.milliseconds();
        if (model.needsRedraw()) {
            std::fprintf(stderr, "uriage-bench paint: the chart was not redrawn\n");
            return false;
        }
        if (frame > 0)
            samples.push_back(elapsed);
    }
    std::fprintf(stderr, "  %s %dx%d chart: %d frames, fastest %.2f ms, slowest %.2f ms\n",
                 window->metaObject()->className(), widget->width(), widget->height(), frames,
                 *std::min_element(samples.begin(), samples.end()), *std::max_element(samples.begin(), samples.end()));
    printFigure(figure, median(samples), "ms", 2);
    return true;
}

int paintCommand(int& argc, char** argv, const QStringList& arguments)
{
    Options options({QStringLiteral("dir"), QStringLiteral("frames"), QStringLiteral("year"), QStringLiteral("month")});
    if (!options.parse(arguments))
        return 2;
    const QString dir = options.text(QStringLiteral("dir"));
    if (dir.isEmpty() || !QFileInfo(dir).isDir()) {
        std::fprintf(stderr, "uriage-bench paint: --dir needs a directory holding the table\n");
        return 2;
    }
    const int frames = options.number(QStringLiteral("frames"), 200);
    if (frames < 1)
        return 2;
    const QString year = options.text(QStringLiteral("year"), QStringLiteral("2005"));
    const QString month = options.text(QStringLiteral("month"), QStringLiteral("3"));

    preferOffscreen();
    QApplication app(argc, argv);
    installFontSubstitutes();
    const QString absolute = QFileInfo(dir).absoluteFilePath();
    if (!measure(chart::View::Flat, "paint_flat", absolute, year, month, frames))
        return 1;
    if (!measure(chart::View::ThreeD, "paint_3d", absolute, year, month, frames))
        return 1;
    return 0;
}

const CommandRegistrar registrar("paint", paintCommand);

} // namespace
} // namespace uriage::bench
