// receipt-writer --dir DIR --seconds S [--wal (else rollback-journal mode)] [--pause-ms N] [--year Y --month M] [--log FILE]
// Saves one receipt per transaction into DIR/領収証記録.db with busy timeout 0
// until the time is up. The log holds "state COUNT S1 S2 S3 S4" for the month
// before the first save and after every committed one, and "failure MESSAGE"
// for every failed save. Prints "commits N failures F" at the end; the exit
// code is 0 when the loop ran (failures included), 1 when it could not start,
// 2 for a command line it cannot use.
#include "commit_loop.h"

#include <QCommandLineParser>
#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QTextStream>

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    QCommandLineParser parser;
    parser.setApplicationDescription(QStringLiteral("Saves receipts one per transaction with busy timeout 0."));
    parser.addHelpOption();
    const QCommandLineOption dir(QStringLiteral("dir"), QStringLiteral("Directory holding the receipt table."), QStringLiteral("DIR"));
    const QCommandLineOption seconds(QStringLiteral("seconds"), QStringLiteral("How long to save."), QStringLiteral("S"), QStringLiteral("10"));
    const QCommandLineOption wal(QStringLiteral("wal"), QStringLiteral("Switch the table to WAL mode first."));
    const QCommandLineOption pause(QStringLiteral("pause-ms"), QStringLiteral("Pause between saves."), QStringLiteral("N"), QStringLiteral("0"));
    const QCommandLineOption year(QStringLiteral("year"), QStringLiteral("Year of the receipts."), QStringLiteral("Y"), QStringLiteral("2005"));
    const QCommandLineOption month(QStringLiteral("month"), QStringLiteral("Month of the receipts."), QStringLiteral("M"), QStringLiteral("3"));
    const QCommandLineOption log(QStringLiteral("log"), QStringLiteral("Where the states and failures go."), QStringLiteral("FILE"));
    parser.addOptions({dir, seconds, wal, pause, year, month, log});
    QTextStream err(stderr);
    const auto usage = [&](const QString& problem) {
        err << "receipt-writer: " << problem << '\n' << parser.helpText();
        return 2;
    };
    if (!parser.parse(app.arguments()))
        return usage(parser.errorText());
    if (parser.isSet(QStringLiteral("help")) || parser.isSet(QStringLiteral("help-all"))) {
        QTextStream(stdout) << parser.helpText();
        return 0;
    }
    if (!parser.positionalArguments().isEmpty())
        return usage(QStringLiteral("unexpected ") + parser.positionalArguments().join(QChar(' ')));
    if (!parser.isSet(dir))
        return usage(QStringLiteral("--dir is required"));
    receipts::CommitLoopOptions options;
    options.tablePath = QDir(parser.value(dir)).filePath(QStringLiteral("領収証記録.db"));
    options.wal = parser.isSet(wal);
    options.seconds = parser.value(seconds).toDouble();
    options.pauseMilliseconds = parser.value(pause).toInt();
    options.year = parser.value(year).toInt();
    options.month = parser.value(month).toInt();
    if (options.seconds <= 0 || options.month < 1 || options.month > 12 || options.pauseMilliseconds < 0)
        return usage(QStringLiteral("--seconds, --month or --pause-ms out of range"));

    QFile logFile(parser.value(log));
    if (parser.isSet(log) && !logFile.open(QIODevice::WriteOnly | QIODevice::Truncate | QIODevice::Text)) {
        err << "receipt-writer: cannot write " << parser.value(log) << '\n';
        return 1;
    }
    QTextStream logStream(&logFile);
    const auto write = [&](const QString& line) {
        // Flushed line by line: a reader may wait for the first state.
        if (logFile.isOpen())
            logStream << line << Qt::endl;
    };
    const receipts::CommitLoopReport report = receipts::runCommitLoop(
        options, [&](const receipts::MonthTotals& totals) { write(receipts::stateLine(totals)); },
        [&](const QString& message) { write(QStringLiteral("failure ") + message); });
    logStream.flush();
    if (!report.setupError.isEmpty()) {
        err << "receipt-writer: " << report.setupError << '\n';
        return 1;
    }
    QTextStream(stdout) << "commits " << report.commits << " failures " << report.failures << '\n';
    return 0;
}
