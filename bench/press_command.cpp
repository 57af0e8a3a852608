// uriage-bench press --dir-100k DIR --dir-1m DIR [--runs N] [--year Y] [--month M]
// Filter press to painted chart in the per-day window TForm2 (one month) and
// the per-month window TForm6 (one year) on each table, each run followed by
// the same statement text in the sqlite3 shell on the same file. Before each
// such press the file's modification time moves, so that the table counts as
// changed and is copied and aggregated afresh. Prints press_daily_*,
// press_monthly_* (median, ratio of medians) and lock_1m; then, for the
// 1 million receipt table, press_*_1m_unchanged: pressed again on a file
// nobody wrote since.
#include "bench_command.h"
#include "chart_press.h"
#include "figure_line.h"
#include "offscreen.h"
#include "options.h"
#include "shell_reference.h"
#include "statistics.h"

#include "windows/fonts.h"
#include "data/engine.h"
#include "data/query.h"
#include "windows/chart_window.h"
#include "windows/chart_window_catalog.h"

#include <QApplication>
#include <QDateTime>
#include <QDir>
#include <QFileInfo>
#include <cstdio>
#include <memory>
#include <string>

namespace uriage::bench {
namespace {

struct Case {
    const char* className;
    ChartWindowKind kind;
    const char* kindName;
};

constexpr Case kCases[] = {{"TForm2", ChartWindowKind::PerDay, "daily"}, {"TForm6", ChartWindowKind::PerMonth, "monthly"}};

bool fail(const QString& message)
{
    std::fprintf(stderr, "uriage-bench press: %s\n", qPrintable(message));
    return false;
}

// Presses on a file nobody wrote for an hour: the first press reads it, the
// timed ones find it unchanged.
bool measureUnchanged(ChartWindow& window, const Case& c, const QString& sizeName, const QString& tableFile, int runs)
{
    if (!markTableChanged(tableFile, QDateTime::currentDateTimeUtc().addSecs(-3600)))
        return fail(QStringLiteral("cannot set the modification time of %1").arg(tableFile));
    std::vector<double> presses;
    for (int run = 0; run <= runs; ++run) {
        const PressResult press = pressAndPaint(window);
        if (!press.error.isEmpty())
            return fail(QStringLiteral("%1 unchanged: %2").arg(QLatin1String(c.className), press.error));
        std::fprintf(stderr, "  %s %s unchanged run %d: press %.2f ms (%d copy tries)\n", c.className,
                     qPrintable(sizeName), run, press.milliseconds, press.copyTries);
        if (run > 0)
            presses.push_back(press.milliseconds);
    }
    const std::string name = "press_" + std::string(c.kindName) + "_" + sizeName.toStdString() + "_unchanged";
    printFigure(name.c_str(), median(presses), "ms", 2);
    return true;
}

// Times one window on one table; adds its lock timings to `locks`.
bool measure(const Case& c, const QString& sizeName, const QString& dir, const QString& year, const QString& month,
             int runs, std::vector<double>* locks)
{
    data::Engine engine;
    const std::unique_ptr<ChartWindow> window = createChartWindow(QString::fromLatin1(c.className), engine);
    if (!window || window->kind() != c.kind)
        return fail(QStringLiteral("%1 is not the expected window").arg(QLatin1String(c.className)));
    window->query().setDatabaseName(dir);
    prepareFilter(*window, year, c.kind == ChartWindowKind::PerDay ? month : QString());
    const QString tableFile = QDir(dir).filePath(QStringLiteral("領収証記録.db"));
    const QString statement = window->query().sql();

    std::vector<double> presses;
    std::vector<double> shells;
    // The first pair warms the file cache and is not counted.
    for (int run = 0; run <= runs; ++run) {
        if (!markTableChanged(tableFile, QDateTime::currentDateTimeUtc()))
            return fail(QStringLiteral("cannot set the modification time of %1").arg(tableFile));
        const PressResult press = pressAndPaint(*window);
        if (!press.error.isEmpty())
            return fail(QStringLiteral("%1 on %2: %3").arg(QLatin1String(c.className), dir, press.error));
        if (press.points <= 0)
            return fail(QStringLiteral("%1 on %2 drew no points").arg(QLatin1String(c.className), dir));
        const ShellTiming shell = timeStatementInShell(tableFile, statement);
        if (!shell.error.isEmpty())
            return fail(shell.error);
        std::fprintf(stderr, "  %s %s run %d: press %.1f ms (lock %.1f ms, %d points), shell %.1f ms\n",
                     c.className, qPrintable(sizeName), run, press.milliseconds, press.lockMilliseconds,
                     press.points, shell.milliseconds);
        if (run == 0)
            continue;
        presses.push_back(press.milliseconds);
        shells.push_back(shell.milliseconds);
        if (locks)
            locks->push_back(press.lockMilliseconds);
    }
    const double pressMs = median(presses);
    const double shellMs = median(shells);
    const std::string name = "press_" + std::string(c.kindName) + "_" + sizeName.toStdString();
    printFigure(name.c_str(), pressMs, "ms", 1, pressMs / shellMs);
    if (sizeName == QLatin1String("1m") && !measureUnchanged(*window, c, sizeName, tableFile, runs))
        return false;
    window->query().close();
    return true;
}

int pressCommand(int& argc, char** argv, const QStringList& arguments)
{
    Options options({QStringLiteral("dir-100k"), QStringLiteral("dir-1m"), QStringLiteral("runs"), QStringLiteral("year"), QStringLiteral("month")});
    if (!options.parse(arguments))
        return 2;
    const int runs = options.number(QStringLiteral("runs"), 5);
    const QString year = options.text(QStringLiteral("year"), QStringLiteral("2005"));
    const QString month = options.text(QStringLiteral("month"), QStringLiteral("3"));
    const QList<QPair<QString, QString>> tables = {{QStringLiteral("100k"), options.text(QStringLiteral("dir-100k"))},
                                                   {QStringLiteral("1m"), options.text(QStringLiteral("dir-1m"))}};
    for (const auto& table : tables)
        if (table.second.isEmpty() || !QFileInfo(table.second).isDir()) {
            std::fprintf(stderr, "uriage-bench press: --dir-%s needs a directory holding the table\n",
                         qPrintable(table.first));
            return 2;
        }
    if (runs < 1)
        return 2;

    preferOffscreen();
    QApplication app(argc, argv);
    installFontSubstitutes();

    std::vector<double> locks;
    for (const Case& c : kCases)
        for (const auto& table : tables)
            if (!measure(c, table.first, QFileInfo(table.second).absoluteFilePath(), year, month, runs,
                         table.first == QLatin1String("1m") ? &locks : nullptr))
                return 1;
    printFigure("lock_1m", median(locks), "ms", 1);
    return 0;
}

const CommandRegistrar registrar("press", pressCommand);

} // namespace
} // namespace uriage::bench
