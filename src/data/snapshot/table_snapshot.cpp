#include "data/snapshot/table_snapshot.h"

#include "data/engine_error.h"
#include "data/snapshot/file_checks.h"
#include "data/sqlite/sqlite_handles.h"
#include "data/sqlite/sqlite_status.h"

#include <QElapsedTimer>

#include <new>
#include <optional>

namespace uriage::data {
namespace {

[[noreturn]] void failWith(int code, const QString& filePath)
{
    std::uint16_t status = statusForSqliteCode(code);
    std::vector<EngineDetail> details{{0, fileContext(filePath)}};
    if (status == std::uint16_t(EngineStatus::WalIndexMissing))
        details.push_back({0, fileContext(filePath + QStringLiteral("-shm"))});
    if (status == 0) {
        status = std::uint16_t(code & 0xffff);
        details.clear();
    }
    throw engineFailure(status, std::move(details));
}

double millisecondsSince(const QElapsedTimer& timer) { return double(timer.nsecsElapsed()) / 1e6; }

// Read-only on the plain path: never creates the file, never immutable or
// without locks (both could read a half-written file).
DatabaseHandle openSource(const QString& filePath)
{
    sqlite3* raw = nullptr;
    const int code = sqlite3_open_v2(platform::pathBytes(filePath).constData(), &raw,
                                     SQLITE_OPEN_READONLY | SQLITE_OPEN_EXRESCODE, nullptr);
    DatabaseHandle source(raw);
    if (code != SQLITE_OK) {
        if (!raw)
            throw engineFailure(EngineStatus::OutOfMemory);
        failWith(code, filePath);
    }
    disableQuotedStrings(source.get());
    sqlite3_busy_timeout(source.get(), kBusyTimeoutMilliseconds);
    return source;
}

std::unique_ptr<FileImage> reserveImage(long long fileSize, const QString& filePath)
{
    try {
        return std::make_unique<FileImage>(imageCapacityFor(fileSize));
    } catch (const std::bad_alloc&) {
        throw engineFailure(EngineStatus::OutOfMemory, {{0, fileContext(filePath)}});
    }
}

// Reads the whole file into `image`, into a larger one when a writer added
// more than the room allows since the check. Throws std::bad_alloc.
FileImage::ReadOutcome readGrowing(const platform::OpenFile& file, std::unique_ptr<FileImage>& image)
{
    FileImage::ReadOutcome outcome = image->readFrom(file);
    if (outcome == FileImage::ReadOutcome::TooLarge) {
        const long long grown = file.size();
        if (grown >= 0) {
            image = std::make_unique<FileImage>(imageCapacityFor(grown));
            outcome = image->readFrom(file);
        }
    }
    return outcome;
}

// Rollback mode: a read transaction holds the shared lock (waiting for a
// writer at most the busy timeout, and refusing a hot journal) while the
// file's bytes are read; no writer changes the file meanwhile. Returns how
// long the lock was held.
double readUnderReadLock(sqlite3* source, const QString& filePath, std::unique_ptr<FileImage>& image)
{
    // Closed only after the transaction (declared first): closing another
    // handle of the file would give up the locks the process holds on it.
    const platform::OpenFile file(filePath);
    if (!file.isOpen())
        throw engineFailure(file.error() == platform::OpenFile::Error::PermissionDenied ? EngineStatus::PermissionDenied
                                                                                          : EngineStatus::ReadError,
                            {{0, fileContext(filePath)}});
    QElapsedTimer timer;
    int code = sqlite3_exec(source, "BEGIN", nullptr, nullptr, nullptr);
    timer.start();
    if (code == SQLITE_OK)
        code = sqlite3_exec(source, "SELECT count(*) FROM sqlite_schema", nullptr, nullptr, nullptr);
    if (code != SQLITE_OK) {
        const int failed = sqlite3_extended_errcode(source);
        sqlite3_exec(source, "ROLLBACK", nullptr, nullptr, nullptr);
        failWith(failed, filePath);
    }
    FileImage::ReadOutcome outcome = FileImage::ReadOutcome::Failed;
    bool outOfMemory = false;
    try {
        outcome = readGrowing(file, image);
    } catch (const std::bad_alloc&) {
        outOfMemory = true;
    }
    sqlite3_exec(source, "COMMIT", nullptr, nullptr, nullptr);
    const double lockMilliseconds = millisecondsSince(timer);
    if (outOfMemory)
        throw engineFailure(EngineStatus::OutOfMemory, {{0, fileContext(filePath)}});
    if (outcome != FileImage::ReadOutcome::Complete)
        throw engineFailure(EngineStatus::ReadError, {{0, fileContext(filePath)}});
    return lockMilliseconds;
}

// A rollback-mode file read into memory that the in-memory database reads in
// place; nothing when the file went over to WAL mode since the check.
std::optional<TableFileCopy> copyRollbackFile(sqlite3* work, const char* schema, DatabaseHandle& source,
                                              const QString& filePath, long long fileSize)
{
    // The room is made ready before the lock is taken.
    std::unique_ptr<FileImage> image = reserveImage(fileSize, filePath);
    const double lockMilliseconds = readUnderReadLock(source.get(), filePath, image);
    const std::size_t size = image->size();
    if (size >= 20 && image->data()[18] == 2)
        return std::nullopt;
    source.reset();
    const int code = sqlite3_deserialize(work, schema, image->data(), sqlite3_int64(size), sqlite3_int64(size),
                                         SQLITE_DESERIALIZE_READONLY);
    if (code != SQLITE_OK)
        failWith(code, filePath);
    const int encoding = textEncodingOf(image->data(), size);
    return TableFileCopy{lockMilliseconds, std::move(image), encoding};
}

// WAL mode: the committed pages may lie in the -wal file; the backup copies
// the database as a reader sees it.
TableFileCopy backupWalFile(sqlite3* work, const char* schema, sqlite3* source, const QString& filePath,
                            const QByteArray& header)
{
    sqlite3_backup* backup = sqlite3_backup_init(work, schema, source, "main");
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
        const int sourceCode = sqlite3_extended_errcode(source);
        failWith(stepCode == SQLITE_ERROR && sourceCode != SQLITE_OK ? sourceCode : stepCode, filePath);
    }
    const auto* bytes = reinterpret_cast<const unsigned char*>(header.constData());
    return TableFileCopy{lockMilliseconds, nullptr, textEncodingOf(bytes, std::size_t(header.size()))};
}

} // namespace

int textEncodingOf(const unsigned char* header, std::size_t size)
{
    if (size < 60)
        return 0;
    const std::uint32_t encoding = (std::uint32_t(header[56]) << 24) | (std::uint32_t(header[57]) << 16)
                                   | (std::uint32_t(header[58]) << 8) | std::uint32_t(header[59]);
    return encoding >= 1 && encoding <= 3 ? int(encoding) : 0;
}

TableFileCopy copyTableFile(sqlite3* work, const char* schema, const QString& directory, const QString& filePath)
{
    checkDirectory(directory);
    const platform::PathStatus file = checkTableFile(directory, filePath);
    const QByteArray header = fileHeader(filePath);
    const bool wal = inWalMode(header);
    if (wal)
        checkWalIndex(directory, filePath, file);
    DatabaseHandle source = openSource(filePath);
    if (!wal) {
        if (std::optional<TableFileCopy> copy = copyRollbackFile(work, schema, source, filePath, file.size))
            return std::move(*copy);
    }
    return backupWalFile(work, schema, source.get(), filePath, header);
}

} // namespace uriage::data
