// Odd contents and odd files in the data directory: each gets its own clear
// message (or reads correctly), never a wrong total, a hang or a changed file.
#include "process_helpers.h"
#include "receipt_fixture.h"

#include "data/snapshot/committed_copy.h"
#include "data/statement/column_reading.h"
#include "data/statement/work_database.h"

#include <QElapsedTimer>
#include <QString>
#include <sys/resource.h>
#include <sys/stat.h>

namespace uriage::data::testing {
namespace {

QString openMessage(Query& query) { return failureOf([&] { query.open(); }); }

// ---- Amounts that are no numbers ------------------------------------------

struct AmountCase {
    int column;              // 0 保険料金合計, 1 一部負担金, 2 保険外料金, 3 合計金額
    const char* literal;     // as written into the table
    const char* shown;       // as the message shows it
    const char* declared;    // the amount columns' declared type
    QueryKind kind;
};

std::vector<AmountCase> amountCases()
{
    const struct {
        const char* literal;
        const char* shown;
    } values[] = {
        {"'1,500'", "'1,500'"},          // SQLite's SUM would count it as 1
        {"'１５００'", "'１５００'"},    // full-width digits: as 0
        {"X'0105'", "X'0105'"},          // a byte string: as 0
        {"''", "''"},
    };
    std::vector<AmountCase> cases;
    for (int column = 0; column < 4; ++column)
        for (const auto& v : values)
            for (const char* declared : {"MONEY", "INTEGER", "REAL", ""})
                cases.push_back({column, v.literal, v.shown, declared,
                                 (column + int(cases.size())) % 2 ? QueryKind::Daily : QueryKind::Monthly});
    return cases;
}

class NonAmountTest : public DataTest, public ::testing::WithParamInterface<AmountCase> {};

TEST_P(NonAmountTest, FailsNamingTheColumnAndTheValue)
{
    const AmountCase& c = GetParam();
    ReceiptDirectory dir;
    const QString type = QString::fromUtf8(c.declared);
    dir.write({}, QStringLiteral("CREATE TABLE 領収証記録 (施術日 DATE, 年 SMALLINT, 月 SMALLINT, 日 SMALLINT,"
                                 " 保険料金合計 %1, 一部負担金 %1, 保険外料金 %1, 合計金額 %1)")
                      .arg(type));
    Receipt good = {"'2005-03-01'", "2005", "3", "1", "3000", "900", "500", "1400"};
    Receipt bad = good;
    bad[std::size_t(4 + c.column)] = c.literal;
    // The odd value lies between good rows of the same day.
    dir.add(good);
    dir.add(bad);
    dir.add(good);
    const auto before = dir.fingerprint();

    Query query("Query1", c.kind);
    query.setDatabaseName(dir.path());
    EXPECT_EQ(openMessage(query), QStringLiteral("列の値がその型として読めません\n列: %1\n値: %2")
                                      .arg(QString::fromUtf8(kSummedColumns[c.column]), QString::fromUtf8(c.shown)));
    EXPECT_EQ(query.state(), DataSetState::Inactive);
    EXPECT_EQ(dir.fingerprint(), before);
}

std::string amountCaseName(const ::testing::TestParamInfo<AmountCase>& info)
{
    const AmountCase& c = info.param;
    const char* values[] = {"Comma", "FullWidth", "Blob", "Empty"};
    const std::string declared = *c.declared ? c.declared : "Untyped";
    return "Column" + std::to_string(c.column) + values[info.index / 4 % 4] + declared;
}

INSTANTIATE_TEST_SUITE_P(Amounts, NonAmountTest, ::testing::ValuesIn(amountCases()), amountCaseName);

// ---- Files in odd places --------------------------------------------------

const Receipt kOne = {"'2005-03-01'", "2005", "3", "1", "1000", "300", "0", "1300"};
const char* kOneMonthly = "2005|3|1|1000|300|0|1300";

// The open's rows ("v|v|...", one a line) or its message.
QString openedIn(const QString& directory, QueryKind kind)
{
    Query query("Query1", kind);
    query.setDatabaseName(directory);
    const QString message = failureOf([&] { query.open(); });
    return message.isEmpty() ? readRows(query).join(QChar('\n')) : message;
}

// The same in a second process (as the user nobody when asked), which an
// alarm ends should the open hang: its text is then empty.
QString openedInChild(const QString& directory, QueryKind kind, bool asNobody, bool* skipped)
{
    *skipped = false;
    if (asNobody) {
        return runAsNobody(
            [&] {
                alarm(20);
                return openedIn(directory, kind);
            },
            skipped);
    }
    ChildProcess child([&](ChildProcess& self) {
        alarm(20);
        self.send(openedIn(directory, kind).toUtf8());
    });
    const QByteArray text = child.receiveAll();
    child.wait();
    return QString::fromUtf8(text);
}

enum class Oddity { Pipe, Directory, Device };

struct PlacedCase {
    const char* name;
    const char* suffix;   // "" for the table file itself
    Oddity what;
};

// A pipe, a directory or a character device (a link to /dev/null, which any
// user may make) at `path`.
bool place(Oddity what, const QString& path)
{
    const QByteArray native = QFile::encodeName(path);
    switch (what) {
    case Oddity::Pipe:
        return mkfifo(native.constData(), 0644) == 0;
    case Oddity::Directory:
        return QDir().mkdir(path);
    case Oddity::Device:
        return QFile::link(QStringLiteral("/dev/null"), path);
    }
    return false;
}

std::vector<PlacedCase> placedCases()
{
    std::vector<PlacedCase> cases;
    const struct {
        const char* name;
        const char* suffix;
    } names[] = {{"Table", ""}, {"Journal", "-journal"}, {"Wal", "-wal"}, {"Shm", "-shm"}};
    const struct {
        const char* name;
        Oddity what;
    } kinds[] = {{"Pipe", Oddity::Pipe}, {"Directory", Oddity::Directory}, {"Device", Oddity::Device}};
    for (const auto& n : names)
        for (const auto& k : kinds)
            cases.push_back({k.name, n.suffix, k.what});
    return cases;
}

class PlacedFileTest : public DataTest, public ::testing::WithParamInterface<PlacedCase> {};

TEST_P(PlacedFileTest, GetsAMessageAndNeverWaits)
{
    const PlacedCase& c = GetParam();
    const QString suffix = QString::fromLatin1(c.suffix);
    for (const bool wal : {false, true}) {
        SCOPED_TRACE(wal ? "WAL mode" : "rollback mode");
        ReceiptDirectory dir;
        if (!suffix.isEmpty())
            dir.write({kOne}, QString::fromUtf8(kReceiptSchema), wal ? "PRAGMA journal_mode=WAL" : "");
        ASSERT_TRUE(place(c.what, dir.tablePath() + suffix));
        const auto before = dir.directoryState();
        bool skipped = false;
        QElapsedTimer clock;
        clock.start();
        const QString got = openedInChild(dir.path(), QueryKind::Monthly, false, &skipped);
        EXPECT_LT(clock.elapsed(), 5000);
        const QString expected = suffix.isEmpty()
                                     ? "テーブルファイルがデータベースではないか、壊れています\nファイル: " + dir.tablePath()
                                     : "データディレクトリに通常のファイルでないものがあります\nファイル: " + dir.tablePath() + suffix;
        EXPECT_EQ(got, expected);
        EXPECT_EQ(dir.directoryState(), before);
        if (suffix.isEmpty())
            break;   // no journal mode without a table file
    }
}

std::string placedCaseName(const ::testing::TestParamInfo<PlacedCase>& info)
{
    const char* where[] = {"TableFile", "Journal", "Wal", "Shm"};
    return std::string(info.param.name) + "At" + where[info.index / 3];
}

INSTANTIATE_TEST_SUITE_P(Places, PlacedFileTest, ::testing::ValuesIn(placedCases()), placedCaseName);

// ---- Something else under the table's name --------------------------------

struct SchemaCase {
    const char* name;
    const char* schema;
};

const SchemaCase kSchemaCases[] = {
    {"View", "CREATE TABLE 原本 (施術日 DATE, 年 SMALLINT, 月 SMALLINT, 日 SMALLINT, 保険料金合計 MONEY, 一部負担金 MONEY,"
             " 保険外料金 MONEY, 合計金額 MONEY); CREATE VIEW 領収証記録 AS SELECT * FROM 原本"},
    {"RecursiveView", "CREATE VIEW 領収証記録 AS WITH RECURSIVE n(i) AS (SELECT 1 UNION ALL SELECT i + 1 FROM n)"
                      " SELECT '2005-03-01' AS 施術日, 2005 AS 年, 3 AS 月, 1 AS 日, i AS 保険料金合計, 0 AS 一部負担金,"
                      " 0 AS 保険外料金, i AS 合計金額 FROM n"},
    {"Index", "CREATE TABLE 原本 (年 SMALLINT); CREATE INDEX 領収証記録 ON 原本 (年)"},
};

class NotATableTest : public DataTest, public ::testing::WithParamInterface<SchemaCase> {};

TEST_P(NotATableTest, IsRefusedWithAMessage)
{
    ReceiptDirectory dir;
    dir.write({}, QString::fromUtf8(GetParam().schema));
    const auto before = dir.directoryState();
    for (const QueryKind kind : {QueryKind::Daily, QueryKind::Monthly})
        EXPECT_EQ(openedIn(dir.path(), kind), "テーブルではありません\nテーブル: 領収証記録\nファイル: " + dir.tablePath());
    EXPECT_EQ(dir.directoryState(), before);
}

INSTANTIATE_TEST_SUITE_P(Schemas, NotATableTest, ::testing::ValuesIn(kSchemaCases),
                         [](const auto& info) { return std::string(info.param.name); });

// ---- Bounds in time and memory --------------------------------------------

class BoundsTest : public DataTest {
protected:
    void TearDown() override
    {
        setStatementTimeLimit(0);
        setLockFreeTries(-1);
        DataTest::TearDown();
    }
};

TEST_F(BoundsTest, StatementPastItsTimeLimitEndsWithAMessage)
{
    ReceiptDirectory dir;
    dir.write({}, QString::fromUtf8(kReceiptSchema));
    sqlite3* db = nullptr;
    ASSERT_EQ(sqlite3_open(QFile::encodeName(dir.tablePath()).constData(), &db), SQLITE_OK);
    execSql(db, "WITH RECURSIVE n(i) AS (SELECT 1 UNION ALL SELECT i + 1 FROM n WHERE i < 300000)"
                " INSERT INTO 領収証記録 (施術日, 年, 月, 日, 保険料金合計, 一部負担金, 保険外料金, 合計金額)"
                " SELECT '2005-03-01', 2005, 3, 1, i, 0, 0, i FROM n");
    sqlite3_close(db);
    setStatementTimeLimit(2);
    EXPECT_EQ(openedIn(dir.path(), QueryKind::Daily), "テーブルの読み取りが時間の上限を超えたため中止しました");
    setStatementTimeLimit(0);
    EXPECT_EQ(openedIn(dir.path(), QueryKind::Monthly), "2005|3|300000|45000150000|0|0|45000150000");
}

// A gigabyte after the last page (a sparse file: no disk is used) is neither
// read nor given room, with or without the lock.
TEST_F(BoundsTest, BytesAfterTheLastPageCostNothing)
{
    ReceiptDirectory dir;
    dir.write({kOne});
    QFile file(dir.tablePath());
    ASSERT_TRUE(file.resize(file.size() + (qint64(1) << 30)));
    const auto before = dir.directoryState();
    for (const int tries : {-1, 0}) {
        SCOPED_TRACE(tries == 0 ? "under the shared lock" : "without a lock");
        ChildProcess child([&](ChildProcess& self) {
            alarm(20);
            setLockFreeTries(tries);
            rusage start {};
            getrusage(RUSAGE_SELF, &start);
            QElapsedTimer clock;
            clock.start();
            const QString rows = openedIn(dir.path(), QueryKind::Monthly);
            const qint64 took = clock.elapsed();
            rusage end {};
            getrusage(RUSAGE_SELF, &end);
            self.send(QStringLiteral("%1\n%2\n%3").arg(rows).arg(took).arg((end.ru_maxrss - start.ru_maxrss) / 1024).toUtf8());
        });
        const QStringList parts = QString::fromUtf8(child.receiveAll()).split(QChar('\n'));
        child.wait();
        ASSERT_EQ(parts.size(), 3) << parts.join(' ').toStdString();
        EXPECT_EQ(parts[0], kOneMonthly);
        EXPECT_LT(parts[1].toInt(), 1000) << "milliseconds";
        EXPECT_LT(parts[2].toInt(), 64) << "megabytes more at the peak";
    }
    EXPECT_EQ(dir.directoryState(), before);
}

// ---- WAL-mode files, as left by a receipt program ------------------------

enum class WalFile { None, Empty, Frames };

struct WalCase {
    const char* name;
    WalFile wal;
    bool shm;
    bool asNobody;
};

std::vector<WalCase> walCases()
{
    std::vector<WalCase> cases;
    const struct {
        const char* name;
        WalFile wal;
    } wals[] = {{"NoWal", WalFile::None}, {"EmptyWal", WalFile::Empty}, {"WalWithFrames", WalFile::Frames}};
    for (const auto& w : wals)
        for (const bool shm : {true, false})
            for (const bool nobody : {false, true})
                cases.push_back({w.name, w.wal, shm, nobody});
    return cases;
}

// Leaves the table in WAL mode as the case wants it: a writer that ended
// without closing leaves its -wal file with a committed second receipt, and
// its -shm file.
void prepareWal(ReceiptDirectory& dir, const WalCase& c)
{
    dir.write({kOne}, QString::fromUtf8(kReceiptSchema), "PRAGMA journal_mode=WAL");
    const QString wal = dir.tablePath() + "-wal";
    const QString shm = dir.tablePath() + "-shm";
    if (c.wal == WalFile::Frames) {
        ChildProcess writer([&](ChildProcess&) {
            sqlite3* db = openWriter(dir.tablePath());
            run(db, "PRAGMA wal_autocheckpoint=0");
            run(db, "INSERT INTO 領収証記録 (施術日, 年, 月, 日, 保険料金合計, 一部負担金, 保険外料金, 合計金額)"
                    " VALUES ('2005-03-02', 2005, 3, 2, 500, 150, 0, 650)");
            _exit(0);
        });
        writer.wait();
        ASSERT_GT(QFileInfo(wal).size(), 0);
        if (!c.shm) {
            ASSERT_TRUE(QFile::remove(shm));
        }
        return;
    }
    if (c.wal == WalFile::Empty) {
        QFile f(wal);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    }
    if (c.shm) {
        QFile f(shm);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(QByteArray(32768, '\0'));
    }
}

class WalFileTest : public DataTest, public ::testing::WithParamInterface<WalCase> {};

TEST_P(WalFileTest, ReadsWithoutMakingOrChangingAFile)
{
    const WalCase& c = GetParam();
    ReceiptDirectory dir;
    prepareWal(dir, c);
    chmod(QFile::encodeName(dir.path()).constData(), 0755);
    const auto before = dir.directoryState();
    bool skipped = false;
    const QString got = openedInChild(dir.path(), QueryKind::Monthly, c.asNobody, &skipped);
    chmod(QFile::encodeName(dir.path()).constData(), 0700);
    if (skipped)
        GTEST_SKIP() << "changing to the user nobody needs root";
    QString expected;
    if (c.wal != WalFile::Frames)
        expected = kOneMonthly;
    else if (c.shm)
        expected = "2005|3|2|1500|450|0|1950";
    else
        expected = "WAL 形式のテーブルファイルの共有メモリファイル (-shm) がなく、作成もできません。"
                   "領収証のプログラムを一度起動してから、もう一度実行してください\nファイル: "
                   + dir.tablePath() + "\nファイル: " + dir.tablePath() + "-shm";
    EXPECT_EQ(got, expected);
    EXPECT_EQ(dir.directoryState(), before) << "entries, sizes, modes and times as they were";
}

std::string walCaseName(const ::testing::TestParamInfo<WalCase>& info)
{
    return std::string(info.param.name) + (info.param.shm ? "WithShm" : "WithoutShm")
           + (info.param.asNobody ? "AsOtherUser" : "AsOwner");
}

INSTANTIATE_TEST_SUITE_P(WalFiles, WalFileTest, ::testing::ValuesIn(walCases()), walCaseName);

} // namespace
} // namespace uriage::data::testing
