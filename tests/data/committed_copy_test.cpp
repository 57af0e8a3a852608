// The lock-free copy of a table file's committed state, over a file kept in
// memory whose writer the test plays: every way a writer can be at work must
// lead to another try, a fallback or a refusal, never to a torn copy.
#include "data/snapshot/committed_copy.h"

#include <gtest/gtest.h>

#include <chrono>
#include <cstring>
#include <vector>

namespace uriage::data {
namespace {

constexpr std::uint32_t kPageSize = 1024;

// A database image of `pages` pages with change counter `counter`; every page
// after the first is filled with the counter's low byte.
std::vector<unsigned char> databaseImage(std::uint32_t pages, std::uint32_t counter, bool wal = false)
{
    std::vector<unsigned char> bytes(std::size_t(pages) * kPageSize, (unsigned char)(counter & 0xff));
    std::memset(bytes.data(), 0, 100);
    std::memcpy(bytes.data(), "SQLite format 3", 16);
    bytes[16] = kPageSize >> 8;
    bytes[17] = kPageSize & 0xff;
    bytes[18] = bytes[19] = wal ? 2 : 1;
    auto put = [&](std::size_t at, std::uint32_t v) {
        for (int i = 0; i < 4; ++i)
            bytes[at + std::size_t(i)] = (unsigned char)(v >> (24 - 8 * i));
    };
    put(24, counter);
    put(28, pages);
    put(92, counter);
    return bytes;
}

class FakeFile : public CopySource {
public:
    explicit FakeFile(std::vector<unsigned char> bytes) : bytes_(std::move(bytes)) {}

    bool readAt(long long offset, unsigned char* into, std::size_t n) override
    {
        if (offset < 0 || std::size_t(offset) + n > bytes_.size())
            return false;
        std::memcpy(into, bytes_.data() + offset, n);
        bytesRead += n;
        return true;
    }
    LockTest writerLock() override { return lockChecks++ < lockedChecks ? LockTest::Held : lock; }
    bool journalInUse() override
    {
        const int check = journalChecks++;
        return check >= journalBusyFrom && check < journalBusyChecks;
    }
    bool walInUse() override { return walFrames; }
    FileStamp stamp() override { return {(long long)bytes_.size(), modified}; }

    // The writer commits: the whole image replaced, the counter moved on.
    void commit(std::vector<unsigned char> bytes)
    {
        bytes_ = std::move(bytes);
        ++modified;
    }
    std::vector<unsigned char>& bytes() { return bytes_; }

