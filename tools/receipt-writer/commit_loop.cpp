#include "commit_loop.h"

#include "data/sqlite/sqlite_handles.h"
#include "platform/file_access.h"

#include <QElapsedTimer>
#include <QFile>
#include <QRandomGenerator>
#include <QStringList>
#include <QThread>
#include <sqlite3.h>

#include <memory>

namespace receipts {
namespace {

using Db = uriage::data::DatabaseHandle;
using Stmt = uriage::data::StatementHandle;

QString errorOf(sqlite3* db) { return QString::fromUtf8(sqlite3_errmsg(db)); }

// Setting up may wait for other programs; only the saves themselves never wait.
int stepWaiting(sqlite3_stmt* stmt)
{
    QElapsedTimer clock;
    clock.start();
    int code;
    while (((code = sqlite3_step(stmt)) == SQLITE_BUSY || code == SQLITE_LOCKED) && clock.elapsed() < 10000) {
        sqlite3_reset(stmt);
        QThread::msleep(5);
    }
    return code;
}

Stmt prepare(sqlite3* db, const QString& sql)
{
    sqlite3_stmt* raw = nullptr;
    const QByteArray text = sql.toUtf8();
    sqlite3_prepare_v2(db, text.constData(), int(text.size()), &raw, nullptr);
    return Stmt(raw);
}

// The month's totals as they stand, read once before the first save.
bool readTotals(sqlite3* db, int year, int month, MonthTotals* totals)
{
    Stmt stmt = prepare(db, QStringLiteral("SELECT count(*), coalesce(sum(保険料金合計),0), coalesce(sum(一部負担金),0),"
                                           " coalesce(sum(保険外料金),0), coalesce(sum(合計金額),0)"
                                           " FROM 領収証記録 WHERE 年 = %1 AND 月 = %2")
                                .arg(year)
                                .arg(month));
    if (!stmt || stepWaiting(stmt.get()) != SQLITE_ROW)
        return false;
    for (int c = 0; c < 5; ++c)
        (*totals)[std::size_t(c)] = sqlite3_column_int64(stmt.get(), c);
    return true;
}

struct Saver {
    sqlite3* db;
    Stmt begin, insert, commit, rollback;

    // One receipt in its own transaction; the failure's message, or empty.
    QString save(const MonthTotals& receipt, int year, int month, int day)
    {
        sqlite3_bind_text(insert.get(), 1, QStringLiteral("%1-%2-%3").arg(year, 4, 10, QChar('0')).arg(month, 2, 10, QChar('0'))
                                               .arg(day, 2, 10, QChar('0')).toUtf8().constData(), -1, SQLITE_TRANSIENT);
        sqlite3_bind_int(insert.get(), 2, year);
        sqlite3_bind_int(insert.get(), 3, month);
        sqlite3_bind_int(insert.get(), 4, day);
        for (int c = 1; c < 5; ++c)
            sqlite3_bind_int64(insert.get(), 4 + c, receipt[std::size_t(c)]);
        QString error;
        for (sqlite3_stmt* step : {begin.get(), insert.get(), commit.get()}) {
            const int code = sqlite3_step(step);
            sqlite3_reset(step);
            if (code != SQLITE_DONE) {
                error = errorOf(db);
                break;
            }
        }
        if (!error.isEmpty() && !sqlite3_get_autocommit(db)) {
            sqlite3_step(rollback.get());
            sqlite3_reset(rollback.get());
        }
        return error;
    }
};

} // namespace

QString stateLine(const MonthTotals& totals)
{
    QStringList parts{QStringLiteral("state")};
    for (long long v : totals)
        parts << QString::number(v);
    return parts.join(QChar(' '));
}

bool parseStateLine(const QString& line, MonthTotals* totals)
{
    const QStringList parts = line.split(QChar(' '), Qt::SkipEmptyParts);
    if (parts.size() != 6 || parts[0] != QLatin1String("state"))
        return false;
    for (int c = 0; c < 5; ++c) {
        bool ok = false;
        (*totals)[std::size_t(c)] = parts[c + 1].toLongLong(&ok);
        if (!ok)
            return false;
    }
    return true;
}

CommitLoopReport runCommitLoop(const CommitLoopOptions& options, const std::function<void(const MonthTotals&)>& committed,
                               const std::function<void(const QString&)>& failed)
{
    CommitLoopReport report;
    sqlite3* raw = nullptr;
    const int openCode = sqlite3_open_v2(uriage::platform::pathBytes(options.tablePath).constData(), &raw, SQLITE_OPEN_READWRITE, nullptr);
    Db db(raw);
    if (openCode != SQLITE_OK) {
        report.setupError = raw ? errorOf(raw) : QStringLiteral("out of memory");
        return report;
    }
    sqlite3_busy_timeout(db.get(), 0);
    // The journal mode is set, not assumed: a copied file keeps its own.
    const char* mode = options.wal ? "wal" : "delete";
    Stmt setMode = prepare(db.get(), QStringLiteral("PRAGMA journal_mode=%1").arg(QLatin1String(mode)));
    if (!setMode || stepWaiting(setMode.get()) != SQLITE_ROW
        || qstrcmp(reinterpret_cast<const char*>(sqlite3_column_text(setMode.get(), 0)), mode) != 0) {
        report.setupError = QStringLiteral("cannot switch to %1 mode: ").arg(QLatin1String(mode)) + errorOf(db.get());
        return report;
    }
    setMode.reset();
    MonthTotals totals{};
    if (!readTotals(db.get(), options.year, options.month, &totals)) {
        report.setupError = QStringLiteral("cannot read the table: ") + errorOf(db.get());
        return report;
    }
    Saver saver{db.get(), prepare(db.get(), QStringLiteral("BEGIN")),
                prepare(db.get(), QStringLiteral("INSERT INTO 領収証記録 (施術日, 年, 月, 日, 保険料金合計, 一部負担金,"
                                                 " 保険外料金, 合計金額) VALUES (?1, ?2, ?3, ?4, ?5, ?6, ?7, ?8)")),
                prepare(db.get(), QStringLiteral("COMMIT")), prepare(db.get(), QStringLiteral("ROLLBACK"))};
    if (!saver.begin || !saver.insert || !saver.commit || !saver.rollback) {
        report.setupError = QStringLiteral("cannot prepare the save: ") + errorOf(db.get());
        return report;
    }
    committed(totals);

    QRandomGenerator random(options.seed);
    QElapsedTimer clock;
    clock.start();
    while (clock.elapsed() < qint64(options.seconds * 1000)) {
        MonthTotals receipt{1};
        receipt[1] = 1000 + random.bounded(8000);
        receipt[2] = receipt[1] * (1 + random.bounded(3)) / 10;
        receipt[3] = 100 * random.bounded(30);
        receipt[4] = receipt[2] + receipt[3];
        const QString error = saver.save(receipt, options.year, options.month, 1 + int(random.bounded(28)));
        if (error.isEmpty()) {
            for (std::size_t c = 0; c < totals.size(); ++c)
                totals[c] += receipt[c];
            ++report.commits;
            committed(totals);
        } else {
            ++report.failures;
            failed(error);
        }
        if (options.pauseMilliseconds > 0)
            QThread::msleep(ulong(options.pauseMilliseconds));
    }
    return report;
}

} // namespace receipts
