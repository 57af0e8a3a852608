#include "data/statement_runner.h"

#include "data/column_reading.h"
#include "data/database_path.h"
#include "data/engine_error.h"
#include "data/table_file.h"

#include <sqlite3.h>

#include <memory>
#include <set>

namespace uriage::data {
namespace {

struct DbCloser {
    void operator()(sqlite3* db) const { sqlite3_close_v2(db); }
};
struct StmtFinalizer {
    void operator()(sqlite3_stmt* s) const { sqlite3_finalize(s); }
};
using Db = std::unique_ptr<sqlite3, DbCloser>;
using Stmt = std::unique_ptr<sqlite3_stmt, StmtFinalizer>;

constexpr int kMaxTableFiles = 8;

QString quoted(const QString& identifier)
{
    QString q = identifier;
    q.replace(QChar('"'), QStringLiteral("\"\""));
    return QChar('"') + q + QChar('"');
}

[[noreturn]] void failFromSqlite(sqlite3* db, int code)
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

Db openWorkDatabase()
{
    sqlite3* raw = nullptr;
    const int code = sqlite3_open_v2(":memory:", &raw, SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE | SQLITE_OPEN_EXRESCODE
                                                          | SQLITE_OPEN_MEMORY, nullptr);
    Db db(raw);
    if (code != SQLITE_OK) {
        if (!raw)
            throw engineFailure(EngineStatus::OutOfMemory);
        failFromSqlite(db.get(), code);
    }
    disableQuotedStrings(db.get());
    sqlite3_db_config(db.get(), SQLITE_DBCONFIG_DEFENSIVE, 1, nullptr);
    sqlite3_db_config(db.get(), SQLITE_DBCONFIG_TRUSTED_SCHEMA, 0, nullptr);
    return db;
}

void execute(sqlite3* db, const QString& sql)
{
    const int code = sqlite3_exec(db, sql.toUtf8().constData(), nullptr, nullptr, nullptr);
    if (code != SQLITE_OK)
        failFromSqlite(db, sqlite3_extended_errcode(db));
}

// The table that a missing name stands for: "X.db" is table X in the file X.db,
// a bare X the same; a name qualified by a schema is no table file.
bool tableFileFor(const QString& missing, QString* fileName, QString* tableName)
{
    if (missing.startsWith(QLatin1String("main."), Qt::CaseInsensitive)
        || missing.startsWith(QLatin1String("temp."), Qt::CaseInsensitive) || missing.isEmpty())
        return false;
    if (missing.endsWith(QLatin1String(".db"), Qt::CaseInsensitive)) {
        *fileName = missing;
        *tableName = missing.left(missing.size() - 3);
    } else {
        *fileName = missing + QStringLiteral(".db");
        *tableName = missing;
    }
    return !tableName->isEmpty();
}

// Copies the table file into memory and makes `missing` name its table there.
double loadTableFile(sqlite3* work, int index, const QString& directory, const QString& missing)
{
    QString fileName;
    QString tableName;
    if (!tableFileFor(missing, &fileName, &tableName))
        throw engineFailure(EngineStatus::TableMissing, {{0, tableContext(missing)}});
    const QString schema = QStringLiteral("file%1").arg(index);
    execute(work, QStringLiteral("ATTACH ':memory:' AS ") + schema);
    const QString filePath = findEntry(directory, fileName);
    const TableFileCopy copy = copyTableFile(work, schema.toUtf8().constData(), directory, filePath);

    sqlite3_stmt* raw = nullptr;
    const QString lookup = QStringLiteral("SELECT name FROM %1.sqlite_schema WHERE type IN ('table','view') AND name = ?1 COLLATE NOCASE").arg(schema);
    int code = sqlite3_prepare_v2(work, lookup.toUtf8().constData(), -1, &raw, nullptr);
    Stmt stmt(raw);
    if (code != SQLITE_OK) {
        // The copy's schema cannot be read: the file is no database.
        throw engineFailure(EngineStatus::NotADatabase, {{0, fileContext(filePath)}});
    }
    const QByteArray tableUtf8 = tableName.toUtf8();
    sqlite3_bind_text(stmt.get(), 1, tableUtf8.constData(), int(tableUtf8.size()), SQLITE_TRANSIENT);
    code = sqlite3_step(stmt.get());
    if (code != SQLITE_ROW) {
        if (code == SQLITE_DONE)
            throw engineFailure(EngineStatus::TableMissing, {{0, tableContext(tableName)}, {0, fileContext(filePath)}});
        throw engineFailure(EngineStatus::NotADatabase, {{0, fileContext(filePath)}});
    }
    const QString actualName = QString::fromUtf8(reinterpret_cast<const char*>(sqlite3_column_text(stmt.get(), 0)));
    stmt.reset();
    execute(work, QStringLiteral("CREATE TEMP VIEW %1 AS SELECT * FROM %2.%3").arg(quoted(missing), schema, quoted(actualName)));
    return copy.lockMilliseconds;
}

StoredValue storedValue(sqlite3_stmt* stmt, int column)
{
    StoredValue v;
    switch (sqlite3_column_type(stmt, column)) {
    case SQLITE_INTEGER:
        v.kind = StoredValue::Kind::Integer;
        v.integer = sqlite3_column_int64(stmt, column);
        break;
    case SQLITE_FLOAT:
        v.kind = StoredValue::Kind::Real;
        v.real = sqlite3_column_double(stmt, column);
        break;
    case SQLITE_TEXT: {
        v.kind = StoredValue::Kind::Text;
        const auto* text = reinterpret_cast<const char*>(sqlite3_column_text(stmt, column));
        v.bytes = QByteArray(text, sqlite3_column_bytes(stmt, column));
        break;
    }
    case SQLITE_BLOB: {
        v.kind = StoredValue::Kind::Blob;
        const auto* blob = static_cast<const char*>(sqlite3_column_blob(stmt, column));
        v.bytes = QByteArray(blob, sqlite3_column_bytes(stmt, column));
        break;
    }
    default:
        break;
    }
    return v;
}

} // namespace

StatementResult runStatement(const QString& directory, const QString& sql)
{
    StatementResult result;
    Db work = openWorkDatabase();
    const QByteArray sqlUtf8 = sql.toUtf8();

    Stmt stmt;
    std::set<QString> loaded;
    for (int attempt = 0;; ++attempt) {
        sqlite3_stmt* raw = nullptr;
        const int code = sqlite3_prepare_v3(work.get(), sqlUtf8.constData(), int(sqlUtf8.size()), 0, &raw, nullptr);
        stmt.reset(raw);
        if (code == SQLITE_OK)
            break;
        const QString text = QString::fromUtf8(sqlite3_errmsg(work.get()));
        if (!text.startsWith(QLatin1String("no such table: ")) || attempt >= kMaxTableFiles)
            failFromSqlite(work.get(), sqlite3_extended_errcode(work.get()));
        const QString missing = text.mid(15);
        if (!loaded.insert(missing.toLower()).second)
            failFromSqlite(work.get(), sqlite3_extended_errcode(work.get()));
        result.lockMilliseconds += loadTableFile(work.get(), attempt + 1, directory, missing);
    }
    if (!stmt || sqlite3_column_count(stmt.get()) == 0 || !sqlite3_stmt_readonly(stmt.get()))
        throw Failure(noCursorMessage());

    const int columnCount = sqlite3_column_count(stmt.get());
    for (int c = 0; c < columnCount; ++c) {
        const char* declared = sqlite3_column_decltype(stmt.get(), c);
        result.table.columns.push_back(describeResultColumn(QString::fromUtf8(sqlite3_column_name(stmt.get(), c)),
                                                            declared ? QString::fromUtf8(declared) : QString()));
    }

    for (;;) {
        const int code = sqlite3_step(stmt.get());
        if (code == SQLITE_DONE)
            break;
        if (code != SQLITE_ROW)
            failFromSqlite(work.get(), sqlite3_extended_errcode(work.get()));
        Row row;
        row.reserve(columnCount);
        for (int c = 0; c < columnCount; ++c) {
            const ColumnInfo& column = result.table.columns[c];
            const StoredValue stored = storedValue(stmt.get(), c);
            std::optional<Value> value = readValue(stored, column.type);
            if (!value) {
                const bool floating = column.type == FieldType::Float || column.type == FieldType::Currency;
                if (floating && stored.kind == StoredValue::Kind::Real)
                    throw engineFailure(EngineStatus::TotalTooLarge, {{0, columnContext(column.name)}});
                throw engineFailure(EngineStatus::ValueNotOfType,
                                    {{0, columnContext(column.name)}, {0, valueContext(storedValueText(stored))}});
            }
            row.push_back(std::move(*value));
        }
        result.table.rows.push_back(std::move(row));
    }
    return result;
}

} // namespace uriage::data
