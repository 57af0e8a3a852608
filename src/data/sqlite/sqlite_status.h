#pragma once
// SQLite's result codes as the engine's failures, decided by the codes alone.
#include "data/engine_error.h"

#include <optional>

struct sqlite3;

namespace uriage::data {

// The engine status for an SQLite result code (extended codes included);
// nothing when the code has no status of its own.
std::optional<EngineStatus> statusForSqliteCode(int code);

// A result code without a status of its own, carried as its own number.
EngineStatus unlistedStatus(int code);

// Throws the engine failure for the error `code` that `db` reports. A
// statement refused for what it says carries SQLite's own text as its detail.
[[noreturn]] void failFromSqlite(sqlite3* db, int code);

} // namespace uriage::data
