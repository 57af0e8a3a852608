#include "data/table_file.h"

#include "data/engine_error.h"

#include <QElapsedTimer>
#include <QFile>
#include <fcntl.h>
#include <sqlite3.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <memory>
#include <new>

namespace uriage::data {

void disableQuotedStrings(sqlite3* db)
{
    sqlite3_db_config(db, SQLITE_DBCONFIG_DQS_DML, 0, nullptr);
    sqlite3_db_config(db, SQLITE_DBCONFIG_DQS_DDL, 0, nullptr);
}

std::uint16_t statusForSqliteCode(int code)
{
    switch (code) {
    case SQLITE_BUSY:
    case SQLITE_BUSY_RECOVERY:
    case SQLITE_BUSY_SNAPSHOT:
    case SQLITE_BUSY_TIMEOUT:
    case SQLITE_LOCKED:
    case SQLITE_LOCKED_SHAREDCACHE:
        return std::uint16_t(EngineStatus::Locked);
    case SQLITE_READONLY_ROLLBACK:
        return std::uint16_t(EngineStatus::InterruptedWrite);
    case SQLITE_READONLY_CANTINIT:
    case SQLITE_READONLY_RECOVERY:
    case SQLITE_READONLY_CANTLOCK:
    case SQLITE_READONLY_DIRECTORY:
    case SQLITE_IOERR_SHMOPEN:
    case SQLITE_IOERR_SHMSIZE:
    case SQLITE_IOERR_SHMMAP:
    case SQLITE_IOERR_SHMLOCK:
        return std::uint16_t(EngineStatus::WalIndexMissing);
    case SQLITE_CANTOPEN:
    case SQLITE_CANTOPEN_NOTEMPDIR:
    case SQLITE_CANTOPEN_DIRTYWAL:
        return std::uint16_t(EngineStatus::TableFileMissing);
    case SQLITE_NOTADB:
    case SQLITE_CORRUPT:
    case SQLITE_CORRUPT_INDEX:
    case SQLITE_CORRUPT_SEQUENCE:
    case SQLITE_CORRUPT_VTAB:
    case SQLITE_FORMAT:
        return std::uint16_t(EngineStatus::NotADatabase);
    case SQLITE_PERM:
    case SQLITE_AUTH:
    case SQLITE_CANTOPEN_ISDIR:
        return std::uint16_t(EngineStatus::PermissionDenied);
    case SQLITE_NOMEM:
    case SQLITE_IOERR_NOMEM:
    case SQLITE_FULL:
        return std::uint16_t(EngineStatus::OutOfMemory);
    case SQLITE_TOOBIG:
        return std::uint16_t(EngineStatus::TotalTooLarge);
    default:
        break;
    }
    if ((code & 0xff) == SQLITE_IOERR)
        return std::uint16_t(EngineStatus::ReadError);
    if ((code & 0xff) == SQLITE_CORRUPT)
        return std::uint16_t(EngineStatus::NotADatabase);
    if ((code & 0xff) == SQLITE_BUSY)
        return std::uint16_t(EngineStatus::Locked);
    return 0;
}

namespace {

struct SourceCloser {
    void operator()(sqlite3* db) const { sqlite3_close_v2(db); }
};
using Source = std::unique_ptr<sqlite3, SourceCloser>;

QByteArray nativePath(const QString& path) { return QFile::encodeName(path); }

bool accessible(const QByteArray& path, int mode)
{
    return faccessat(AT_FDCWD, path.constData(), mode, AT_EACCESS) == 0;
}

// The first bytes of the file: the database header.
QByteArray fileHeader(const QString& filePath)
{
    QFile file(filePath);
    if (!file.open(QIODevice::ReadOnly))
        return {};
    return file.read(100);
}

// A file whose write version (header byte 18) is 2 is in WAL mode.
bool inWalMode(const QByteArray& header)
{
    return header.size() >= 20 && header.startsWith("SQLite format 3") && header[18] == 2;
}

[[noreturn]] void failWith(int code, const QString& filePath, const QString& directory)
{
    std::uint16_t status = statusForSqliteCode(code);
    std::vector<EngineDetail> details{{0, fileContext(filePath)}};
    if (status == std::uint16_t(EngineStatus::WalIndexMissing))
        details.push_back({0, fileContext(filePath + QStringLiteral("-shm"))});
    if (status == 0) {
        status = std::uint16_t(code & 0xffff);
        details.clear();
    }
    Q_UNUSED(directory);
    throw engineFailure(status, std::move(details));
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
    const QByteArray dir = nativePath(directory);
    const QByteArray file = nativePath(filePath);

    struct stat dirStat {};
    if (stat(dir.constData(), &dirStat) != 0) {
        if (errno == EACCES)
            throw engineFailure(EngineStatus::PermissionDenied, {{0, directoryContext(directory)}});
        throw engineFailure(EngineStatus::DirectoryMissing, {{0, directoryContext(directory)}});
    }
    if (!S_ISDIR(dirStat.st_mode))
        throw engineFailure(EngineStatus::DirectoryMissing, {{0, directoryContext(directory)}});
    if (!accessible(dir, X_OK))
        throw engineFailure(EngineStatus::PermissionDenied, {{0, directoryContext(directory)}});

    struct stat fileStat {};
    if (stat(file.constData(), &fileStat) != 0) {
        if (errno == EACCES)
            throw engineFailure(EngineStatus::PermissionDenied, {{0, directoryContext(directory)}});
        throw engineFailure(EngineStatus::TableFileMissing, {{0, fileContext(filePath)}});
    }
    if (S_ISDIR(fileStat.st_mode) || !S_ISREG(fileStat.st_mode))
        throw engineFailure(EngineStatus::NotADatabase, {{0, fileContext(filePath)}});
    if (!accessible(file, R_OK))
        throw engineFailure(EngineStatus::PermissionDenied, {{0, fileContext(filePath)}});

    // A WAL-mode file needs its shared-memory file. When it is absent, SQLite
    // would create it (and the -wal file) in the data directory: allowed only
    // when they will belong to the table file's owner (SQLite hands files it
    // creates as root over to that owner) and the directory takes them.
    const QByteArray header = fileHeader(filePath);
    const bool wal = inWalMode(header);
    if (wal) {
        const QByteArray shm = file + "-shm";
        struct stat shmStat {};
        if (stat(shm.constData(), &shmStat) != 0) {
            const uid_t me = geteuid();
            if ((me != 0 && me != fileStat.st_uid) || !accessible(dir, W_OK | X_OK))
                throw engineFailure(EngineStatus::WalIndexMissing,
                                    {{0, fileContext(filePath)}, {0, fileContext(filePath + QStringLiteral("-shm"))}});
        } else if (!accessible(shm, R_OK)) {
            throw engineFailure(EngineStatus::PermissionDenied, {{0, fileContext(filePath + QStringLiteral("-shm"))}});
        }
    }

    // Read-only on the plain path: never creates the file, never immutable or
    // without locks (both could read a half-written file).
    sqlite3* raw = nullptr;
    const int openCode = sqlite3_open_v2(file.constData(), &raw, SQLITE_OPEN_READONLY | SQLITE_OPEN_EXRESCODE, nullptr);
    Source source(raw);
    if (openCode != SQLITE_OK) {
        if (!raw)
            throw engineFailure(EngineStatus::OutOfMemory);
        failWith(openCode, filePath, directory);
    }
    disableQuotedStrings(source.get());
    sqlite3_busy_timeout(source.get(), kBusyTimeoutMilliseconds);

    QElapsedTimer timer;
    if (!wal) {
        // Rollback mode: a read transaction holds the shared lock (waiting for a
        // writer at most the busy timeout, and refusing a hot journal) while the
        // file's bytes are read; no writer changes the file meanwhile. The room
        // for the bytes is made ready before the lock is taken.
        std::unique_ptr<FileImage> image;
        try {
            image = std::make_unique<FileImage>(imageCapacityFor(fileStat.st_size));
        } catch (const std::bad_alloc&) {
            throw engineFailure(EngineStatus::OutOfMemory, {{0, fileContext(filePath)}});
        }
        const int fd = ::open(file.constData(), O_RDONLY | O_CLOEXEC);
        if (fd < 0)
            throw engineFailure(errno == EACCES ? EngineStatus::PermissionDenied : EngineStatus::ReadError,
                                {{0, fileContext(filePath)}});
        int code = sqlite3_exec(source.get(), "BEGIN", nullptr, nullptr, nullptr);
        timer.start();
        if (code == SQLITE_OK)
            code = sqlite3_exec(source.get(), "SELECT count(*) FROM sqlite_schema", nullptr, nullptr, nullptr);
        if (code != SQLITE_OK) {
            const int failed = sqlite3_extended_errcode(source.get());
            sqlite3_exec(source.get(), "ROLLBACK", nullptr, nullptr, nullptr);
            ::close(fd);
            failWith(failed, filePath, directory);
        }
        bool read = false;
        bool outOfMemory = false;
        try {
            read = image->readFrom(fd);
            if (!read && errno == EFBIG) {
                // The writer added more than the room allows since the check.
                struct stat grown {};
                if (fstat(fd, &grown) == 0) {
                    image = std::make_unique<FileImage>(imageCapacityFor(grown.st_size));
                    read = image->readFrom(fd);
                }
            }
        } catch (const std::bad_alloc&) {
            outOfMemory = true;
        }
        sqlite3_exec(source.get(), "COMMIT", nullptr, nullptr, nullptr);
        const double lockMs = double(timer.nsecsElapsed()) / 1e6;
        // Closed only now: closing another descriptor of the file would give
        // up the locks the process holds on it.
        ::close(fd);
        if (outOfMemory)
            throw engineFailure(EngineStatus::OutOfMemory, {{0, fileContext(filePath)}});
        if (!read)
            throw engineFailure(EngineStatus::ReadError, {{0, fileContext(filePath)}});
        // Unless the file went over to WAL mode since the check, the bytes are
        // the database, read in place by the in-memory database.
        const std::size_t size = image->size();
        if (!(size >= 20 && image->data()[18] == 2)) {
            source.reset();
            code = sqlite3_deserialize(work, schema, image->data(), sqlite3_int64(size), sqlite3_int64(size),
                                       SQLITE_DESERIALIZE_READONLY);
            if (code != SQLITE_OK)
                failWith(code, filePath, directory);
            const int encoding = textEncodingOf(image->data(), size);
            return TableFileCopy{lockMs, std::move(image), encoding};
        }
    }

    // WAL mode: the committed pages may lie in the -wal file; the backup copies
    // the database as a reader sees it.
    sqlite3_backup* backup = sqlite3_backup_init(work, schema, source.get(), "main");
    if (!backup)
        failWith(sqlite3_extended_errcode(work), filePath, directory);
    timer.start();
    int stepCode = sqlite3_backup_step(backup, -1);
    const double lockMs = double(timer.nsecsElapsed()) / 1e6;
    const int finishCode = sqlite3_backup_finish(backup);
    if (stepCode == SQLITE_DONE)
        stepCode = finishCode;
    if (stepCode != SQLITE_OK) {
        // A plain error code leaves the detail with the source connection.
        const int sourceCode = sqlite3_extended_errcode(source.get());
        failWith(stepCode == SQLITE_ERROR && sourceCode != SQLITE_OK ? sourceCode : stepCode, filePath, directory);
    }
    return TableFileCopy{lockMs, nullptr,
                         textEncodingOf(reinterpret_cast<const unsigned char*>(header.constData()),
                                        std::size_t(header.size()))};
}

} // namespace uriage::data
