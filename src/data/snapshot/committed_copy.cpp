#include "data/snapshot/committed_copy.h"

#include <algorithm>
#include <chrono>
#include <cstring>
#include <optional>
#include <thread>
#include <utility>

namespace uriage::data {
namespace {

constexpr std::size_t kHeaderBytes = 100;
constexpr char kMagic[] = "SQLite format 3";   // and its terminating zero: 16 bytes

std::uint32_t bigEndian32(const unsigned char* p)
{
    return (std::uint32_t(p[0]) << 24) | (std::uint32_t(p[1]) << 16) | (std::uint32_t(p[2]) << 8) | std::uint32_t(p[3]);
}

enum class TryResult { Copied, Busy, Saving, Declined };

// No writer at work on the file itself: no lock under which it writes the
// file, no WAL frames, and no journal except the one a writer holding only
// RESERVED is filling. A journal with no visible writer is a crashed one, or
// one whose locks this system cannot see (a writer under Wine): busy.
TryResult writerState(CopySource& source)
{
    const LockTest lock = source.writerLock();
    switch (lock) {
    case LockTest::Unknown:
        return TryResult::Declined;
    case LockTest::Held:
        return TryResult::Busy;
    case LockTest::Reserved:
    case LockTest::Free:
    case LockTest::Untested:
        break;
    }
    if (source.walInUse())
        return TryResult::Declined;
    if (lock == LockTest::Reserved || !source.journalInUse())
        return TryResult::Copied;
    // Unseen locks and a journal with content: a writer saving now, which our
    // shared lock would make fail; waited for, up to the longer bound.
    return lock == LockTest::Untested ? TryResult::Saving : TryResult::Busy;
}

// Copies the pages in chunks; gives up as soon as the change counter moves.
bool copyPages(CopySource& source, unsigned char* into, std::size_t bytes, const unsigned char* header,
               const CommittedCopyLimits& limits, int tryNumber)
{
    for (std::size_t at = 0; at < bytes; at += limits.chunkBytes) {
        const std::size_t n = std::min(limits.chunkBytes, bytes - at);
        if (!source.readAt((long long)at, into + at, n))
            return false;
        if (limits.betweenChunks)
            limits.betweenChunks(tryNumber);
        unsigned char counter[4];
        if (!source.readAt(24, counter, sizeof counter) || std::memcmp(counter, header + 24, 4) != 0)
            return false;
    }
    return std::memcmp(into, header, kHeaderBytes) == 0;
}

TryResult tryOnce(CopySource& source, const std::function<unsigned char*(std::size_t)>& room,
                  const CommittedCopyLimits& limits, int tryNumber, CommittedCopy* copy)
{
    const FileStamp before = source.stamp();
    unsigned char header[kHeaderBytes];
    DatabaseHeader parsed;
    if (before.size < static_cast<long long>(kHeaderBytes) || !source.readAt(0, header, kHeaderBytes))
        return TryResult::Declined;
    if (!parseDatabaseHeader(header, kHeaderBytes, &parsed))
        return TryResult::Declined;
    const std::uint64_t bytes = parsed.databaseBytes(before.size);
    if (bytes < kHeaderBytes || bytes > std::uint64_t(before.size))
        return TryResult::Busy;   // the header speaks of pages not yet (or no longer) there
    unsigned char* into = room(std::size_t(bytes));
    if (!copyPages(source, into, std::size_t(bytes), header, limits, tryNumber))
        return TryResult::Busy;

    unsigned char after[kHeaderBytes];
    const TryResult state = writerState(source);
    if (state != TryResult::Copied)
        return state;
    if (!source.readAt(0, after, kHeaderBytes) || std::memcmp(after, header, kHeaderBytes) != 0
        || !(source.stamp() == before))
        return TryResult::Busy;
    copy->stamp = before;
    std::memcpy(copy->header.data(), header, kHeaderBytes);
    // A WAL-mode file without frames is wholly in its pages.
    markRollbackMode(into);
    copy->bytes = std::size_t(bytes);
    return TryResult::Copied;
}

} // namespace

std::uint64_t DatabaseHeader::databaseBytes(long long fileSize) const
{
    if (pageSize == 0)
        return 0;
    const std::uint64_t pages = pageCount != 0 ? pageCount : std::uint64_t(std::max(0LL, fileSize)) / pageSize;
    return pages * pageSize;
}

void markRollbackMode(unsigned char* image)
{
    for (const int version : {18, 19})
        if (image[version] == 2)
            image[version] = 1;
}

bool parseDatabaseHeader(const unsigned char* bytes, std::size_t size, DatabaseHeader* header)
{
    if (size < kHeaderBytes || std::memcmp(bytes, kMagic, sizeof kMagic) != 0)
        return false;
    std::uint32_t pageSize = (std::uint32_t(bytes[16]) << 8) | bytes[17];
    if (pageSize == 1)
        pageSize = 65536;
    if (pageSize < 512 || pageSize > 65536 || (pageSize & (pageSize - 1)) != 0)
        return false;
    header->pageSize = pageSize;
    header->changeCounter = bigEndian32(bytes + 24);
    // The page count in the header holds only when written by a version that
    // keeps it: its "valid for" number equals the change counter.
    const std::uint32_t count = bigEndian32(bytes + 28);
    header->pageCount = count != 0 && bigEndian32(bytes + 92) == header->changeCounter ? count : 0;
    header->walMode = bytes[18] == 2 || bytes[19] == 2;
    return true;
}

// Whether a commit has landed since the first look: the change counter moved.
class CommitWatch {
public:
    void look(CopySource& source)
    {
        unsigned char counter[4];
        if (!source.readAt(24, counter, sizeof counter))
            return;
        if (!first_)
            first_ = bigEndian32(counter);
        else if (*first_ != bigEndian32(counter))
            seen_ = true;
    }
    bool seen() const { return seen_; }

private:
    std::optional<std::uint32_t> first_;
    bool seen_ = false;
};

CommittedCopy copyCommittedState(CopySource& source, const std::function<unsigned char*(std::size_t)>& room,
                                 const CommittedCopyLimits& limits)
{
    using Clock = std::chrono::steady_clock;
    const auto started = Clock::now();
    CommittedCopy copy;
    if (limits.tries <= 0) {
        copy.outcome = CopyOutcome::Busy;
        return copy;
    }
    CommitWatch commits;
    bool savingSeen = false;
    for (;;) {
        commits.look(source);
        TryResult result = writerState(source);
        if (result == TryResult::Copied) {
            ++copy.tries;
            result = tryOnce(source, room, limits, copy.tries, &copy);
        }
        if (result == TryResult::Copied) {
            copy.outcome = CopyOutcome::Copied;
            return copy;
        }
        if (result == TryResult::Declined) {
            copy.outcome = CopyOutcome::Declined;
            return copy;
        }
        commits.look(source);
        savingSeen = savingSeen || result == TryResult::Saving || commits.seen();
        // A writer saving right now would fail its next save under our shared
        // lock: no fallback to it, only more tries within the longer bound.
        if (savingSeen) {
            if (Clock::now() >= started + std::chrono::milliseconds(limits.savingBudgetMilliseconds)) {
                // A journal that never commits (a crashed writer's, or one kept
                // with its header zeroed) is no writer saving: the shared lock.
                copy.outcome = commits.seen() ? CopyOutcome::Saving : CopyOutcome::Busy;
                return copy;
            }
        } else if (copy.tries >= limits.tries
                   || Clock::now() >= started + std::chrono::milliseconds(limits.budgetMilliseconds)) {
            copy.outcome = CopyOutcome::Busy;
            return copy;
        }
        // A writer at work: look again shortly, so that the next try starts
        // as soon as its transaction ends.
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
    }
}

} // namespace uriage::data
