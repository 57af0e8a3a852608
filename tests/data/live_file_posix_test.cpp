// Reading a table file that another program writes, played by a forked second
// process: a writer's exclusive lock, a commit within the wait, a crashed
// writer's journal, a WAL-mode writer still at work, and directories or files
// this user may not read. The file is never changed.
#include "process_helpers.h"
#include "receipt_fixture.h"

#include <QElapsedTimer>
#include <sys/stat.h>

namespace uriage::data::testing {
namespace {

const Receipt kOne = {"'2005-03-01'", "2005", "3", "1", "1000", "300", "0", "1300"};
const char* kInsertSecond =
    "INSERT INTO 領収証記録 (施術日, 年, 月, 日, 保険料金合計, 一部負担金, 保険外料金, 合計金額)"
    " VALUES ('2005-03-02', 2005, 3, 2, 500, 150, 0, 650)";

QString openMessage(Query& query) { return failureOf([&] { query.open(); }); }

struct WriterCase {
    const char* name;
    int holdMilliseconds;
    bool commit;
    QString message;        // empty: the open succeeds
    QStringList rows;
};

class ExclusiveWriterTest : public DataTest, public ::testing::WithParamInterface<WriterCase> {};

TEST_P(ExclusiveWriterTest, WaitsBoundedForTheWriter)
{
    const WriterCase& c = GetParam();
    ReceiptDirectory dir;
    dir.write({kOne});
    const auto before = dir.fingerprint();

    ChildProcess writer([&](ChildProcess& self) {
        sqlite3* db = openWriter(dir.tablePath());
        run(db, "BEGIN EXCLUSIVE");
        run(db, kInsertSecond);
        self.tell('L');
        usleep(c.holdMilliseconds * 1000);
        run(db, c.commit ? "COMMIT" : "ROLLBACK");
        sqlite3_close(db);
    });
    ASSERT_TRUE(writer.started());
    ASSERT_EQ(writer.receive(), 'L');

    Query query(engine, "Query1", QueryKind::Monthly);
    query.setDatabaseName(dir.path());
    QElapsedTimer timer;
    timer.start();
    const QString message = openMessage(query);
    const qint64 waited = timer.elapsed();
    if (c.message.isEmpty())
        EXPECT_EQ(message, "");
    else
        EXPECT_TRUE(message.startsWith(c.message)) << message.toStdString();
    EXPECT_EQ(readRows(query), c.rows);
    EXPECT_EQ(writer.wait(), 0);
    if (!c.message.isEmpty()) {
        EXPECT_GE(waited, 1800);
        EXPECT_LT(waited, 3000);
        EXPECT_EQ(dir.fingerprint(), before);
    } else {
        EXPECT_GE(waited, c.holdMilliseconds - 100);
        // The figure counts the lock held for the copy, not the wait for it.
        EXPECT_LT(query.lastLockMilliseconds(), 300.0);
        EXPECT_EQ(query.lastCopyTries(), 0) << "the writer's lock was seen before any copy";
    }
}

INSTANTIATE_TEST_SUITE_P(
    Writers, ExclusiveWriterTest,
    ::testing::Values(WriterCase{"HoldsLongerThanTheWait", 3500, false,
                                 "テーブルは他のプログラムによってロックされています\nファイル: ", {}},
                      WriterCase{"CommitsWithinTheWait", 600, true, "", {"2005|3|2|1500|450|0|1950"}}),
    [](const auto& info) { return std::string(info.param.name); });

// The locked message names the file; the parameter holds only its start.
TEST_F(DataTest, LockedMessageNamesTheFile)
{
    ReceiptDirectory dir;
    dir.write({kOne});
    ChildProcess writer([&](ChildProcess& self) {
        sqlite3* db = openWriter(dir.tablePath());
        run(db, "BEGIN EXCLUSIVE");
        run(db, kInsertSecond);
        self.tell('L');
        self.await();
        run(db, "ROLLBACK");
    });
    ASSERT_EQ(writer.receive(), 'L');
    Query query(engine, "Query1", QueryKind::Daily);
    query.setDatabaseName(dir.path());
    EXPECT_EQ(openMessage(query), "テーブルは他のプログラムによってロックされています\nファイル: " + dir.tablePath());
    writer.tell('X');
}

TEST_F(DataTest, CrashedWritersJournalIsReportedAndLeftAlone)
{
    ReceiptDirectory dir;
    dir.write({kOne});
    ChildProcess writer([&](ChildProcess&) {
        sqlite3* db = openWriter(dir.tablePath());
        run(db, "PRAGMA cache_size=2");
        run(db, "BEGIN");
        for (int i = 0; i < 300; ++i)
            run(db, kInsertSecond);
        _exit(0);   // a crash: the journal stays, hot
    });
    writer.wait();
    ASSERT_TRUE(QFile::exists(dir.tablePath() + "-journal"));
    const auto before = dir.fingerprint();

    Query query(engine, "Query1", QueryKind::Daily);
    query.setDatabaseName(dir.path());
    EXPECT_EQ(openMessage(query),
              "テーブルファイルに書き込み途中で中断された記録が残っています。領収証のプログラムを一度起動して終了してから、"
              "もう一度実行してください\nファイル: " + dir.tablePath());
    EXPECT_EQ(dir.fingerprint(), before);

    // Once the receipt program has rolled it back, the committed rows read.
    sqlite3* db = nullptr;
    ASSERT_EQ(sqlite3_open(QFile::encodeName(dir.tablePath()).constData(), &db), SQLITE_OK);
    execSql(db, "SELECT COUNT(*) FROM 領収証記録");
    sqlite3_close(db);
    query.open();
    EXPECT_EQ(readRows(query), QStringList{"2005/03/01|2005|3|1|1|1000|300|0|1300"});
}

TEST_F(DataTest, WalFileWithALiveWriterReadsItsCommittedRows)
{
    ReceiptDirectory dir;
    dir.write({kOne}, QString::fromUtf8(kReceiptSchema), "PRAGMA journal_mode=WAL");
    ChildProcess writer([&](ChildProcess& self) {
        sqlite3* db = openWriter(dir.tablePath());
        run(db, "PRAGMA wal_autocheckpoint=0");
        run(db, kInsertSecond);   // committed into the -wal file only
        self.tell('W');
        self.await();
        sqlite3_close(db);
    });
    ASSERT_EQ(writer.receive(), 'W');
    QFile main(dir.tablePath());
    ASSERT_TRUE(main.open(QIODevice::ReadOnly));
    const QByteArray mainBefore = main.readAll();
    main.close();

    Query query(engine, "Query1", QueryKind::Monthly);
    query.setDatabaseName(dir.path());
    query.open();
    EXPECT_EQ(readRows(query), QStringList{"2005|3|2|1500|450|0|1950"});
    ASSERT_TRUE(main.open(QIODevice::ReadOnly));
    EXPECT_EQ(main.readAll(), mainBefore);
    writer.tell('X');
}

// Runs an open of the monthly query on `directory` as the user nobody.
QString openAsNobody(const QString& directory, bool* skipped)
{
    return runAsNobody(
        [&] {
            Engine engine;
            Query query(engine, "Query1", QueryKind::Monthly);
            query.setDatabaseName(directory);
            const QString message = failureOf([&] { query.open(); });
            return message.isEmpty() ? readRows(query).join('\n') : message;
        },
        skipped);
}

struct PermissionCase {
    const char* name;
    mode_t directoryMode;
    mode_t fileMode;
    bool wal;
    QString message;   // "%d" stands for the directory, "%f" for the table file
};

class UnprivilegedReaderTest : public DataTest, public ::testing::WithParamInterface<PermissionCase> {};

TEST_P(UnprivilegedReaderTest, GetsItsOwnMessageAndChangesNothing)
{
    const PermissionCase& c = GetParam();
    ReceiptDirectory dir;
    if (c.wal)
        dir.write({kOne}, QString::fromUtf8(kReceiptSchema), "PRAGMA journal_mode=WAL");
    else
        dir.write({kOne});
    const auto before = dir.fingerprint();
    ASSERT_EQ(chmod(QFile::encodeName(dir.tablePath()).constData(), c.fileMode), 0);
    ASSERT_EQ(chmod(QFile::encodeName(dir.path()).constData(), c.directoryMode), 0);

    bool skipped = false;
    const QString got = openAsNobody(dir.path(), &skipped);
    chmod(QFile::encodeName(dir.path()).constData(), 0700);
    chmod(QFile::encodeName(dir.tablePath()).constData(), 0644);
    if (skipped)
        GTEST_SKIP() << "changing to the user nobody needs root";
    QString expected = c.message;
    expected.replace("%d", dir.path()).replace("%f", dir.tablePath());
    EXPECT_EQ(got, expected);
    EXPECT_EQ(dir.fingerprint(), before) << "no file made or changed in the data directory";
}

INSTANTIATE_TEST_SUITE_P(
    Permissions, UnprivilegedReaderTest,
    ::testing::Values(
        PermissionCase{"Readable", 0755, 0644, false, "2005|3|1|1000|300|0|1300"},
        PermissionCase{"DirectoryNotReadable", 0700, 0644, false, "アクセス権がありません\nディレクトリ: %d"},
        PermissionCase{"FileNotReadable", 0755, 0600, false, "アクセス権がありません\nファイル: %f"},
        // Cleanly closed: every page lies in the table file, read without a -wal or -shm file.
        PermissionCase{"WalWithoutWalOrSharedMemoryFile", 0755, 0644, true, "2005|3|1|1000|300|0|1300"}),
    [](const auto& info) { return std::string(info.param.name); });

} // namespace
} // namespace uriage::data::testing
