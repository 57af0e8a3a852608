// A receipt program's writer on a rollback-mode table file, played by a
// connection of this process, so that it runs on every system (on POSIX the
// second-process tests play it in another process too). Holding its exclusive
// lock on its own thread: the open waits for it at most the busy timeout,
// reads the state it committed meanwhile, or names the file. Crashed in the
// middle of a transaction: its journal is reported and left alone.
#include "receipt_fixture.h"

#include <QElapsedTimer>

#include <chrono>
#include <future>
#include <thread>

namespace uriage::data::testing {
namespace {

const Receipt kOne = {"'2005-03-01'", "2005", "3", "1", "1000", "300", "0", "1300"};

struct HeldLockCase {
    const char* name;
    int holdMilliseconds;
    bool commit;
    QString message;   // followed by the table file's path; empty: the rows are read
    QString rows;
    int minimumWait;
    int maximumWait;
};

class WriterThreadTest : public DataTest, public ::testing::WithParamInterface<HeldLockCase> {};

TEST_P(WriterThreadTest, WaitsBoundedForTheExclusiveLock)
{
    const HeldLockCase& c = GetParam();
    ReceiptDirectory dir;
    dir.write({kOne});
    const auto before = dir.fingerprint();
    std::promise<bool> locked;
    std::thread writer([&] {
        sqlite3* db = nullptr;
        const bool open = sqlite3_open(platform::pathBytes(dir.tablePath()).constData(), &db) == SQLITE_OK;
        const bool holds = open && sqlite3_exec(db, "BEGIN EXCLUSIVE", nullptr, nullptr, nullptr) == SQLITE_OK;
        execSql(db, insertSql({"'2005-03-02'", "2005", "3", "2", "500", "150", "0", "650"}));
        locked.set_value(holds);
        std::this_thread::sleep_for(std::chrono::milliseconds(c.holdMilliseconds));
        execSql(db, c.commit ? "COMMIT" : "ROLLBACK");
        sqlite3_close(db);
    });
    const bool holds = locked.get_future().get();
    QString got;
    QElapsedTimer clock;
    clock.start();
    if (holds)
        got = openedIn(engine, dir.path(), QueryKind::Monthly);
    const qint64 waited = clock.elapsed();
    writer.join();
    ASSERT_TRUE(holds) << "the writer took no exclusive lock";
    EXPECT_EQ(got, c.message.isEmpty() ? c.rows : c.message + dir.tablePath());
    EXPECT_GE(waited, c.minimumWait);
    EXPECT_LT(waited, c.maximumWait);
    if (!c.commit) {
        EXPECT_EQ(dir.fingerprint(), before) << "the table file as it was";
    }
}

INSTANTIATE_TEST_SUITE_P(
    Writers, WriterThreadTest,
    ::testing::Values(HeldLockCase{"CommitsWithinTheWait", 600, true, {}, "2005|3|2|1500|450|0|1950", 500, 1800},
                      HeldLockCase{"HoldsLongerThanTheWait", 3500, false,
                                   "テーブルは他のプログラムによってロックされています\nファイル: ", {}, 1800, 3000}),
    [](const auto& info) { return std::string(info.param.name); });

// The files as a writer that crashed in its transaction leaves them: copied
// while a writer of this process is in the middle of one, its changed pages
// already in the table file (a small cache spills them), its journal hot.
TEST_F(DataTest, CrashedWritersCopiedJournalIsReportedAndLeftAlone)
{
    ReceiptDirectory live;
    live.write({kOne});
    sqlite3* db = nullptr;
    ASSERT_EQ(sqlite3_open(platform::pathBytes(live.tablePath()).constData(), &db), SQLITE_OK);
    execSql(db, "PRAGMA cache_size=2");
    execSql(db, "BEGIN");
    for (int i = 0; i < 300; ++i)
        execSql(db, insertSql({"'2005-03-02'", "2005", "3", "2", "500", "150", "0", "650"}));
    ReceiptDirectory crashed;
    for (const QString suffix : {"", "-journal"})
        ASSERT_TRUE(QFile::copy(live.tablePath() + suffix, crashed.tablePath() + suffix)) << suffix.toStdString();
    execSql(db, "ROLLBACK");
    sqlite3_close(db);
    const auto before = crashed.fingerprint();

    EXPECT_EQ(openedIn(engine, crashed.path(), QueryKind::Daily),
              "テーブルファイルに書き込み途中で中断された記録が残っています。領収証のプログラムを一度起動して終了してから、"
              "もう一度実行してください\nファイル: " + crashed.tablePath());
    EXPECT_EQ(crashed.fingerprint(), before);
}

} // namespace
} // namespace uriage::data::testing
