// uriage-bench press-window --dir-1m DIR [--runs N] [--year Y] [--month M]
// The per-day window's filter press on a real X display (run it with
// QT_QPA_PLATFORM=xcb, e.g. on a virtual X server): the clock runs from the
// click on フィルター until the X server has received the painted chart (a
// round trip after the window's flush). After each run the chart is read
// back from the server and compared with what the window painted, so that
// the figure is the wait a user sees. Prints press_window_daily_1m.
#include "bench_command.h"
#include "chart_press.h"
#include "figure_line.h"
#include "options.h"
#include "statistics.h"

#include "chart/chart_widget.h"
#include "windows/fonts.h"
#include "data/engine.h"
#include "data/query.h"
#include "windows/chart_window.h"
#include "windows/chart_window_catalog.h"

#include <QApplication>
#include <QDateTime>
#include <QDir>
#include <QFileInfo>
#include <QGuiApplication>
#include <QImage>
#include <QScreen>
#include <QWindow>
#include <cstdio>
#include <cstdlib>
#include <memory>
#include <xcb/xcb.h>

namespace uriage::bench {
namespace {

bool fail(const QString& message)
{
    std::fprintf(stderr, "uriage-bench press-window: %s\n", qPrintable(message));
    return false;
}

xcb_connection_t* x11Connection()
{
    auto* x11 = qGuiApp->nativeInterface<QNativeInterface::QX11Application>();
    return x11 ? x11->connection() : nullptr;
}

// Returns once the X server has handled every request sent so far.
void roundTrip(xcb_connection_t* connection)
{
    std::free(xcb_get_input_focus_reply(connection, xcb_get_input_focus(connection), nullptr));
}

// The chart as the server shows it equals the chart the window painted.
bool chartOnScreen(ChartWindow& window)
{
    QWidget* chart = window.DBChart1;
    const QPoint at = chart->mapTo(&window, QPoint(0, 0));
    const QImage shown = window.screen()
                             ->grabWindow(window.winId(), at.x(), at.y(), chart->width(), chart->height())
                             .toImage()
                             .convertToFormat(QImage::Format_RGB32);
    const QImage painted = chart->grab().toImage().convertToFormat(QImage::Format_RGB32);
    return !shown.isNull() && shown == painted;
}

bool waitExposed(QWidget& window)
{
    window.show();
    for (int i = 0; i < 500 && !(window.windowHandle() && window.windowHandle()->isExposed()); ++i) {
        QApplication::processEvents(QEventLoop::AllEvents, 10);
    }
    QApplication::processEvents();
    return window.windowHandle() && window.windowHandle()->isExposed();
}

int pressWindowCommand(int& argc, char** argv, const QStringList& arguments)
{
    Options options({QStringLiteral("dir-1m"), QStringLiteral("runs"), QStringLiteral("year"), QStringLiteral("month")});
    if (!options.parse(arguments))
        return 2;
    const QString dir = QFileInfo(options.text(QStringLiteral("dir-1m"))).absoluteFilePath();
    const int runs = options.number(QStringLiteral("runs"), 5);
    if (!QFileInfo(dir).isDir() || runs < 1) {
        std::fprintf(stderr, "uriage-bench press-window: --dir-1m DIR [--runs N]\n");
        return 2;
    }
    QApplication app(argc, argv);
    xcb_connection_t* connection = QGuiApplication::platformName() == QLatin1String("xcb") ? x11Connection() : nullptr;
    if (!connection) {
        fail(QStringLiteral("needs an X display (QT_QPA_PLATFORM=xcb), not %1").arg(QGuiApplication::platformName()));
        return 2;
    }
    installFontSubstitutes();
    data::Engine engine;
    const std::unique_ptr<ChartWindow> window = createChartWindow(QStringLiteral("TForm2"), engine);
    if (!window || !waitExposed(*window)) {
        fail(QStringLiteral("the window TForm2 is not on screen"));
        return 1;
    }
    window->query().setDatabaseName(dir);
    prepareFilter(*window, options.text(QStringLiteral("year"), QStringLiteral("2005")),
                  options.text(QStringLiteral("month"), QStringLiteral("3")));

    const QString tableFile = QDir(dir).filePath(QStringLiteral("領収証記録.db"));
    std::vector<double> presses;
    for (int run = 0; run <= runs; ++run) {
        // A changed file each press: the table is read afresh.
        if (!markTableChanged(tableFile, QDateTime::currentDateTimeUtc())) {
            fail(QStringLiteral("cannot set the modification time of %1").arg(tableFile));
            return 1;
        }
        const Stopwatch clock;
        const PressResult press = pressAndPaint(*window);
        roundTrip(connection);
        const double milliseconds = clock.milliseconds();
        if (!press.error.isEmpty() || press.points <= 0) {
            fail(QStringLiteral("the press failed: %1").arg(press.error));
            return 1;
        }
        if (!chartOnScreen(*window)) {
            fail(QStringLiteral("the chart on screen is not the one painted"));
            return 1;
        }
        std::fprintf(stderr, "  TForm2 1m on screen run %d: %.1f ms (in the window %.1f ms)\n", run, milliseconds,
                     press.milliseconds);
        if (run > 0)
            presses.push_back(milliseconds);
    }
    printFigure("press_window_daily_1m", median(presses), "ms", 1);
    window->query().close();
    return 0;
}

const CommandRegistrar registrar("press-window", pressWindowCommand);

} // namespace
} // namespace uriage::bench
