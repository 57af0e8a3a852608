#include "data/sqlite/sqlite_status.h"

#include "data/engine_error.h"

#include <QString>
#include <sqlite3.h>

namespace uriage::data {

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
    case SQLITE_INTERRUPT:
        // Only the statement's time limit interrupts it.
        return std::uint16_t(EngineStatus::TimeLimit);
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

void failFromSqlite(sqlite3* db, int code)
{
    const QString text = QString::fromUtf8(sqlite3_errmsg(db));
    if (text.startsWith(QLatin1String("no such column: ")))
        throw engineFailure(EngineStatus::ColumnMissing, {{0, columnContext(text.mid(16))}});
    if (text.startsWith(QLatin1String("no such table: ")))
        throw engineFailure(EngineStatus::TableMissing, {{0, tableContext(text.mid(15))}});
    if (text.contains(QLatin1String("integer overflow")))
        throw engineFailure(EngineStatus::TotalTooLarge);
    if (const std::uint16_t status = statusForSqliteCode(code))
        throw engineFailure(status);
    if ((code & 0xff) == SQLITE_ERROR || (code & 0xff) == SQLITE_RANGE || (code & 0xff) == SQLITE_MISMATCH)
        throw engineFailure(EngineStatus::SqlRefused, {{0, text}});
    throw engineFailure(std::uint16_t(code & 0xffff));
}

} // namespace uriage::data
