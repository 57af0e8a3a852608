#pragma once
// The engine's failure statuses and the message text built from them: the
// status's own text, then each detail's text and context line (a path, a table
// or a column), every distinct line once, joined by line breaks.
#include "common/failure.h"

#include <QString>
#include <cstdint>
#include <vector>

namespace uriage::data {

// The engine's own status codes (four hexadecimal digits in messages).
enum class EngineStatus : std::uint16_t {
    DirectoryMissing = 0x2101,
    TableFileMissing = 0x2102,
    NotADatabase = 0x2103,
    Locked = 0x2104,
    InterruptedWrite = 0x2105,   // a hot journal left by a writer that crashed
    PermissionDenied = 0x2106,
    WalIndexMissing = 0x2107,
    StartLibraryMissing = 0x2108,
    StartFailed = 0x2109,
    UnknownDatabase = 0x210A,
    NotARegularFile = 0x210B,    // a pipe, a device or a directory where a file belongs
    ColumnMissing = 0x2201,
    TableMissing = 0x2202,
    SqlRefused = 0x2203,
    TotalTooLarge = 0x2204,
    ValueNotOfType = 0x2205,
    NotATable = 0x2206,          // a view or another object under the table's name
    ReadError = 0x2301,
    TimeLimit = 0x2302,          // a statement ran past its time limit
    OutOfMemory = 0x2501,
};

// The engine's text for a status; empty for a status it has no text for.
QString engineStatusText(std::uint16_t status);

struct EngineDetail {
    std::uint16_t status = 0;   // 0: the detail carries only its context
    QString context;
};

struct EngineError {
    std::uint16_t status = 0;
    std::vector<EngineDetail> details;

    // The message the user reads.
    QString message() const;
};

// Context lines.
QString directoryContext(const QString& path);
QString fileContext(const QString& path);
QString tableContext(const QString& name);
QString columnContext(const QString& name);
QString valueContext(const QString& value);

// A Failure carrying the engine error's message.
Failure engineFailure(EngineStatus status, std::vector<EngineDetail> details = {});
Failure engineFailure(std::uint16_t status, std::vector<EngineDetail> details = {});

// The message when the engine cannot start: status 2108, 2501 or 2109.
QString engineStartMessage(std::uint16_t status);

// When a statement runs but yields no cursor.
QString noCursorMessage();

} // namespace uriage::data
