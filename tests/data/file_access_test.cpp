// The platform's file interface as the engine uses it: what lies at a path,
// reading an open file at offsets and whole into its resident image, and the
// lock test, which must never take a lock a writer could meet.
#include "receipt_fixture.h"

#include "data/snapshot/file_image.h"
#include "platform/file_access.h"

#include <QFileInfo>

namespace uriage::data::testing {
namespace {

using platform::LockState;
using platform::PathKind;

TEST(FileAccessTest, TellsWhatLiesAtAPath)
{
    ReceiptDirectory dir;
    dir.write({{"'2005-03-01'", "2005", "3", "1", "1000", "300", "0", "1300"}});
    const QString nativeTable = QDir::toNativeSeparators(dir.tablePath());
    const struct {
        QString path;
        PathKind kind;
        long long size;
    } cases[] = {
        {dir.path(), PathKind::Directory, 0},
        {dir.tablePath(), PathKind::RegularFile, QFileInfo(dir.tablePath()).size()},
        {nativeTable, PathKind::RegularFile, QFileInfo(dir.tablePath()).size()},
        {dir.path() + "/nowhere", PathKind::Missing, 0},
        {dir.tablePath() + "/inside", PathKind::Missing, 0},
    };
    for (const auto& c : cases) {
        const platform::PathStatus status = platform::pathStatus(c.path);
        EXPECT_EQ(status.kind, c.kind) << c.path.toStdString();
        EXPECT_EQ(status.size, c.size) << c.path.toStdString();
    }
    EXPECT_GT(platform::pathStatus(dir.tablePath()).size, 0);
    // This process wrote the file: its new files next to it keep the owner.
    EXPECT_TRUE(platform::pathStatus(dir.tablePath()).createdFilesKeepOwner);
    EXPECT_TRUE(platform::mayAccess(dir.tablePath(), platform::ReadAccess | platform::WriteAccess));
    EXPECT_TRUE(platform::mayAccess(nativeTable, platform::ReadAccess));
    EXPECT_TRUE(platform::mayAccess(dir.path(), platform::SearchAccess | platform::WriteAccess));
    EXPECT_FALSE(platform::mayAccess(dir.path() + "/nowhere", platform::ReadAccess));
    EXPECT_FALSE(platform::mayAccess(dir.tablePath() + "/inside", platform::ReadAccess));
}

TEST(FileAccessTest, ReadsAtOffsetsAndWholeFilesIntoTheirImage)
{
    ReceiptDirectory dir;
    dir.write({});
    QFile bytes(dir.tablePath());
    ASSERT_TRUE(bytes.open(QIODevice::ReadOnly));
    const QByteArray expected = bytes.readAll();
    const long long size = expected.size();

    const platform::OpenFile missing(dir.path() + "/nowhere");
    EXPECT_FALSE(missing.isOpen());
    EXPECT_EQ(missing.error(), platform::OpenFile::Error::Other);
    const platform::OpenFile directory(dir.path());
    EXPECT_FALSE(directory.isOpen()) << "a directory is no file to read";

    const platform::OpenFile file(dir.tablePath());
    ASSERT_TRUE(file.isOpen());
    EXPECT_EQ(file.size(), size);
    // The time the system lists for the file, to the millisecond.
    const long long listed = QFileInfo(dir.tablePath()).lastModified().toMSecsSinceEpoch();
    EXPECT_EQ(file.modifiedNanoseconds() / 1000000, listed);
    const struct {
        long long offset;
        std::size_t bytes;
        long long got;
    } reads[] = {{0, 100, 100}, {size - 10, 100, 10}, {size, 100, 0}, {size + 4096, 100, 0}};
    for (const auto& c : reads) {
        unsigned char buffer[100];
        EXPECT_EQ(file.readAt(c.offset, buffer, c.bytes), c.got) << c.offset;
        if (c.got > 0) {
            EXPECT_EQ(QByteArray(reinterpret_cast<const char*>(buffer), int(c.got)), expected.mid(c.offset, c.got));
        }
    }

    const struct {
        std::size_t capacity;
        FileImage::ReadOutcome outcome;
    } images[] = {
        {imageCapacityFor(size), FileImage::ReadOutcome::Complete},
        {std::size_t(size), FileImage::ReadOutcome::Complete},
        {std::size_t(size) - 1, FileImage::ReadOutcome::TooLarge},
    };
    for (const auto& c : images) {
        FileImage image(c.capacity);
        EXPECT_EQ(image.readFrom(file), c.outcome) << c.capacity;
        if (c.outcome == FileImage::ReadOutcome::Complete) {
            EXPECT_EQ(QByteArray(reinterpret_cast<const char*>(image.data()), int(image.size())), expected);
        }
    }
}

// SQLite's lock bytes in a rollback-mode database file.
constexpr long long kPendingByte = 0x40000000;
constexpr long long kSharedEnd = kPendingByte + 2 + 510;

// While a connection of this process holds a read transaction, the lock test
// answers for each range of the file and leaves nothing behind: a writer then
// commits with a busy timeout of 0. POSIX locks belong to the process, so its
// own are no other's; on Windows a reader's shared lock is not told from none.
TEST(FileAccessTest, LockTestTakesNoLockAWriterCouldMeet)
{
    constexpr LockState kAnswer = LockState::Unlocked;
    ReceiptDirectory dir;
    dir.write({{"'2005-03-01'", "2005", "3", "1", "1000", "300", "0", "1300"}});
    sqlite3* reader = nullptr;
    ASSERT_EQ(sqlite3_open(platform::pathBytes(dir.tablePath()).constData(), &reader), SQLITE_OK);
    execSql(reader, "BEGIN; SELECT count(*) FROM 領収証記録");

    const platform::OpenFile file(dir.tablePath());
    ASSERT_TRUE(file.isOpen());
    const struct {
        const char* name;
        long long start;
        long long end;
    } ranges[] = {
        {"the pages", 0, kPendingByte},
        {"pending byte", kPendingByte, kPendingByte + 1},
        {"reserved byte", kPendingByte + 1, kPendingByte + 2},
        {"shared range", kPendingByte + 2, kSharedEnd},
        {"beyond", kSharedEnd, kSharedEnd + 4096},
    };
    for (const auto& r : ranges)
        EXPECT_EQ(file.lockOn(r.start, r.end), kAnswer) << r.name;
    execSql(reader, "COMMIT");

    sqlite3* writer = nullptr;
    ASSERT_EQ(sqlite3_open(platform::pathBytes(dir.tablePath()).constData(), &writer), SQLITE_OK);
    EXPECT_EQ(sqlite3_exec(writer, "BEGIN EXCLUSIVE; DELETE FROM 領収証記録; COMMIT", nullptr, nullptr, nullptr), SQLITE_OK)
        << sqlite3_errmsg(writer);
    sqlite3_close(writer);
    sqlite3_close(reader);
}

} // namespace
} // namespace uriage::data::testing
