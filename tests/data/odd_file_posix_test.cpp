// Odd files in the data directory, opened in a second process that an alarm
// ends should the open hang: pipes, directories and devices in the table's
// place or its journal's, a sparse gigabyte after the last page, and WAL-mode
// files as a receipt program leaves them, read as this user and as another.
#include "process_helpers.h"
#include "receipt_fixture.h"

#include "data/snapshot/committed_copy.h"

#include <QElapsedTimer>
#include <QString>
#include <sys/resource.h>
#include <sys/stat.h>

namespace uriage::data::testing {
namespace {

// ---- Files in odd places --------------------------------------------------

const Receipt kOne = {"'2005-03-01'", "2005", "3", "1", "1000", "300", "0", "1300"};
const char* kOneMonthly = "2005|3|1|1000|300|0|1300";

// The same in a second process (as the user nobody when asked), which an
// alarm ends should the open hang: its text is then empty.
QString openedInChild(const QString& directory, QueryKind kind, bool asNobody, bool* skipped)
{
    *skipped = false;
    if (asNobody) {
        return runAsNobody(
            [&] {
                alarm(20);
                Engine engine;
                return openedIn(engine, directory, kind);
            },
            skipped);
    }
    ChildProcess child([&](ChildProcess& self) {
        alarm(20);
        Engine engine;
        self.send(openedIn(engine, directory, kind).toUtf8());
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

// ---- Bounds in memory -----------------------------------------------------

class MemoryBoundsTest : public DataTest {};

// A gigabyte after the last page (a sparse file: no disk is used) is neither
// read nor given room, with or without the lock.
TEST_F(MemoryBoundsTest, BytesAfterTheLastPageCostNothing)
{
    ReceiptDirectory dir;
    dir.write({kOne});
    QFile file(dir.tablePath());
    ASSERT_TRUE(file.resize(file.size() + (qint64(1) << 30)));
    const auto before = dir.directoryState();
    for (const bool underLock : {false, true}) {
        SCOPED_TRACE(underLock ? "under the shared lock" : "without a lock");
        ChildProcess child([&](ChildProcess& self) {
            alarm(20);
            EngineOptions options;
            if (underLock)
                options.limits.copy.tries = 0;
            Engine engine(std::move(options));
            rusage start {};
            getrusage(RUSAGE_SELF, &start);
            QElapsedTimer clock;
            clock.start();
            const QString rows = openedIn(engine, dir.path(), QueryKind::Monthly);
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
