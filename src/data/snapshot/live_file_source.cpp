#include "data/snapshot/live_file_source.h"

#include "data/snapshot/file_image.h"

#include <algorithm>

namespace uriage::data {
namespace {

// SQLite's lock bytes in a rollback-mode database file.
constexpr long long kPendingByte = 0x40000000LL;
constexpr long long kReservedByte = kPendingByte + 1;
constexpr long long kSharedFirst = kPendingByte + 2;
constexpr long long kSharedSize = 510;

// The journal header a transaction writes first; zeroed or absent when none is open.
constexpr std::size_t kJournalHeaderBytes = 28;

} // namespace

LiveFileSource::LiveFileSource(const platform::OpenFile& file, const QString& filePath)
    : file_(file), journalPath_(filePath + QStringLiteral("-journal")), walPath_(filePath + QStringLiteral("-wal"))
{
}

bool LiveFileSource::readAt(long long offset, unsigned char* into, std::size_t bytes)
{
    return readExactly(file_, offset, into, bytes);
}

LockTest LiveFileSource::writerLock()
{
    using platform::LockState;
    // Where a test can only take a lock for a moment (Windows), nothing is
    // tested: a save meeting even that moment's lock fails at once in a
    // receipt program that waits for no lock, and the test adds nothing the
    // other evidence lacks. A writer writes the file only under a journal with
    // content (a writer at work: the copy tries again) or, with no journal on
    // disk, moves the change counter, the header or the modification time, all
    // compared again after the copy.
    if (!platform::lockTestIsSilent())
        return LockTest::Untested;
    // Byte by byte: a reader passing through the pending byte on its way to a
    // shared lock holds it for reading, which must not hide a writer's lock
    // on the byte beside it.
    const LockState reserved = file_.lockOn(kReservedByte, kReservedByte + 1);
    const LockState pending = file_.lockOn(kPendingByte, kPendingByte + 1);
    const LockState shared = file_.lockOn(kSharedFirst, kSharedFirst + kSharedSize);
    if (reserved == LockState::Unknown || pending == LockState::Unknown || shared == LockState::Unknown)
        return LockTest::Unknown;
    if (pending == LockState::WriteLocked || shared == LockState::WriteLocked)
        return LockTest::Held;
    return reserved == LockState::Unlocked ? LockTest::Free : LockTest::Reserved;
}

bool LiveFileSource::journalInUse()
{
    const platform::PathStatus status = platform::pathStatus(journalPath_);
    if (status.kind == platform::PathKind::Missing)
        return false;
    if (status.kind == platform::PathKind::RegularFile && status.size == 0)
        return false;
    // Reading its header means holding it open, and on Windows a writer's
    // delete and re-creation of its journal then fails: counted as a writer
    // at work instead (a journal kept with a zeroed header, never deleted, is
    // then read through the lock).
    if (!platform::openingIsSilent())
        return true;
    const platform::OpenFile journal(journalPath_);
    unsigned char header[kJournalHeaderBytes] = {};
    if (!journal.isOpen() || !readExactly(journal, 0, header, std::min<std::size_t>(sizeof header, std::size_t(status.size))))
        return true;   // it cannot be told: as if a writer were at work
    return std::any_of(std::begin(header), std::end(header), [](unsigned char b) { return b != 0; });
}

bool LiveFileSource::walInUse()
{
    const platform::PathStatus status = platform::pathStatus(walPath_);
    return status.kind != platform::PathKind::Missing && !(status.kind == platform::PathKind::RegularFile && status.size == 0);
}

FileStamp LiveFileSource::stamp() { return FileStamp{file_.size(), file_.modifiedNanoseconds()}; }

} // namespace uriage::data
