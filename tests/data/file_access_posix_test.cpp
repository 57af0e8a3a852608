// The platform's file interface on POSIX systems: a pipe at a path, and the
// lock test against a second process holding SQLite's locks on the table file.
#include "process_helpers.h"
#include "receipt_fixture.h"

#include "platform/file_access.h"

#include <sys/stat.h>

namespace uriage::data::testing {
namespace {

using platform::LockState;
using platform::PathKind;

// A pipe is neither waited on nor read.
TEST(FileAccessTest, PipeIsNoFile)
{
    ReceiptDirectory dir;
    const QString fifo = dir.path() + "/pipe";
    ASSERT_EQ(mkfifo(QFile::encodeName(fifo).constData(), 0600), 0);
    const platform::PathStatus status = platform::pathStatus(fifo);
    EXPECT_EQ(status.kind, PathKind::Other);
    EXPECT_EQ(status.size, 0);
    const platform::OpenFile file(fifo);
    EXPECT_EQ(file.error(), platform::OpenFile::Error::NotAFile);
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
