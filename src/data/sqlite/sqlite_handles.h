#pragma once
// Owning handles for SQLite's connections and statements, and the quoting of
// identifiers written into SQL text.
#include <QString>
#include <sqlite3.h>

#include <memory>

namespace uriage::data {

struct DatabaseCloser {
    void operator()(sqlite3* db) const { sqlite3_close_v2(db); }
};
struct StatementFinalizer {
    void operator()(sqlite3_stmt* stmt) const { sqlite3_finalize(stmt); }
};
using DatabaseHandle = std::unique_ptr<sqlite3, DatabaseCloser>;
using StatementHandle = std::unique_ptr<sqlite3_stmt, StatementFinalizer>;

// `identifier` in double quotes, its own double quotes doubled.
inline QString quotedIdentifier(const QString& identifier)
{
    QString q = identifier;
    q.replace(QChar('"'), QStringLiteral("\"\""));
    return QChar('"') + q + QChar('"');
}

// Turns double-quoted string literals off, so that a misspelt double-quoted
// column is an error rather than a text.
inline void disableQuotedStrings(sqlite3* db)
{
    sqlite3_db_config(db, SQLITE_DBCONFIG_DQS_DML, 0, nullptr);
    sqlite3_db_config(db, SQLITE_DBCONFIG_DQS_DDL, 0, nullptr);
}

} // namespace uriage::data
