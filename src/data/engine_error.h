#pragma once
// The engine's one failure type: a status and its details. The message the
// user reads is formed from them in one place: the status's own text, then
// each detail's text and context line (a path, a table or a column), every
// distinct line once, joined by line breaks.
#include "common/failure.h"

#include <QString>
#include <cstdint>
#include <optional>
#include <vector>

namespace uriage::data {

// The engine's own status codes (four hexadecimal digits in messages). A
// result code of the database library that has none of its own travels as
// its own number, which the message then shows.
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
    NoCursor = 0x2207,           // the statement ran but yields no rows to read
    ReadError = 0x2301,
    TimeLimit = 0x2302,          // a statement ran past its time limit
    OutOfMemory = 0x2501,
};

// The engine's text for a status; empty for a status it has no text for.
QString engineStatusText(EngineStatus status);

struct EngineDetail {
    // A context line alone.
    EngineDetail(QString contextLine) : context(std::move(contextLine)) {}
    EngineDetail(EngineStatus detailStatus, QString contextLine)
        : status(detailStatus), context(std::move(contextLine)) {}

    std::optional<EngineStatus> status;
    QString context;
};

class EngineError : public Failure {
public:
    EngineError(EngineStatus status, std::vector<EngineDetail> details = {});

    // The engine itself could not start: status 2108, 2501 or 2109.
    static EngineError whileStarting(EngineStatus status);

    EngineStatus status() const { return status_; }
    const std::vector<EngineDetail>& details() const { return details_; }
    bool startFailed() const { return startFailed_; }

private:
    EngineError(EngineStatus status, std::vector<EngineDetail> details, bool startFailed);

    EngineStatus status_;
    std::vector<EngineDetail> details_;
    bool startFailed_;
};

// Context lines.
QString directoryContext(const QString& path);
QString fileContext(const QString& path);
QString tableContext(const QString& name);
QString columnContext(const QString& name);
QString valueContext(const QString& value);

} // namespace uriage::data
