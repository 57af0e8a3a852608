// uriage-bench writers --dir-1m DIR --work DIR [--seconds S] [--pause-ms N] [--year Y] [--month M]
// A receipt program saving one receipt per transaction with busy timeout 0
// (the receipt-writer tool, a separate process) while the per-day window
// presses its filter button in a loop on a copy of the table in DIR, once in
// rollback-journal mode and once in WAL mode. Prints per mode
//   writer_failures_<mode>_1m: F of N commits
//   reads_<mode>_1m: R reads, longest wait between two reads, reads not a committed state
//   lock_<mode>_writer_1m: median lock held per press, and tries
// and lock_wal_1m, the lock per press on the WAL-mode copy with no writer.
#include "bench_command.h"
#include "chart_press.h"
#include "figure_line.h"
#include "offscreen.h"
#include "options.h"
#include "statistics.h"

#include "windows/fonts.h"
#include "commit_loop.h"
#include "data/engine.h"
#include "data/query.h"
#include "windows/chart_window.h"
#include "windows/chart_window_catalog.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLocale>
#include <QProcess>
#include <QThread>
#include <cmath>
#include <cstdio>
#include <memory>
#include <set>

namespace uriage::bench {
namespace {

struct Settings {
    QString sourceDir;
    QString workDir;
    int seconds = 20;
    int pauseMs = 0;
    QString year;
    QString month;
};

bool fail(const QString& message)
{
    std::fprintf(stderr, "uriage-bench writers: %s\n", qPrintable(message));
    return false;
}

// The month's totals as the window's query read them: the sum over its rows.
receipts::MonthTotals totalsOf(data::Query& query)
{
    receipts::MonthTotals totals{};
    query.disableControls();
    for (query.first(); !query.eof(); query.next())
        for (std::size_t c = 0; c < totals.size(); ++c)
            totals[c] += std::llround(query.field(4 + c).asFloat());
    query.first();
    query.enableControls();
    return totals;
}

// A fresh copy of the table, so that every run starts from the same file.
bool freshCopy(const Settings& s, const QString& name, QString* dir)
{
    *dir = QDir(s.workDir).filePath(name);
    QDir(*dir).removeRecursively();
    if (!QDir().mkpath(*dir))
        return fail(QStringLiteral("cannot make %1").arg(*dir));
    const QString file = QStringLiteral("領収証記録.db");
    if (!QFile::copy(QDir(s.sourceDir).filePath(file), QDir(*dir).filePath(file)))
        return fail(QStringLiteral("cannot copy the table into %1").arg(*dir));
    return true;
}

struct Reads {
    std::vector<receipts::MonthTotals> totals;
    std::vector<double> locks;
    std::vector<double> tries;
    double longestGapMs = 0;
    long long failed = 0;
    QString firstError;
};

// Presses the filter button until `running` says stop; every read recorded.
void pressWhile(ChartWindow& window, const std::function<bool()>& running, Reads* reads)
{
    Stopwatch sinceLast;
    double last = 0;
    while (running()) {
        const PressResult press = pressAndPaint(window);
        if (!press.error.isEmpty()) {
            // A read that gives up is counted; the presses go on.
            if (reads->failed++ == 0)
                reads->firstError = press.error;
            continue;
        }
        const double now = sinceLast.milliseconds();
        reads->longestGapMs = std::max(reads->longestGapMs, now - last);
        last = now;
        reads->totals.push_back(totalsOf(window.query()));
        reads->locks.push_back(press.lockMilliseconds);
        reads->tries.push_back(press.copyTries);
    }
}

bool runMode(const Settings& s, ChartWindow& window, bool wal)
{
    const char* mode = wal ? "wal" : "rollback";
    QString dir;
    if (!freshCopy(s, QStringLiteral("writer-%1").arg(QLatin1String(mode)), &dir))
        return false;
    window.query().close();
    window.query().setDatabaseName(dir);
    const QString log = QDir(dir).filePath(QStringLiteral("../writer-%1.log").arg(QLatin1String(mode)));
    QFile::remove(log);

    QProcess writer;
    writer.setProcessChannelMode(QProcess::ForwardedErrorChannel);
    QStringList arguments = {QStringLiteral("--dir"), dir, QStringLiteral("--seconds"), QString::number(s.seconds),
                             QStringLiteral("--pause-ms"), QString::number(s.pauseMs), QStringLiteral("--year"), s.year,
                             QStringLiteral("--month"), s.month, QStringLiteral("--log"), log};
    if (wal)
        arguments << QStringLiteral("--wal");
    writer.start(QCoreApplication::applicationDirPath() + QStringLiteral("/receipt-writer"), arguments);
    if (!writer.waitForStarted(10000))
        return fail(QStringLiteral("receipt-writer does not start"));
    // The presses start once the writer has set up and logged its first state.
    while (QFileInfo(log).size() == 0 && writer.state() == QProcess::Running)
        QThread::msleep(5);

    Reads reads;
    pressWhile(window, [&] { return writer.state() == QProcess::Running && !writer.waitForFinished(0); }, &reads);
    writer.waitForFinished(60000);
    const QStringList summary = QString::fromUtf8(writer.readAllStandardOutput()).split(QChar(' '), Qt::SkipEmptyParts);
    if (writer.exitCode() != 0 || summary.size() != 4)
        return fail(QStringLiteral("receipt-writer failed in %1 mode").arg(QLatin1String(mode)));

    std::set<receipts::MonthTotals> states;
    QFile logFile(log);
    if (!logFile.open(QIODevice::ReadOnly | QIODevice::Text))
        return fail(QStringLiteral("cannot read %1").arg(log));
    QStringList failures;
    for (const QByteArray& line : logFile.readAll().split('\n')) {
        receipts::MonthTotals totals{};
        if (receipts::parseStateLine(QString::fromUtf8(line), &totals))
            states.insert(totals);
        else if (line.startsWith("failure ") && failures.size() < 3)
            failures << QString::fromUtf8(line.mid(8));
    }
    long long torn = 0;
    for (const auto& totals : reads.totals)
        torn += states.count(totals) ? 0 : 1;

    const QLocale numbers(QLocale::English);
    const long long commits = summary[1].toLongLong();
    const long long failed = summary[3].toLongLong();
    std::printf("writer_failures_%s_1m: %s of %s commits (pause between saves %d ms)\n", mode,
                qPrintable(numbers.toString(failed)), qPrintable(numbers.toString(commits + failed)), s.pauseMs);
    std::printf("reads_%s_1m: %zu reads, %lld failed, longest %.0f ms between two, %lld not a committed state\n",
                mode, reads.totals.size(), reads.failed, reads.longestGapMs, torn);
    if (reads.failed)
        std::fprintf(stderr, "  %s first failed read: %s\n", mode, qPrintable(reads.firstError));
    const std::string lockName = std::string("lock_") + mode + "_writer_1m";
    printFigure(lockName.c_str(), median(reads.locks), "ms", 1);
    const std::string triesName = std::string("tries_") + mode + "_writer_1m";
    printFigure(triesName.c_str(), median(reads.tries), "tries", 1);
    for (const QString& f : failures)
        std::fprintf(stderr, "  %s writer failure: %s\n", mode, qPrintable(f));
    return true;
}

// The lock per press on a WAL-mode copy with no writer at work.
bool quietWalLock(const Settings& s, ChartWindow& window)
{
    QString dir;
    if (!freshCopy(s, QStringLiteral("writer-wal-quiet"), &dir))
        return false;
    const QString file = QDir(dir).filePath(QStringLiteral("領収証記録.db"));
    QProcess shell;
    shell.start(QStringLiteral("sqlite3"), {file, QStringLiteral("PRAGMA journal_mode=WAL;")});
    if (!shell.waitForFinished(30000) || shell.exitCode() != 0 || !shell.readAllStandardOutput().startsWith("wal"))
        return fail(QStringLiteral("cannot switch %1 to WAL mode").arg(file));
    window.query().close();
    window.query().setDatabaseName(dir);
    std::vector<double> locks;
    for (int run = 0; run <= 5; ++run) {
        const PressResult press = pressAndPaint(window);
        if (!press.error.isEmpty())
            return fail(press.error);
        if (run > 0)
            locks.push_back(press.lockMilliseconds);
    }
    printFigure("lock_wal_1m", median(locks), "ms", 1);
    return true;
}

int writersCommand(int& argc, char** argv, const QStringList& arguments)
{
    Options options({QStringLiteral("dir-1m"), QStringLiteral("work"), QStringLiteral("seconds"),
                     QStringLiteral("pause-ms"), QStringLiteral("year"), QStringLiteral("month")});
    if (!options.parse(arguments))
        return 2;
    Settings s{options.text(QStringLiteral("dir-1m")), options.text(QStringLiteral("work")),
               options.number(QStringLiteral("seconds"), 20), options.number(QStringLiteral("pause-ms"), 0),
               options.text(QStringLiteral("year"), QStringLiteral("2005")),
               options.text(QStringLiteral("month"), QStringLiteral("3"))};
    if (!QFileInfo(s.sourceDir).isDir() || s.workDir.isEmpty() || s.seconds < 1 || s.pauseMs < 0) {
        std::fprintf(stderr, "uriage-bench writers: --dir-1m DIR --work DIR [--seconds S] [--pause-ms N]\n");
        return 2;
    }
    s.sourceDir = QFileInfo(s.sourceDir).absoluteFilePath();
    s.workDir = QFileInfo(s.workDir).absoluteFilePath();

    preferOffscreen();
    QApplication app(argc, argv);
    installFontSubstitutes();
    data::Engine engine;
    const std::unique_ptr<ChartWindow> window = createChartWindow(QStringLiteral("TForm2"), engine);
    if (!window || window->kind() != ChartWindowKind::PerDay)
        return 1;
    window->query().setDatabaseName(s.sourceDir);
    prepareFilter(*window, s.year, s.month);
    if (!runMode(s, *window, false) || !runMode(s, *window, true) || !quietWalLock(s, *window))
        return 1;
    window->query().close();
    return 0;
}

const CommandRegistrar registrar("writers", writersCommand);

} // namespace
} // namespace uriage::bench
