#include "data/sqlite/sqlite_status.h"

#include "data/engine_error.h"

#include <QString>
#include <sqlite3.h>

namespace uriage::data {

std::optional<EngineStatus> statusForSqliteCode(int code)
{
    switch (code) {
    case SQLITE_BUSY:
    case SQLITE_BUSY_RECOVERY:
    case SQLITE_BUSY_SNAPSHOT:
    case SQLITE_BUSY_TIMEOUT:
    case SQLITE_LOCKED:
    case SQLITE_LOCKED_SHAREDCACHE:
        return EngineStatus::Locked;
    case SQLITE_READONLY_ROLLBACK:
        return EngineStatus::InterruptedWrite;
    case SQLITE_READONLY_CANTINIT:
    case SQLITE_READONLY_RECOVERY:
    case SQLITE_READONLY_CANTLOCK:
    case SQLITE_READONLY_DIRECTORY:
    case SQLITE_IOERR_SHMOPEN:
    case SQLITE_IOERR_SHMSIZE:
    case SQLITE_IOERR_SHMMAP:
    case SQLITE_IOERR_SHMLOCK:
        return EngineStatus::WalIndexMissing;
    case SQLITE_CANTOPEN:
    case SQLITE_CANTOPEN_NOTEMPDIR:
    case SQLITE_CANTOPEN_DIRTYWAL:
        return EngineStatus::TableFileMissing;
    case SQLITE_NOTADB:
    case SQLITE_CORRUPT:
    case SQLITE_CORRUPT_INDEX:
    case SQLITE_CORRUPT_SEQUENCE:
    case SQLITE_CORRUPT_VTAB:
    case SQLITE_FORMAT:
        return EngineStatus::NotADatabase;
    case SQLITE_PERM:
    case SQLITE_AUTH:
    case SQLITE_CANTOPEN_ISDIR:
        return EngineStatus::PermissionDenied;
    case SQLITE_NOMEM:
    case SQLITE_IOERR_NOMEM:
    case SQLITE_FULL:
        return EngineStatus::OutOfMemory;
    case SQLITE_TOOBIG:
        return EngineStatus::TotalTooLarge;
    case SQLITE_INTERRUPT:
        // Only the statement's time limit interrupts it.
        return EngineStatus::TimeLimit;
    default:
        break;
    }
    if ((code & 0xff) == SQLITE_IOERR)
        return EngineStatus::ReadError;
    if ((code & 0xff) == SQLITE_CORRUPT)
        return EngineStatus::NotADatabase;
    if ((code & 0xff) == SQLITE_BUSY)
        return EngineStatus::Locked;
    return std::nullopt;
}

EngineStatus unlistedStatus(int code) { return static_cast<EngineStatus>(code & 0xffff); }

void failFromSqlite(sqlite3* db, int code)
{
    if (const std::optional<EngineStatus> status = statusForSqliteCode(code))
        throw EngineError(*status);
    // A statement refused for what it says: SQLite's own text tells the user
    // which part; it is shown, never read.
    if ((code & 0xff) == SQLITE_ERROR || (code & 0xff) == SQLITE_RANGE || (code & 0xff) == SQLITE_MISMATCH)
        throw EngineError(EngineStatus::SqlRefused, {QString::fromUtf8(sqlite3_errmsg(db))});
    throw EngineError(unlistedStatus(code));
}

} // namespace uriage::data
