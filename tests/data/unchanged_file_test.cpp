// A press on a table nobody saved to since the last one shows the kept rows;
// anything that may have changed the file's committed state reads it afresh,
// and a failure shows as a fresh read shows it.
#include "receipt_fixture.h"

#include "data/snapshot/unchanged_file.h"

#include <cstring>

namespace uriage::data::testing {
namespace {

constexpr long long kSecond = 1'000'000'000LL;
const platform::FileIdentity kFile{7, 42};

std::array<unsigned char, 100> header(bool wal = false, unsigned char counter = 1)
{
    std::array<unsigned char, 100> bytes{};
    std::memcpy(bytes.data(), "SQLite format 3", 16);
    bytes[16] = 0x10;   // 4096-byte pages
    bytes[18] = bytes[19] = wal ? 2 : 1;
    bytes[27] = counter;
    return bytes;
}

class StillFile : public CopySource {
public:
    bool readAt(long long offset, unsigned char* into, std::size_t n) override
    {
        std::memcpy(into, bytes.data() + offset, n);
        return true;
    }
    LockTest writerLock() override { return lock; }
    bool journalInUse() override { return journal; }
    bool walInUse() override { return wal; }
    FileStamp stamp() override { return fileStamp; }

    std::array<unsigned char, 100> bytes = header();
    LockTest lock = LockTest::Free;
    bool journal = false;
    bool wal = false;
    FileStamp fileStamp{4096, 100 * kSecond};
    platform::FileIdentity identity = kFile;
};

TEST(UnchangedFileTest, CopyProvesOnlyASettledRollbackFile)
{
    const struct {
        const char* name;
        CopyOutcome outcome;
        bool wal;
        platform::FileIdentity identity;
        long long now;
        bool proves;
    } cases[] = {
        {"settled", CopyOutcome::Copied, false, kFile, 102 * kSecond, true},
        {"written under two seconds ago", CopyOutcome::Copied, false, kFile, 102 * kSecond - 1, false},
        {"WAL mode", CopyOutcome::Copied, true, kFile, 200 * kSecond, false},
        {"identity unknown", CopyOutcome::Copied, false, {}, 200 * kSecond, false},
        {"not copied", CopyOutcome::Busy, false, kFile, 200 * kSecond, false},
    };
    for (const auto& c : cases) {
        CommittedCopy copy{c.outcome, 1, 4096, FileStamp{4096, 100 * kSecond}, header(c.wal)};
        EXPECT_EQ(proofOfCopy(c.identity, copy, c.now).has_value(), c.proves) << c.name;
    }
}

TEST(UnchangedFileTest, AnySignOfAWriterOrChangeReadsAfresh)
{
    const FileProof proof{kFile, FileStamp{4096, 100 * kSecond}, header()};
    const struct {
        const char* name;
        void (*change)(StillFile&);
        bool unchanged;
    } cases[] = {
        {"nothing", [](StillFile&) {}, true},
        {"locks not testable, no journal", [](StillFile& f) { f.lock = LockTest::Untested; }, true},
        {"another file", [](StillFile& f) { f.identity.file = 43; }, false},
        {"size", [](StillFile& f) { f.fileStamp.size += 1024; }, false},
        {"time", [](StillFile& f) { f.fileStamp.modifiedNanoseconds += 1; }, false},
        {"change counter", [](StillFile& f) { f.bytes = header(false, 2); }, false},
        {"writer's lock", [](StillFile& f) { f.lock = LockTest::Held; }, false},
        {"reserved", [](StillFile& f) { f.lock = LockTest::Reserved; }, false},
        {"locks unknown", [](StillFile& f) { f.lock = LockTest::Unknown; }, false},
        {"journal", [](StillFile& f) { f.journal = true; }, false},
        {"WAL frames", [](StillFile& f) { f.wal = true; }, false},
    };
    for (const auto& c : cases) {
        StillFile file;
        c.change(file);
        EXPECT_EQ(stillUnchanged(file, file.identity, proof), c.unchanged) << c.name;
    }
}

// The table file last written an hour ago, as a receipt table is between saves.
void settle(const QString& path)
{
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::ReadWrite));
    ASSERT_TRUE(file.setFileTime(QDateTime::currentDateTimeUtc().addSecs(-3600), QFileDevice::FileModificationTime));
}

TEST_F(DataTest, UnchangedTableShowsTheKeptRowsAndAnyChangeReadsAfresh)
{
    ReceiptDirectory dir;
    dir.write({{"'2005-03-01'", "2005", "3", "1", "1000", "300", "0", "1300"}});
    settle(dir.tablePath());
    Query query(engine, "Query1", QueryKind::Monthly);
    query.setDatabaseName(dir.path());
    const auto press = [&query] {
        query.close();
        const QString message = failureOf([&] { query.open(); });
        return message.isEmpty() ? readRows(query).join(QChar('\n')) : message;
    };
    const QString first = press();
    EXPECT_EQ(press(), first);
    EXPECT_EQ(query.lastCopyTries(), 0) << "the kept rows, not a copy";

    // A save, its modification time then set back: the change counter tells.
    dir.add({"'2005-03-02'", "2005", "3", "2", "500", "150", "0", "650"});
    settle(dir.tablePath());
    EXPECT_EQ(press(), "2005|3|2|1500|450|0|1950");

    // The same bytes under the same time in a new file.
    ASSERT_TRUE(QFile::copy(dir.tablePath(), dir.path() + "/copy"));
    ASSERT_TRUE(QFile::remove(dir.tablePath()) && QFile::rename(dir.path() + "/copy", dir.tablePath()));
    settle(dir.tablePath());
    press();
    EXPECT_GE(query.lastCopyTries(), 1);

    // Gone: the message a fresh read gives.
    ASSERT_TRUE(QFile::remove(dir.tablePath()));
    Engine fresh;
    EXPECT_EQ(press(), openedIn(fresh, dir.path(), QueryKind::Monthly));
}

} // namespace
} // namespace uriage::data::testing
