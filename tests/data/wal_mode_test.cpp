// WAL-mode table files. One that its writer closed cleanly holds every
// committed page itself: it reads without making a -wal or -shm file, with no
// lock where another program's locks can be seen, and under SQLite's shared
// lock where they cannot (Windows) or a writer kept the lock-free copy busy.
// One that a writer holds open reads its committed rows from the -wal file.
#include "receipt_fixture.h"

#include "data/snapshot/committed_copy.h"

#include <QElapsedTimer>

#include <chrono>
#include <optional>
#include <thread>

namespace uriage::data::testing {
namespace {

const Receipt kOne = {"'2005-03-01'", "2005", "3", "1", "1000", "300", "0", "1300"};
const char* kOneMonthly = "2005|3|1|1000|300|0|1300";

TEST_F(DataTest, CleanlyClosedWalFileReadsWithoutMakingAFile)
{
    ReceiptDirectory dir;
    dir.write({kOne}, QString::fromUtf8(kReceiptSchema), "PRAGMA journal_mode=WAL");
    ASSERT_FALSE(QFile::exists(dir.tablePath() + "-shm"));
    const auto before = dir.directoryState();

    Query query(engine, "Query1", QueryKind::Monthly);
    query.setDatabaseName(dir.path());
    query.open();
    EXPECT_EQ(readRows(query), QStringList{kOneMonthly});
    EXPECT_EQ(dir.directoryState(), before) << "no file made (-wal, -shm) or changed in the data directory";
#ifndef Q_OS_WIN
    EXPECT_EQ(query.lastLockMilliseconds(), 0.0) << "no lock taken";
    EXPECT_EQ(query.lastCopyTries(), 1);
#endif
}

// A receipt program with the table open in WAL mode, played by a connection
// of this process (on POSIX a second process plays it too): its committed
// receipt lies in the -wal file only, read through SQLite. In one process
// SQLite shares the writer's mapping of the -shm file with the reader, which
// notes its read mark there: the table and -wal files are compared.
TEST_F(DataTest, WalFileWithAnOpenWriterReadsItsCommittedRows)
{
    ReceiptDirectory dir;
    dir.write({kOne}, QString::fromUtf8(kReceiptSchema), "PRAGMA journal_mode=WAL");
    sqlite3* writer = nullptr;
    ASSERT_EQ(sqlite3_open(platform::pathBytes(dir.tablePath()).constData(), &writer), SQLITE_OK);
    execSql(writer, "PRAGMA wal_autocheckpoint=0");
    execSql(writer, insertSql({"'2005-03-02'", "2005", "3", "2", "500", "150", "0", "650"}));
    ASSERT_GT(QFileInfo(dir.tablePath() + "-wal").size(), 0);
    auto before = dir.directoryState();
    before.erase(QString::fromUtf8(kTableFile) + "-shm");

    EXPECT_EQ(openedIn(engine, dir.path(), QueryKind::Monthly), "2005|3|2|1500|450|0|1950");
    auto after = dir.directoryState();
    EXPECT_EQ(after.erase(QString::fromUtf8(kTableFile) + "-shm"), 1u);
    EXPECT_EQ(after, before) << "the table and -wal files as they were, no file made";
    sqlite3_close(writer);
}

constexpr int kNoWriter = 0;
constexpr int kUntilTheOpenEnds = -1;

// A WAL-mode writer closing its last connection, played by hand: it holds the
// file's EXCLUSIVE lock (to write its last pages back and remove its -wal
// file) for `milliseconds` after it took it, or (kUntilTheOpenEnds) until it goes.
class ClosingWriter {
public:
    ClosingWriter(const QString& tablePath, int milliseconds)
    {
        EXPECT_EQ(sqlite3_open_v2(platform::pathBytes(tablePath).constData(), &db_, SQLITE_OPEN_READWRITE, nullptr),
                  SQLITE_OK);
        EXPECT_EQ(sqlite3_file_control(db_, "main", SQLITE_FCNTL_FILE_POINTER, &file_), SQLITE_OK);
        for (const int lock : {SQLITE_LOCK_SHARED, SQLITE_LOCK_RESERVED, SQLITE_LOCK_EXCLUSIVE})
            EXPECT_EQ(file_->pMethods->xLock(file_, lock), SQLITE_OK) << lock;
        if (milliseconds != kUntilTheOpenEnds)
            releaser_ = std::thread([this, milliseconds] {
                std::this_thread::sleep_for(std::chrono::milliseconds(milliseconds));
                file_->pMethods->xUnlock(file_, SQLITE_LOCK_NONE);
            });
    }
    ~ClosingWriter()
    {
        if (releaser_.joinable())
            releaser_.join();
        else
            file_->pMethods->xUnlock(file_, SQLITE_LOCK_NONE);
        sqlite3_close(db_);
    }

private:
    sqlite3* db_ = nullptr;
    sqlite3_file* file_ = nullptr;
    std::thread releaser_;
};

struct ClosedWalCase {
    const char* name;
    int writerMilliseconds;   // how long a closing writer holds its lock
    QString message;          // empty: the rows are read
    int minimumWait;
    int maximumWait;
};

class ClosedWalUnderSharedLockTest : public DataTest, public ::testing::WithParamInterface<ClosedWalCase> {};

// With the lock-free copy off, as on a system that cannot see other programs'
// locks: the file is read under the shared lock, waiting for a closing writer
// at most the busy timeout, and nothing in the directory changes.
TEST_P(ClosedWalUnderSharedLockTest, ReadsOrReportsTheLockAndMakesNoFile)
{
    const ClosedWalCase& c = GetParam();
    ReceiptDirectory dir;
    dir.write({kOne}, QString::fromUtf8(kReceiptSchema), "PRAGMA journal_mode=WAL");
    const auto before = dir.directoryState();
    EngineOptions options;
    options.limits.copy.tries = 0;
    Engine underLock(std::move(options));
    QString got;
    QElapsedTimer clock;
    {
        std::optional<ClosingWriter> writer;
        if (c.writerMilliseconds != kNoWriter)
            writer.emplace(dir.tablePath(), c.writerMilliseconds);
        clock.start();
        got = openedIn(underLock, dir.path(), QueryKind::Monthly);
    }
    const qint64 waited = clock.elapsed();
    if (c.message.isEmpty())
        EXPECT_EQ(got, kOneMonthly);
    else
        EXPECT_EQ(got, c.message + dir.tablePath());
    EXPECT_GE(waited, c.minimumWait);
    EXPECT_LT(waited, c.maximumWait);
    EXPECT_EQ(dir.directoryState(), before) << "no file made or changed";
}

INSTANTIATE_TEST_SUITE_P(
    Writers, ClosedWalUnderSharedLockTest,
    ::testing::Values(ClosedWalCase{"NoWriter", kNoWriter, {}, 0, 1000},
                      ClosedWalCase{"ClosingWriterEndsWithinTheWait", 400, {}, 300, 1800},
                      ClosedWalCase{"ClosingWriterHoldsPastTheWait", kUntilTheOpenEnds,
                                    "テーブルは他のプログラムによってロックされています\nファイル: ", 1800, 3500}),
    [](const auto& info) { return std::string(info.param.name); });

} // namespace
} // namespace uriage::data::testing
