// The platform's file interface as the engine uses it: what lies at a path,
// reading an open file at offsets and whole into its resident image, and the
// lock test against a second process holding SQLite's locks on the table file.
#include "process_helpers.h"
#include "receipt_fixture.h"

#include "data/snapshot/file_image.h"
#include "platform/file_access.h"

#include <QFileInfo>
#include <sys/stat.h>

namespace uriage::data::testing {
namespace {

using platform::LockState;
using platform::PathKind;

TEST(FileAccessTest, TellsWhatLiesAtAPath)
{
    ReceiptDirectory dir;
    dir.write({{"'2005-03-01'", "2005", "3", "1", "1000", "300", "0", "1300"}});
    const QString fifo = dir.path() + "/pipe";
    ASSERT_EQ(mkfifo(QFile::encodeName(fifo).constData(), 0600), 0);
    const struct {
        QString path;
        PathKind kind;
        long long size;
    } cases[] = {
        {dir.path(), PathKind::Directory, 0},
        {dir.tablePath(), PathKind::RegularFile, QFileInfo(dir.tablePath()).size()},
        {dir.path() + "/nowhere", PathKind::Missing, 0},
        {dir.tablePath() + "/inside", PathKind::Missing, 0},
        {fifo, PathKind::Other, 0},
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
    EXPECT_TRUE(platform::mayAccess(dir.path(), platform::SearchAccess | platform::WriteAccess));
    EXPECT_FALSE(platform::mayAccess(dir.path() + "/nowhere", platform::ReadAccess));
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

    const platform::OpenFile file(dir.tablePath());
    ASSERT_TRUE(file.isOpen());
    EXPECT_EQ(file.size(), size);
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
constexpr long long kReservedByte = kPendingByte + 1;
constexpr long long kSharedFirst = kPendingByte + 2;
constexpr long long kSharedEnd = kSharedFirst + 510;

struct LockCase {
    const char* name;
    const char* begin;   // what the second process runs and holds
    LockState pending;
    LockState reserved;
    LockState shared;
};

void PrintTo(const LockCase& c, std::ostream* os) { *os << c.name; }

class LockTestTest : public ::testing::TestWithParam<LockCase> {};

TEST_P(LockTestTest, SeesTheLocksAnotherProcessHolds)
{
    const LockCase& c = GetParam();
    ReceiptDirectory dir;
    dir.write({{"'2005-03-01'", "2005", "3", "1", "1000", "300", "0", "1300"}});
    const QString path = dir.tablePath();
    ChildProcess writer([&](ChildProcess& self) {
        sqlite3* db = openWriter(path);
        if (*c.begin)
            run(db, c.begin);
        self.tell('h');
        self.await();
        sqlite3_close(db);
    });
    ASSERT_TRUE(writer.started());
    ASSERT_EQ(writer.receive(), 'h');
    const platform::OpenFile file(path);
    ASSERT_TRUE(file.isOpen());
    EXPECT_EQ(file.lockOn(0, kPendingByte), LockState::Unlocked) << "the pages";
    EXPECT_EQ(file.lockOn(kPendingByte, kReservedByte), c.pending) << "pending byte";
    EXPECT_EQ(file.lockOn(kReservedByte, kSharedFirst), c.reserved) << "reserved byte";
    EXPECT_EQ(file.lockOn(kSharedFirst, kSharedEnd), c.shared) << "shared range";
    EXPECT_EQ(file.lockOn(kSharedEnd, kSharedEnd + 4096), LockState::Unlocked) << "beyond";
    writer.tell('q');
    EXPECT_EQ(writer.wait(), 0);
}

INSTANTIATE_TEST_SUITE_P(
    SqliteLocks, LockTestTest,
    ::testing::Values(LockCase{"None", "", LockState::Unlocked, LockState::Unlocked, LockState::Unlocked},
                      LockCase{"Shared", "BEGIN; SELECT count(*) FROM 領収証記録", LockState::Unlocked,
                               LockState::Unlocked, LockState::ReadLocked},
                      LockCase{"Reserved", "BEGIN IMMEDIATE", LockState::Unlocked, LockState::WriteLocked,
                               LockState::ReadLocked},
                      LockCase{"Exclusive", "BEGIN EXCLUSIVE", LockState::WriteLocked, LockState::WriteLocked,
                               LockState::WriteLocked}),
    [](const auto& info) { return std::string(info.param.name); });

} // namespace
} // namespace uriage::data::testing
