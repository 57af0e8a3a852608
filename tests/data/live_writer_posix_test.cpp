// Reading while a receipt program saves: its saves (busy timeout 0) never
// fail because of a read, every read is one state the program committed, and
// a commit that lands in the middle of a copy is seen and the copy made again.
#include "commit_loop.h"
#include "process_helpers.h"
#include "receipt_fixture.h"

#include "data/snapshot/committed_copy.h"

#include <QElapsedTimer>
#include <QFileInfo>

#include <cmath>
#include <set>

namespace uriage::data::testing {
namespace {

const Receipt kOne = {"'2005-03-01'", "2005", "3", "1", "1000", "300", "0", "1300"};

// The month's totals as a monthly query read them.
receipts::MonthTotals monthTotals(Query& query)
{
    receipts::MonthTotals totals{};
    for (query.first(); !query.eof(); query.next())
        for (std::size_t c = 0; c < totals.size(); ++c)
            totals[c] += std::llround(query.field(2 + c).asFloat());
    return totals;
}

struct SavingWriter {
    const char* name;
    bool wal;
    int pauseMilliseconds;
};

void PrintTo(const SavingWriter& w, std::ostream* os) { *os << w.name; }

class SavingWriterTest : public DataTest, public ::testing::WithParamInterface<SavingWriter> {};

// A second process saves one receipt at a time (with a short pause, as fast
// as a busy front desk never would, or back to back) while the monthly query
// opens in a loop.
TEST_P(SavingWriterTest, NoSaveFailsAndEveryReadIsACommittedState)
{
    const bool wal = GetParam().wal;
    ReceiptDirectory dir;
    dir.write({kOne});
    const QString log = dir.path() + "/../writer-" + QString::number(getpid()) + (wal ? "-wal.log" : "-rollback.log");
    constexpr double kSeconds = 4;

    ChildProcess writer([&](ChildProcess& self) {
        receipts::CommitLoopOptions options;
        options.tablePath = dir.tablePath();
        options.wal = wal;
        options.seconds = kSeconds;
        options.pauseMilliseconds = GetParam().pauseMilliseconds;
        QFile file(log);
        if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate))
            _exit(6);
        bool told = false;
        const auto report = receipts::runCommitLoop(
            options,
            [&](const receipts::MonthTotals& totals) {
                file.write(receipts::stateLine(totals).toUtf8() + '\n');
                file.flush();
                if (!told) {
                    self.tell('S');
                    told = true;
                }
            },
            [&](const QString& message) { file.write("failure " + message.toUtf8() + '\n'); });
        file.close();
        self.send(QByteArray::number(report.commits) + ' ' + QByteArray::number(report.failures) + ' '
                  + report.setupError.toUtf8());
    });
    ASSERT_EQ(writer.receive(), 'S') << "the writer did not start";

    std::vector<receipts::MonthTotals> reads;
    std::vector<qint64> readAt;
    QStringList failedReads;
    QElapsedTimer clock;
    clock.start();
    while (clock.elapsed() < qint64(kSeconds * 1000) - 200) {
        Query query(engine, "Query1", QueryKind::Monthly);
        query.setDatabaseName(dir.path());
        const QString message = failureOf([&] { query.open(); });
        if (!message.isEmpty()) {
            failedReads << message;
            continue;
        }
        reads.push_back(monthTotals(query));
        readAt.push_back(clock.elapsed());
    }
    const QList<QByteArray> summary = writer.receiveAll().split(' ');
    EXPECT_EQ(writer.wait(), 0);
    ASSERT_GE(summary.size(), 2);

    std::set<receipts::MonthTotals> states;
    QStringList failures;
    QFile file(log);
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    for (const QByteArray& line : file.readAll().split('\n')) {
        receipts::MonthTotals totals{};
        if (receipts::parseStateLine(QString::fromUtf8(line), &totals))
            states.insert(totals);
        else if (line.startsWith("failure "))
            failures << QString::fromUtf8(line);
    }
    file.remove();
    EXPECT_GT(summary[0].toLongLong(), 100) << "saves committed";
    EXPECT_EQ(summary[1].toLongLong(), 0) << failures.mid(0, 3).join('\n').toStdString();
    EXPECT_TRUE(failedReads.isEmpty()) << failedReads.value(0).toStdString();
    ASSERT_FALSE(reads.empty());
    for (std::size_t r = 0; r < reads.size(); ++r)
        EXPECT_TRUE(states.count(reads[r])) << "read " << r << " with " << reads[r][0] << " receipts is no committed state";
    // At least one read each second.
    qint64 last = 0;
    for (const qint64 at : readAt) {
        EXPECT_LT(at - last, 1000);
        last = at;
    }
    std::printf("[ live     ] %s: %lld saves, %zu reads, %lld failed\n", GetParam().name, summary[0].toLongLong(), reads.size(), (long long)failedReads.size());
}

INSTANTIATE_TEST_SUITE_P(JournalModes, SavingWriterTest,
                         ::testing::Values(SavingWriter{"Rollback", false, 5}, SavingWriter{"Wal", true, 5},
                                           SavingWriter{"RollbackBackToBack", false, 0},
                                           SavingWriter{"WalBackToBack", true, 0}),
                         [](const auto& info) { return std::string(info.param.name); });

