#pragma once
// A receipt program's save loop: one receipt per transaction (BEGIN, INSERT,
// COMMIT) with SQLite's default busy timeout of 0, as a practice's program
// saves them. Every committed state of one month (its receipt count and the
// sums of the four amount columns) and every failed save are reported, so that
// a reader's totals can be matched against the states that really existed.
#include <QString>

#include <array>
#include <functional>
#include <set>

namespace receipts {

// One month's totals: receipt count, then 保険料金合計, 一部負担金, 保険外料金, 合計金額.
using MonthTotals = std::array<long long, 5>;

struct CommitLoopOptions {
    QString tablePath;        // an existing receipt table file
    bool wal = false;         // WAL mode; else rollback-journal mode (set first, either way)
    double seconds = 10;      // how long to keep saving
    int pauseMilliseconds = 0;   // between saves
    int year = 2005;
    int month = 3;            // the month the receipts are saved in
    unsigned seed = 1;
};

struct CommitLoopReport {
    long long commits = 0;
    long long failures = 0;
    QString setupError;       // the file could not be opened or prepared: nothing saved
};

// Saves receipts until the time is up. `committed` gets the month's totals
// before the first save and after every committed one; `failed` the message of
// every save that failed (its transaction rolled back).
CommitLoopReport runCommitLoop(const CommitLoopOptions& options, const std::function<void(const MonthTotals&)>& committed,
                               const std::function<void(const QString&)>& failed);

// A state log line "state COUNT S1 S2 S3 S4", and back; nothing for other lines.
QString stateLine(const MonthTotals& totals);
bool parseStateLine(const QString& line, MonthTotals* totals);

} // namespace receipts