    LockTest lock = LockTest::Free;
    int lockedChecks = 0;        // the first N lock tests find a writer's lock
    int journalBusyFrom = 0;     // journal tests from this one on, up to the next count,
    int journalBusyChecks = 0;   // find a transaction
    bool walFrames = false;
    long long modified = 1;
    std::size_t bytesRead = 0;
    int lockChecks = 0;
    int journalChecks = 0;

private:
    std::vector<unsigned char> bytes_;
};

struct Copy {
    CommittedCopy result;
    std::vector<unsigned char> bytes;
};

// `betweenChunks` lands a writer's change in the middle of a copy.
Copy copyOf(FakeFile& file, CommittedCopyLimits limits = {}, std::function<void(int)> betweenChunks = {})
{
    Copy copy;
    limits.chunkBytes = 4 * kPageSize;
    limits.betweenChunks = std::move(betweenChunks);
    copy.result = copyCommittedState(file, [&](std::size_t n) {
        copy.bytes.assign(n, 0);
        return copy.bytes.data();
    }, limits);
    copy.bytes.resize(copy.result.bytes);
    return copy;
}

std::vector<unsigned char> asRollbackMode(std::vector<unsigned char> bytes)
{
    bytes[18] = bytes[19] = 1;
    return bytes;
}

// How the writer behaves while the copy is made, and what the copy must give.
struct WriterCase {
    const char* name;
    void (*arrange)(FakeFile&);
    CopyOutcome outcome;
    int tries;                     // -1: not checked
};

const WriterCase kWriterCases[] = {
    {"QuietFile", [](FakeFile&) {}, CopyOutcome::Copied, 1},
    {"WriterLockUntilItsCommitEnds", [](FakeFile& f) { f.lockedChecks = 3; }, CopyOutcome::Copied, 1},
    {"JournalUntilItsCommitEnds", [](FakeFile& f) { f.journalBusyChecks = 2; }, CopyOutcome::Copied, 1},
    {"JournalAppearsDuringTheCopy", [](FakeFile& f) { f.journalBusyFrom = 1; f.journalBusyChecks = 2; }, CopyOutcome::Copied, 2},
    {"WriterKeepsItsLock", [](FakeFile& f) { f.lock = LockTest::Held; }, CopyOutcome::Busy, 0},
    // A writer filling its journal under RESERVED has not touched the file.
    {"WriterFillsItsJournal", [](FakeFile& f) { f.lock = LockTest::Reserved; f.journalBusyChecks = 1 << 30; },
     CopyOutcome::Copied, 1},
    {"CrashedWritersJournal", [](FakeFile& f) { f.journalBusyChecks = 1 << 30; }, CopyOutcome::Busy, 0},
    {"LocksCannotBeTested", [](FakeFile& f) { f.lock = LockTest::Unknown; }, CopyOutcome::Declined, 0},
    {"WalHoldsFrames", [](FakeFile& f) { f.walFrames = true; }, CopyOutcome::Declined, 0},
    {"NoDatabaseHeader", [](FakeFile& f) { f.bytes()[0] = 'X'; }, CopyOutcome::Declined, 1},
    {"PageSizeNotAPowerOfTwo", [](FakeFile& f) { f.bytes()[17] = 3; }, CopyOutcome::Declined, 1},
    {"HeaderCountsMorePagesThanTheFileHas", [](FakeFile& f) { f.bytes()[31] = 200; }, CopyOutcome::Busy, -1},
};

class WriterAtWorkTest : public ::testing::TestWithParam<WriterCase> {};

TEST_P(WriterAtWorkTest, CopiesOnlyAProvenCommittedState)
{
    const WriterCase& c = GetParam();
    FakeFile file(databaseImage(16, 7));
    c.arrange(file);
    const std::vector<unsigned char> expected = asRollbackMode(file.bytes());
    const auto started = std::chrono::steady_clock::now();
    const Copy copy = copyOf(file);
    const auto took = std::chrono::steady_clock::now() - started;
    EXPECT_EQ(copy.result.outcome, c.outcome);
    if (c.tries >= 0) {
        EXPECT_EQ(copy.result.tries, c.tries);
    }
    EXPECT_LT(took, std::chrono::milliseconds(400)) << "the tries keep to their budget";
    if (c.outcome == CopyOutcome::Copied) {
        EXPECT_EQ(copy.bytes, expected);
    }
}

INSTANTIATE_TEST_SUITE_P(Writers, WriterAtWorkTest, ::testing::ValuesIn(kWriterCases),
                         [](const auto& info) { return std::string(info.param.name); });

// Where the writer's locks cannot be seen without getting in its way, a
// journal with content is a writer saving: waited out, never a fallback to
// the shared lock that would fail its next save.
TEST(CommittedCopyTest, UntestedLocksTakeAJournalForAWriterSaving)
{
    const struct {
        const char* name;
        int journalBusyChecks;
        CopyOutcome outcome;
        int tries;
    } cases[] = {
        {"journal until its commit ends", 2, CopyOutcome::Copied, 1},
        // A crashed writer's journal, or one kept with its header zeroed: no
        // commit comes, so the shared lock after the wait.
        {"journal throughout, no commit", 1 << 30, CopyOutcome::Busy, 0},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        FakeFile file(databaseImage(16, 7));
        file.lock = LockTest::Untested;
        file.journalBusyChecks = c.journalBusyChecks;
        CommittedCopyLimits limits;
        limits.savingBudgetMilliseconds = 50;
        const Copy copy = copyOf(file, limits);
        EXPECT_EQ(copy.result.outcome, c.outcome);
        EXPECT_EQ(copy.result.tries, c.tries);
        if (c.outcome == CopyOutcome::Copied) {
            EXPECT_EQ(copy.bytes, asRollbackMode(file.bytes()));
        }
    }
}

// A commit landing between two chunks of the first try is seen and the copy
// made again, giving the new committed state whole.
TEST(CommittedCopyTest, CommitInTheMiddleOfTheCopyIsRetried)
{
    struct Change {
        const char* name;
        std::vector<unsigned char> (*after)();
    } changes[] = {
        {"counter moved", [] { return databaseImage(16, 8); }},
        {"file grew", [] { return databaseImage(20, 8); }},
        {"pages rewritten, header alone", [] {
             auto b = databaseImage(16, 7);
             b[5000] = 0xee;
             return b;
         }},
    };
    for (const auto& change : changes) {
        SCOPED_TRACE(change.name);
        FakeFile file(databaseImage(16, 7));
        const std::vector<unsigned char> next = change.after();
        int hookCalls = 0;
        const std::function<void(int)> hook([&](int tryNumber) {
            if (tryNumber == 1 && ++hookCalls == 2)
                file.commit(next);
        });
        const Copy copy = copyOf(file, {}, hook);
        EXPECT_EQ(copy.result.outcome, CopyOutcome::Copied);
        EXPECT_EQ(copy.result.tries, 2);
        EXPECT_EQ(copy.bytes, asRollbackMode(next));
    }
}

// Writers that leave no clean try. One that commits all the while is saving
// right now: the copy keeps trying for the longer bound and then gives up
// without the shared lock, whose taking would fail its next save. One that
// only holds its lock (or rewrites pages without a commit) ends in the
// fallback after the few tries, as before.
TEST(CommittedCopyTest, WritersThatLeaveNoCleanTry)
{
    struct Case {
        const char* name;
        bool commitEveryTry;      // else the pages change, the counter stays
        CopyOutcome outcome;
        int minTries, maxTries;
        long long minMilliseconds;
    } cases[] = {
        {"commits in every try", true, CopyOutcome::Saving, 4, 1 << 30, 60},
        {"pages change, no commit", false, CopyOutcome::Busy, 3, 3, 0},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        FakeFile file(databaseImage(16, 7));
        std::uint32_t counter = 7;
        const std::function<void(int)> hook([&](int) {
            if (c.commitEveryTry) {
                file.commit(databaseImage(16, ++counter));
            } else {
                file.bytes()[5000] ^= 0xff;
                ++file.modified;
            }
        });
        const auto started = std::chrono::steady_clock::now();
        const Copy copy = copyOf(file, CommittedCopyLimits{3, 200, 0, 60, {}}, hook);
        const long long elapsed = std::chrono::duration_cast<std::chrono::milliseconds>(
                                      std::chrono::steady_clock::now() - started).count();
        EXPECT_EQ(copy.result.outcome, c.outcome);
        EXPECT_GE(copy.result.tries, c.minTries);
        EXPECT_LE(copy.result.tries, c.maxTries);
        EXPECT_GE(elapsed, c.minMilliseconds);
        EXPECT_LT(elapsed, 1000);
    }
}

// One commit seen, then the writer pauses: the next try copies its state,
// even after more tries than a quiet writer gets.
TEST(CommittedCopyTest, ACommitSeenKeepsTryingUntilTheWriterPauses)
{
    FakeFile file(databaseImage(16, 7));
    std::uint32_t counter = 7;
    const std::function<void(int)> hook([&](int tryNumber) {
        if (tryNumber <= 6)
            file.commit(databaseImage(16, ++counter));
    });
    const Copy copy = copyOf(file, CommittedCopyLimits{3, 200, 0, 2000, {}}, hook);
    EXPECT_EQ(copy.result.outcome, CopyOutcome::Copied);
    EXPECT_EQ(copy.result.tries, 7);
    EXPECT_EQ(copy.bytes, asRollbackMode(databaseImage(16, 13)));
}

TEST(CommittedCopyTest, TrailingBytesAreNeverRead)
{
    std::vector<unsigned char> bytes = databaseImage(16, 7, true);
    const std::vector<unsigned char> pages = bytes;
    bytes.resize(bytes.size() + (std::size_t(8) << 20), 0x5a);
    FakeFile file(bytes);
    const Copy copy = copyOf(file);
    ASSERT_EQ(copy.result.outcome, CopyOutcome::Copied);
    EXPECT_EQ(copy.bytes, asRollbackMode(pages)) << "a WAL-mode image is marked as a rollback-mode one";
    EXPECT_LT(file.bytesRead, pages.size() + 4096);
}

TEST(CommittedCopyTest, HeaderGivesTheDatabaseSize)
{
    struct {
        const char* name;
        std::uint32_t countField, validFor;
        long long fileSize;
        std::uint64_t bytes;
    } cases[] = {
        {"count valid", 16, 7, 99999, 16 * kPageSize},
        {"count stale: the file's size", 16, 6, 20 * kPageSize + 10, 20 * kPageSize},
        {"count zero: the file's size", 0, 7, 3 * kPageSize, 3 * kPageSize},
    };
    for (const auto& c : cases) {
        std::vector<unsigned char> bytes = databaseImage(1, 7);
        for (int i = 0; i < 4; ++i) {
            bytes[28 + std::size_t(i)] = (unsigned char)(c.countField >> (24 - 8 * i));
            bytes[92 + std::size_t(i)] = (unsigned char)(c.validFor >> (24 - 8 * i));
        }
        DatabaseHeader header;
        ASSERT_TRUE(parseDatabaseHeader(bytes.data(), 100, &header)) << c.name;
        EXPECT_EQ(header.databaseBytes(c.fileSize), c.bytes) << c.name;
    }
    std::vector<unsigned char> big = databaseImage(1, 7);
    big[16] = 0;
    big[17] = 1;
    DatabaseHeader header;
    ASSERT_TRUE(parseDatabaseHeader(big.data(), 100, &header));
    EXPECT_EQ(header.pageSize, 65536u) << "page size 1 stands for 65536";
}

} // namespace
} // namespace uriage::data
