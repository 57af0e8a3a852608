#pragma once
// Copying a table file's committed state into memory without taking any lock,
// so that a receipt program saving at that moment never finds the file locked.
// The copy is proved afterwards to be one committed state: before and after
// it, no other process held the PENDING or EXCLUSIVE lock (SQLite writes the
// file only under EXCLUSIVE, and keeps it to the end of the transaction), no
// rollback journal held a transaction unless its writer visibly held only
// RESERVED (it fills the journal before it touches the file), and the file's
// header (its change counter at offset 24, which every commit changes,
// included), size and modification time were unchanged. Exactly page size
// times page count bytes are copied, as the header tells, never what lies
// after them. When the proof fails the copy is tried again a few times; then
// the caller falls back to a copy under SQLite's shared lock. Not so when the
// change counter moved while the copy was tried: a writer is saving right
// now, and a shared lock taken then would make its next save fail (a writer
// that does not wait fails at once). The tries go on instead, up to the same
// bound a lock is waited for, and the read gives up if none succeeds.
#include <array>
#include <cstddef>
#include <cstdint>
#include <functional>

namespace uriage::data {

// What the database header says about the file's pages.
struct DatabaseHeader {
    std::uint32_t pageSize = 0;
    std::uint32_t pageCount = 0;       // 0: the header does not tell; the file's size does
    std::uint32_t changeCounter = 0;
    bool walMode = false;              // write or read version 2
    // The bytes that make up the database.
    std::uint64_t databaseBytes(long long fileSize) const;
};

// False when the first 100 bytes are no SQLite 3 database header.
bool parseDatabaseHeader(const unsigned char* bytes, std::size_t size, DatabaseHeader* header);

// Marks a copied WAL-mode image (its first 20 bytes at least) as a rollback-mode
// file, so that SQLite looks for no WAL beside it: the format versions that say
// WAL (2) become 1. Any other value stays, for SQLite to judge as it judges
// the file itself (a read version above 2 is no database it can read).
void markRollbackMode(unsigned char* image);

// A file's size and last modification, to see a write that left the header alone.
struct FileStamp {
    long long size = -1;
    long long modifiedNanoseconds = 0;
    bool operator==(const FileStamp&) const = default;
};

enum class LockTest {
    Free,
    Reserved,   // only the RESERVED lock: a writer fills its journal, the file is not yet written
    Held,       // PENDING as a writer, or EXCLUSIVE: the file may be being written
    Unknown,
    Untested,   // no test without a moment's lock in a writer's way: the journal tells instead
};

// What the copy asks of the table file and of its journal and WAL files.
class CopySource {
public:
    virtual ~CopySource() = default;
    // Reads exactly `bytes` bytes at `offset`; false when fewer arrive.
    virtual bool readAt(long long offset, unsigned char* into, std::size_t bytes) = 0;
    // Which of the file's writer locks another process holds (RESERVED, PENDING
    // as a writer, EXCLUSIVE); Unknown where the system cannot tell without
    // taking the lock itself.
    virtual LockTest writerLock() = 0;
    // Whether the rollback journal holds a transaction: a writer at work, or one
    // that crashed. An empty journal, or one whose header is zeroed, holds none.
    virtual bool journalInUse() = 0;
    // Whether the WAL file holds frames: committed pages may lie there.
    virtual bool walInUse() = 0;
    virtual FileStamp stamp() = 0;
};

enum class CopyOutcome {
    Copied,     // the committed state lies in the room, marked as a rollback-mode file
    Busy,       // a writer was at work every time: fall back to the shared lock
    Saving,     // commits kept landing while the copy was tried: the table stays
                // locked for this read, and no lock may be taken
    Declined,   // not a plain database image (no header, a WAL with frames, a
                // journal nobody writes, locks that cannot be tested): let SQLite read it
};

struct CommittedCopy {
    CopyOutcome outcome = CopyOutcome::Declined;
    int tries = 0;
    std::size_t bytes = 0;   // of the database, in the room
    // When copied: the file's stamp and its header as they were throughout
    // the copy (the header as the file has it, before any marking).
    FileStamp stamp;
    std::array<unsigned char, 100> header{};
};

struct CommittedCopyLimits {
    int tries = 5;
    int budgetMilliseconds = 200;     // for all tries together, waits included
    std::size_t chunkBytes = std::size_t(4) << 20;
    // For all tries together once a commit has been seen, waits included.
    int savingBudgetMilliseconds = 2000;
    // Called between copied chunks with the try's number (from 1); empty for
    // none.
    std::function<void(int)> betweenChunks;
};

// `room(bytes)` hands out memory for `bytes` bytes (it may be asked again,
// for more, when the file grew; it throws std::bad_alloc when it cannot).
CommittedCopy copyCommittedState(CopySource& source, const std::function<unsigned char*(std::size_t)>& room,
                                 const CommittedCopyLimits& limits = {});

} // namespace uriage::data
