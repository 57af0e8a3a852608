#include "data/snapshot/table_snapshot.h"

#include "data/engine_error.h"
#include "data/image/image_room.h"
#include "data/snapshot/committed_copy.h"
#include "data/snapshot/file_checks.h"
#include "data/snapshot/live_file_source.h"
#include "data/sqlite/no_file_creation.h"
#include "data/sqlite/shared_file_lock.h"
#include "data/sqlite/sqlite_handles.h"
#include "data/sqlite/sqlite_status.h"

#include <QElapsedTimer>

#include <algorithm>
#include <chrono>
#include <new>
#include <optional>
#include <thread>

namespace uriage::data {
namespace {

[[noreturn]] void failWith(int code, const QString& filePath)
{
    const std::optional<EngineStatus> status = statusForSqliteCode(code);
    if (!status)
        throw EngineError(unlistedStatus(code));
    std::vector<EngineDetail> details{fileContext(filePath)};
    if (*status == EngineStatus::WalIndexMissing)
        details.push_back(fileContext(filePath + QStringLiteral("-shm")));
    throw EngineError(*status, std::move(details));
}

double millisecondsSince(const QElapsedTimer& timer) { return double(timer.nsecsElapsed()) / 1e6; }

// Read-only on the plain path: never creates the file, never immutable or
// without locks (both could read a half-written file). A WAL-mode file is
// opened with its shared-memory index read-only too: SQLite then never writes
// the -shm file, and builds a private index where no writer keeps one.
DatabaseHandle openSource(const QString& filePath, bool walIndexReadOnly = false)
{
    QByteArray name = platform::pathBytes(filePath);
    int flags = SQLITE_OPEN_READONLY | SQLITE_OPEN_EXRESCODE;
    if (walIndexReadOnly) {
        name = "file:" + name.toPercentEncoding("/\\:", "") + "?readonly_shm=1";
        flags |= SQLITE_OPEN_URI;
    }
    sqlite3* raw = nullptr;
    const int code = sqlite3_open_v2(name.constData(), &raw, flags, nullptr);
    DatabaseHandle source(raw);
    if (code != SQLITE_OK) {
        if (!raw)
            throw EngineError(EngineStatus::OutOfMemory);
        failWith(code, filePath);
    }
    disableQuotedStrings(source.get());
    sqlite3_busy_timeout(source.get(), kBusyTimeoutMilliseconds);
    return source;
}

std::unique_ptr<FileImage> reserveImage(std::size_t bytes, const QString& filePath)
{
    try {
        return std::make_unique<FileImage>(imageCapacityFor((long long)bytes));
    } catch (const std::bad_alloc&) {
        throw EngineError(EngineStatus::OutOfMemory, {fileContext(filePath)});
    }
}

// The bytes of the database in a file of `fileSize` bytes whose first bytes
// are `header`: page size times page count, never what lies after them.
std::size_t databaseBytesOf(const QByteArray& header, long long fileSize)
{
    DatabaseHeader parsed;
    if (!parseDatabaseHeader(reinterpret_cast<const unsigned char*>(header.constData()), std::size_t(header.size()),
                             &parsed))
        return std::size_t(std::max(0LL, fileSize));
    return std::size_t(std::min<std::uint64_t>(parsed.databaseBytes(fileSize), std::uint64_t(std::max(0LL, fileSize))));
}

// SQLite opening a file reads its text encoding from the field's low bits, but
// attaching one it compares the whole field with the main database's: the
// copy's field says plainly what SQLite reads from the file itself.
void normaliseTextEncoding(unsigned char* image, std::size_t bytes)
{
    if (bytes < 60 || ((image[56] | image[57] | image[58]) == 0 && image[59] <= 3))
        return;
    const int encoding = textEncodingOf(image, bytes);
    image[56] = image[57] = image[58] = 0;
    image[59] = static_cast<unsigned char>(encoding);
}

// The copy in `image` (its first `bytes` bytes) becomes the schema's database.
TableFileCopy adoptImage(sqlite3* work, const char* schema, std::unique_ptr<FileImage> image, std::size_t bytes,
                         const QString& filePath, double lockMilliseconds, int tries)
{
    image->setSize(bytes);
    normaliseTextEncoding(image->data(), bytes);
    const int code = sqlite3_deserialize(work, schema, image->data(), sqlite3_int64(bytes), sqlite3_int64(bytes),
                                         SQLITE_DESERIALIZE_READONLY);
    if (code != SQLITE_OK) {
        // A plain error here comes from the statements it runs inside, which
        // leave their own code with the connection (out of memory, mostly).
        const int inner = sqlite3_extended_errcode(work);
        failWith(code == SQLITE_ERROR && inner != SQLITE_OK ? inner : code, filePath);
    }
    const int encoding = textEncodingOf(image->data(), bytes);
    return TableFileCopy{lockMilliseconds, std::move(image), encoding, tries, std::nullopt};
}

// The committed state copied with no lock at all; nothing when a writer kept
// the file busy (`*tries` tells how often it was tried) or the file is for
// SQLite to read.
std::optional<TableFileCopy> copyWithoutLock(sqlite3* work, const char* schema, const QString& filePath, int* tries,
                                             ImageRoom* room, const CommittedCopyLimits& limits)
{
    std::unique_ptr<FileImage> image;
    CommittedCopy copy;
    platform::FileIdentity identity;
    {
        const platform::OpenFile file(filePath);
        if (!file.isOpen())
            return std::nullopt;
        identity = file.identity();
        LiveFileSource source(file, filePath);
        try {
            copy = copyCommittedState(source, [&](std::size_t bytes) {
                if (!image || image->capacity() < bytes)
                    image = room ? room->take(bytes) : std::make_unique<FileImage>(imageCapacityFor((long long)bytes));
                return image->data();
            }, limits);
        } catch (const std::bad_alloc&) {
            throw EngineError(EngineStatus::OutOfMemory, {fileContext(filePath)});
        }
    }
    *tries = copy.tries;
    // A writer saving all the while: the table stays locked for this read, as
    // when its lock is waited for in vain, and the writer keeps every save.
    if (copy.outcome == CopyOutcome::Saving)
        throw EngineError(EngineStatus::Locked, {fileContext(filePath)});
    if (copy.outcome != CopyOutcome::Copied) {
        if (room)
            room->giveBack(std::move(image));
        return std::nullopt;
    }
    const std::optional<FileProof> proof = proofOfCopy(identity, copy, wallClockNanoseconds());
    TableFileCopy adopted = adoptImage(work, schema, std::move(image), copy.bytes, filePath, 0, copy.tries);
    adopted.proof = proof;
    return adopted;
}

// Reads the database's bytes (page size times page count, as the header
// tells) from `file` into `image`, making more room when the file grew. False
// when they cannot be read; std::bad_alloc when no room can be had.
bool readDatabasePages(const platform::OpenFile& file, std::unique_ptr<FileImage>& image)
{
    const long long size = file.size();
    QByteArray header(100, '\0');
    if (size < 100 || !readExactly(file, 0, reinterpret_cast<unsigned char*>(header.data()), 100))
        header.clear();
    const std::size_t bytes = databaseBytesOf(header, size);
    if (bytes > image->capacity())
        image = std::make_unique<FileImage>(imageCapacityFor((long long)bytes));
    return size >= 0 && image->readFirst(file, bytes);
}

// The engine's message when the table file could not be opened for reading.
void requireOpen(const platform::OpenFile& file, const QString& filePath)
{
    if (!file.isOpen())
        throw EngineError(file.error() == platform::OpenFile::Error::PermissionDenied ? EngineStatus::PermissionDenied
                                                                                        : EngineStatus::ReadError,
                          {fileContext(filePath)});
}

// Waits for a writer's lock at most the busy timeout, and notes when the last
// wait ended: the lock is held from then on, not from the first try.
struct LockWait {
    qint64 limitNs = qint64(kBusyTimeoutMilliseconds) * 1000000;
    QElapsedTimer clock;
    qint64 firstBusyNs = -1;
    qint64 lastWaitEndNs = 0;
};

int waitForWriter(void* context, int)
{
    auto* wait = static_cast<LockWait*>(context);
    const qint64 now = wait->clock.nsecsElapsed();
    if (wait->firstBusyNs < 0)
        wait->firstBusyNs = now;
    if (now - wait->firstBusyNs >= wait->limitNs)
        return 0;
    std::this_thread::sleep_for(std::chrono::milliseconds(1));
    wait->lastWaitEndNs = wait->clock.nsecsElapsed();
    return 1;
}

// Rollback mode: a read transaction holds the shared lock (waiting for a
// writer at most `waitMilliseconds`, and refusing a hot journal) while the
// database's pages are read; no writer changes the file meanwhile. Returns
// how long the lock was held, the wait for it not counted.
double readUnderReadLock(sqlite3* source, const QString& filePath, std::unique_ptr<FileImage>& image,
                         int waitMilliseconds)
{
    // Closed only after the transaction (declared first): closing another
    // handle of the file would give up the locks the process holds on it.
    const platform::OpenFile file(filePath);
    requireOpen(file, filePath);
    LockWait wait;
    wait.limitNs = qint64(std::max(0, waitMilliseconds)) * 1000000;
    sqlite3_busy_handler(source, waitForWriter, &wait);
    int code = sqlite3_exec(source, "BEGIN", nullptr, nullptr, nullptr);
    wait.clock.start();
    if (code == SQLITE_OK)
        code = sqlite3_exec(source, "SELECT count(*) FROM sqlite_schema", nullptr, nullptr, nullptr);
    if (code != SQLITE_OK) {
        const int failed = sqlite3_extended_errcode(source);
        sqlite3_exec(source, "ROLLBACK", nullptr, nullptr, nullptr);
        failWith(failed, filePath);
    }
    bool read = false;
    bool outOfMemory = false;
    try {
        read = readDatabasePages(file, image);
    } catch (const std::bad_alloc&) {
        outOfMemory = true;
    }
    sqlite3_exec(source, "COMMIT", nullptr, nullptr, nullptr);
    const double lockMilliseconds = double(wait.clock.nsecsElapsed() - wait.lastWaitEndNs) / 1e6;
    if (outOfMemory)
        throw EngineError(EngineStatus::OutOfMemory, {fileContext(filePath)});
    if (!read)
        throw EngineError(EngineStatus::ReadError, {fileContext(filePath)});
    return lockMilliseconds;
}

// A rollback-mode file read into memory under the shared lock, which the
// in-memory database reads in place; nothing when the file went over to WAL
// mode since the check.
std::optional<TableFileCopy> copyRollbackFile(sqlite3* work, const char* schema, const QString& filePath,
                                              const QByteArray& header, long long fileSize, int tries,
                                              int waitMilliseconds)
{
    // The room is made ready before the lock is taken.
    std::unique_ptr<FileImage> image = reserveImage(databaseBytesOf(header, fileSize), filePath);
    DatabaseHandle source = openSource(filePath);
    const double lockMilliseconds = readUnderReadLock(source.get(), filePath, image, waitMilliseconds);
    const std::size_t size = image->size();
    if (size >= 20 && image->data()[18] == 2)
        return std::nullopt;
    source.reset();
    return adoptImage(work, schema, std::move(image), size, filePath, lockMilliseconds, tries);
}

// A WAL-mode file whose writers all closed (no -wal file) holds every
// committed page itself, yet SQLite reads it only by making a -wal file. Read
// here under SQLite's SHARED lock, taken by hand: a writer that starts
// meanwhile makes a -wal file, which it may remove only under the EXCLUSIVE
// lock, so no -wal file before and after the read proves that no WAL writer
// touched the pages. Nothing when there is a -wal file (or one came).
std::optional<TableFileCopy> copyClosedWalFile(sqlite3* work, const char* schema, const QString& filePath,
                                               const QByteArray& header, long long fileSize, int tries)
{
    if (walFilePresent(filePath))
        return std::nullopt;
    std::unique_ptr<FileImage> image = reserveImage(databaseBytesOf(header, fileSize), filePath);
    DatabaseHandle source = openSource(filePath);
    bool unchanged = false;
    double lockMilliseconds = 0;
    {
        // Closed after the lock is given up (declared first), as above.
        const platform::OpenFile file(filePath);
        requireOpen(file, filePath);
        const SharedFileLock lock(source.get(), kBusyTimeoutMilliseconds);
        if (lock.code() != SQLITE_OK)
            failWith(lock.code(), filePath);
        try {
            unchanged = !walFilePresent(filePath) && readDatabasePages(file, image) && !walFilePresent(filePath);
        } catch (const std::bad_alloc&) {
            throw EngineError(EngineStatus::OutOfMemory, {fileContext(filePath)});
        }
        lockMilliseconds = lock.heldMilliseconds();
    }
    const std::size_t size = image->size();
    if (!unchanged || size < 20 || image->data()[18] != 2)
        return std::nullopt;
    markRollbackMode(image->data());
    source.reset();
    return adoptImage(work, schema, std::move(image), size, filePath, lockMilliseconds, tries);
}

[[noreturn]] void failWalIndexMissing(const QString& filePath)
{
    throw EngineError(EngineStatus::WalIndexMissing,
                      {fileContext(filePath), fileContext(filePath + QStringLiteral("-shm"))});
}

// WAL mode with frames in the -wal file: the backup copies the database as a
// reader sees it, through SQLite, which must create no file on the way.
// Nothing when the -wal or -shm file is gone: the writer closed meanwhile.
std::optional<TableFileCopy> backupWalFile(sqlite3* work, const char* schema, const QString& filePath,
                                           const QByteArray& header, int tries)
{
    if (!walFilePresent(filePath) || !checkWalIndex(filePath))
        return std::nullopt;
    DatabaseHandle source = openSource(filePath, true);
    sqlite3_backup* backup = sqlite3_backup_init(work, schema, source.get(), "main");
    if (!backup)
        failWith(sqlite3_extended_errcode(work), filePath);
    QElapsedTimer timer;
    timer.start();
    int stepCode = sqlite3_backup_step(backup, -1);
    const double lockMilliseconds = millisecondsSince(timer);
    const int finishCode = sqlite3_backup_finish(backup);
    if (stepCode == SQLITE_DONE)
        stepCode = finishCode;
    if (stepCode != SQLITE_OK) {
        // A plain error code leaves the detail with the source connection.
        const int sourceCode = sqlite3_extended_errcode(source.get());
        const int code = stepCode == SQLITE_ERROR && sourceCode != SQLITE_OK ? sourceCode : stepCode;
        // Unable to open a file it may not create: the -wal or -shm file went.
        // Or the index was caught while the writer rebuilt or reset it, which
        // a read-only reader may not do itself: both are looked at again,
        // within the bound, before the -shm message.
        if ((code & 0xff) == SQLITE_CANTOPEN || statusForSqliteCode(code) == EngineStatus::WalIndexMissing)
            return std::nullopt;
        failWith(code, filePath);
    }
    const auto* bytes = reinterpret_cast<const unsigned char*>(header.constData());
    return TableFileCopy{lockMilliseconds, nullptr, textEncodingOf(bytes, std::size_t(header.size())), tries, std::nullopt};
}

// The checks every read of the table file makes first, in this order; each
// throws with the engine's message.
platform::PathStatus checkBeforeReading(const QString& directory, const QString& filePath)
{
    checkDirectory(directory);
    const platform::PathStatus file = checkTableFile(directory, filePath);
    checkCompanionFiles(filePath);
    return file;
}

} // namespace

int textEncodingOf(const unsigned char* header, std::size_t size)
{
    if (size < 60)
        return 0;
    const std::uint32_t encoding = (std::uint32_t(header[56]) << 24) | (std::uint32_t(header[57]) << 16)
                                   | (std::uint32_t(header[58]) << 8) | std::uint32_t(header[59]);
    // SQLite reads only the field's two low bits, and none set as UTF-8.
    return encoding == 0 ? 0 : (encoding & 3) == 0 ? 1 : int(encoding & 3);
}

bool tableFileUnchanged(const QString& directory, const QString& filePath, const FileProof& proof)
{
    checkBeforeReading(directory, filePath);
    const platform::OpenFile file(filePath);
    if (!file.isOpen())
        return false;
    LiveFileSource source(file, filePath);
    return stillUnchanged(source, file.identity(), proof);
}

TableFileCopy copyTableFile(sqlite3* work, const char* schema, const QString& directory, const QString& filePath,
                            ImageRoom* room, const CommittedCopyLimits& limits)
{
    const platform::PathStatus file = checkBeforeReading(directory, filePath);
    // A WAL-mode writer that closes its last connection removes its -shm and
    // then its -wal file: a look that finds one gone starts again, for a
    // bounded time (a writer descheduled between the two removals on a busy
    // machine leaves the -wal file alone for many milliseconds).
    using Clock = std::chrono::steady_clock;
    const auto started = Clock::now();
    const auto lookUntil = started + std::chrono::milliseconds(250);
    for (;;) {
        int tries = 0;
        if (std::optional<TableFileCopy> copy = copyWithoutLock(work, schema, filePath, &tries, room, limits))
            return std::move(*copy);
        // A writer kept the file busy, or the file is for SQLite to read, which
        // must create no file on the way (a -wal or -shm file gone with its writer).
        const NoFileCreation noNewFiles;
        const QByteArray header = fileHeader(filePath);
        if (!inWalMode(header)) {
            // A read waits for writers about the busy timeout in all: tries
            // that waited longer than their own budget for a journal to
            // commit (where locks cannot be seen) leave the lock the rest.
            const auto waited = std::chrono::duration_cast<std::chrono::milliseconds>(Clock::now() - started).count();
            const int lockWait = kBusyTimeoutMilliseconds - int(std::max<long long>(0, waited - limits.budgetMilliseconds));
            if (std::optional<TableFileCopy> copy =
                    copyRollbackFile(work, schema, filePath, header, file.size, tries, lockWait))
                return std::move(*copy);
        } else if (std::optional<TableFileCopy> copy = copyClosedWalFile(work, schema, filePath, header, file.size, tries)) {
            return std::move(*copy);
        }
        if (std::optional<TableFileCopy> copy = backupWalFile(work, schema, filePath, fileHeader(filePath), tries))
            return std::move(*copy);
        if (Clock::now() >= lookUntil)
            failWalIndexMissing(filePath);
        std::this_thread::sleep_for(std::chrono::milliseconds(2));
    }
}

} // namespace uriage::data
