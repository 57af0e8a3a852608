// The lock test on Windows, where it takes a shared lock for a moment: it sees
// what a writer's connection holds, and leaves nothing behind that a writer
// waiting for no lock would meet.
#include "receipt_fixture.h"

#include "platform/file_access.h"

#ifdef Q_OS_WIN
namespace uriage::data::testing {
namespace {

using platform::LockState;

// SQLite's lock bytes in a rollback-mode database file.
constexpr long long kPendingByte = 0x40000000;
constexpr long long kReservedByte = kPendingByte + 1;
constexpr long long kSharedFirst = kPendingByte + 2;
constexpr long long kSharedEnd = kSharedFirst + 510;

struct WindowsLockCase {
    const char* name;
    const char* begin;   // what the writer's connection runs and holds
    LockState pending;
    LockState reserved;
    LockState shared;    // readers' shared locks are not told from none
};

void PrintTo(const WindowsLockCase& c, std::ostream* os) { *os << c.name; }

class WindowsLockTest : public ::testing::TestWithParam<WindowsLockCase> {};

TEST_P(WindowsLockTest, SeesWritersAndLeavesNoLock)
{
    const WindowsLockCase& c = GetParam();
    ReceiptDirectory dir;
    dir.write({{"'2005-03-01'", "2005", "3", "1", "1000", "300", "0", "1300"}});
    sqlite3* writer = nullptr;
    ASSERT_EQ(sqlite3_open_v2(platform::pathBytes(dir.tablePath()).constData(), &writer, SQLITE_OPEN_READWRITE, nullptr),
              SQLITE_OK);
    if (*c.begin)
        execSql(writer, QString::fromUtf8(c.begin));
    {
        const platform::OpenFile file(dir.tablePath());
        ASSERT_TRUE(file.isOpen());
        EXPECT_FALSE(platform::lockTestIsSilent());
        EXPECT_EQ(file.lockOn(kPendingByte, kReservedByte), c.pending) << "pending byte";
        EXPECT_EQ(file.lockOn(kReservedByte, kSharedFirst), c.reserved) << "reserved byte";
        EXPECT_EQ(file.lockOn(kSharedFirst, kSharedEnd), c.shared) << "shared range";
        EXPECT_EQ(file.lockOn(0, kPendingByte), LockState::Unlocked) << "the pages";

        // With the test's handle still open, a writer waiting for no lock saves.
        if (*c.begin)
            execSql(writer, QStringLiteral("COMMIT"));
        EXPECT_EQ(sqlite3_exec(writer, insertSql({"'2005-03-02'", "2005", "3", "2", "1", "1", "1", "2"}).toUtf8().constData(),
                               nullptr, nullptr, nullptr),
                  SQLITE_OK);
    }
    sqlite3_close(writer);
}

INSTANTIATE_TEST_SUITE_P(
    SqliteLocks, WindowsLockTest,
    ::testing::Values(
        WindowsLockCase{"None", "", LockState::Unlocked, LockState::Unlocked, LockState::Unlocked},
        WindowsLockCase{"Shared", "BEGIN; SELECT count(*) FROM 領収証記録", LockState::Unlocked, LockState::Unlocked,
                        LockState::Unlocked},
        WindowsLockCase{"Reserved", "BEGIN IMMEDIATE", LockState::Unlocked, LockState::WriteLocked, LockState::Unlocked},
        WindowsLockCase{"Exclusive", "BEGIN EXCLUSIVE", LockState::WriteLocked, LockState::WriteLocked,
                        LockState::WriteLocked}),
    [](const auto& info) { return std::string(info.param.name); });

} // namespace
} // namespace uriage::data::testing
#endif
