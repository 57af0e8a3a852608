// uriage-bench rss --dir DIR [--year Y] [--month M]
// Peak memory: the whole window set as the program creates it, the main menu
// shown, then every chart window shown and filtered once on the table in DIR.
// Prints the process's peak resident size as `rss_filled`. Run it in a fresh
// process (the peak covers the process's whole life).
#include "bench_command.h"
#include "data/engine.h"
#include "chart_press.h"
#include "figure_line.h"
#include "offscreen.h"
#include "options.h"
#include "peak_memory.h"

#include "app/application.h"
#include "app/window_set.h"
#include "windows/fonts.h"
#include "data/query.h"
#include "windows/Unit1.h"
#include "windows/chart_window.h"

#include <QFileInfo>
#include <cstdio>

namespace uriage::bench {
namespace {

int rssCommand(int& argc, char** argv, const QStringList& arguments)
{
    Options options({QStringLiteral("dir"), QStringLiteral("year"), QStringLiteral("month")});
    if (!options.parse(arguments))
        return 2;
    const QString dir = options.text(QStringLiteral("dir"));
    if (dir.isEmpty() || !QFileInfo(dir).isDir()) {
        std::fprintf(stderr, "uriage-bench rss: --dir needs a directory holding the table\n");
        return 2;
    }
    const QString year = options.text(QStringLiteral("year"), QStringLiteral("2005"));
    const QString month = options.text(QStringLiteral("month"), QStringLiteral("3"));

    preferOffscreen();
    Application app(argc, argv);
    installFontSubstitutes();
    int status = 0;
    {
        data::Engine engine;
        WindowSet windows(engine);
        showMainWindow(Form1, platform::InitialShow::Normal);
        QApplication::processEvents();
        int filled = 0;
        for (QWidget* widget : windows.windows()) {
            auto* window = qobject_cast<ChartWindow*>(widget);
            if (!window)
                continue;
            window->query().setDatabaseName(QFileInfo(dir).absoluteFilePath());
            prepareFilter(*window, year, window->kind() == ChartWindowKind::PerDay ? month : QString());
            const PressResult press = pressAndPaint(*window);
            std::fprintf(stderr, "  %s: %.1f ms, %d points, peak so far %.1f MB\n",
                         window->metaObject()->className(), press.milliseconds, press.points,
                         double(peakResidentBytes()) / (1024.0 * 1024.0));
            if (!press.error.isEmpty() || press.points <= 0) {
                std::fprintf(stderr, "uriage-bench rss: %s was not filled: %s\n", window->metaObject()->className(),
                             qPrintable(press.error));
                status = 1;
                break;
            }
            ++filled;
        }
        if (status == 0 && filled != 6) {
            std::fprintf(stderr, "uriage-bench rss: %d chart windows instead of six\n", filled);
            status = 1;
        }
        if (status == 0) {
            const std::uint64_t peak = peakResidentBytes();
            if (peak == 0) {
                std::fprintf(stderr, "uriage-bench rss: no peak resident size in /proc/self/status\n");
                status = 1;
            } else {
                printFigure("rss_filled", double(peak) / (1024.0 * 1024.0), "MB", 1);
            }
        }
    }
    return status;
}

const CommandRegistrar registrar("rss", rssCommand);

} // namespace
} // namespace uriage::bench