// The writer saves a second receipt with busy timeout 0: 'C' when it was
// committed, 'F' when the save failed.
char saveSecondReceipt(sqlite3* db)
{
    const QByteArray sql = insertSql({"'2005-03-02'", "2005", "3", "2", "500", "150", "0", "650"}).toUtf8();
    return sqlite3_exec(db, sql.constData(), nullptr, nullptr, nullptr) == SQLITE_OK ? 'C' : 'F';
}

class MidCopyCommitTest : public DataTest {
protected:
    // An engine whose lock-free copies call `betweenChunks` between chunks.
    static EngineOptions watchingCopies(std::function<void(int)> betweenChunks)
    {
        EngineOptions options;
        options.limits.copy.betweenChunks = std::move(betweenChunks);
        return options;
    }
};

// The writer commits while the first copy is under way: the copy is tried
// again and gives the new state, with no lock taken and the save not failed.
TEST_F(MidCopyCommitTest, IsSeenAndTheCopyMadeAgain)
{
    ReceiptDirectory dir;
    dir.write({kOne});
    ChildProcess writer([&](ChildProcess& self) {
        sqlite3* db = openWriter(dir.tablePath());
        self.await();
        self.tell(saveSecondReceipt(db));
        sqlite3_close(db);
    });
    char saved = 0;
    Engine watched(watchingCopies([&](int tryNumber) {
        if (tryNumber == 1 && saved == 0) {
            writer.tell('W');
            saved = writer.receive();
        }
    }));
    Query query(watched, "Query1", QueryKind::Monthly);
    query.setDatabaseName(dir.path());
    query.open();
    EXPECT_EQ(saved, 'C') << "the save failed";
    EXPECT_EQ(readRows(query), QStringList{"2005|3|2|1500|450|0|1950"});
    EXPECT_EQ(query.lastCopyTries(), 2);
    EXPECT_EQ(query.lastLockMilliseconds(), 0.0);
    EXPECT_EQ(writer.wait(), 0);
}

// A writer that commits while every copy is tried, as one saving back to
// back does: the read takes no shared lock, under which the writer's next
// save would fail, and after the lock's bounded wait reports the table
// locked. Every save went through.
TEST_F(MidCopyCommitTest, WriterSavingThroughEveryTryGetsNoLock)
{
    ReceiptDirectory dir;
    dir.write({kOne});
    ChildProcess writer([&](ChildProcess& self) {
        sqlite3* db = openWriter(dir.tablePath());
        while (self.await() == 'W')
            self.tell(saveSecondReceipt(db));
        sqlite3_close(db);
    });
    int saves = 0;
    int failedSaves = 0;
    Engine watched(watchingCopies([&](int) {
        writer.tell('W');
        ++(writer.receive() == 'C' ? saves : failedSaves);
    }));
    QElapsedTimer clock;
    clock.start();
    const QString got = openedIn(watched, dir.path(), QueryKind::Monthly);
    const qint64 waited = clock.elapsed();
    writer.tell('Q');
    EXPECT_EQ(writer.wait(), 0);
    EXPECT_EQ(got, "テーブルは他のプログラムによってロックされています\nファイル: " + dir.tablePath());
    EXPECT_GT(saves, 5);
    EXPECT_EQ(failedSaves, 0);
    EXPECT_GE(waited, 1900);
    EXPECT_LT(waited, 4000);
}

// A writer inside its transaction, its journal filled but the file not yet
// written (SQLite's RESERVED lock): the read copies the committed state with
// no lock, and the writer's commit then succeeds with busy timeout 0.
TEST_F(DataTest, WriterFillingItsJournalReadsTheCommittedStateAndCommits)
{
    ReceiptDirectory dir;
    dir.write({kOne});
    ChildProcess writer([&](ChildProcess& self) {
        sqlite3* db = openWriter(dir.tablePath());
        run(db, "BEGIN IMMEDIATE");
        run(db, "INSERT INTO 領収証記録 (施術日, 年, 月, 日, 保険料金合計, 一部負担金, 保険外料金, 合計金額)"
                " VALUES ('2005-03-02', 2005, 3, 2, 500, 150, 0, 650)");
        self.tell('R');
        self.await();
        self.tell(sqlite3_exec(db, "COMMIT", nullptr, nullptr, nullptr) == SQLITE_OK ? 'C' : 'F');
        sqlite3_close(db);
    });
    ASSERT_EQ(writer.receive(), 'R');
    ASSERT_GT(QFileInfo(dir.tablePath() + "-journal").size(), 0);
    Query query(engine, "Query1", QueryKind::Monthly);
    query.setDatabaseName(dir.path());
    query.open();
    EXPECT_EQ(readRows(query), QStringList{"2005|3|1|1000|300|0|1300"});
    EXPECT_EQ(query.lastLockMilliseconds(), 0.0);
    EXPECT_EQ(query.lastCopyTries(), 1);
    writer.tell('W');
    EXPECT_EQ(writer.receive(), 'C') << "the save failed";
    EXPECT_EQ(writer.wait(), 0);
}

} // namespace
} // namespace uriage::data::testing
