#pragma once
// SQLite's result codes and messages as the engine's failures.
#include <cstdint>

struct sqlite3;

namespace uriage::data {

// The engine status for an SQLite result code (extended codes included);
// 0 when the code has no status of its own.
std::uint16_t statusForSqliteCode(int code);

// Throws the engine failure for the error `code` that `db` reports: a missing
// column or table named as such, an integer overflow as a total too large,
// other refusals of the statement with SQLite's own text.
[[noreturn]] void failFromSqlite(sqlite3* db, int code);

} // namespace uriage::data
