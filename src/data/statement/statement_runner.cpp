#include "data/statement_runner.h"

#include "data/column_reading.h"
#include "data/database_path.h"
#include "data/engine_error.h"
#include "data/receipt_scan.h"
#include "data/table_file.h"

#include <sqlite3.h>

#include <memory>
#include <set>
#include <vector>

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

void execute(sqlite3* db, const QString& sql);

// The table file stores texts in another encoding than the work database:
// the run starts again with a work database of that encoding (SQLite attaches
// only databases of its own encoding).
struct EncodingMismatch {
    int encoding;
};

const char* encodingName(int encoding)
{
    switch (encoding) {
    case 2:
        return "UTF-16le";
    case 3:
        return "UTF-16be";
    default:
        return "UTF-8";
    }
}

Db openWorkDatabase(int encoding)
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
    if (encoding != 1)
        execute(db.get(), QStringLiteral("PRAGMA encoding='%1'").arg(QLatin1String(encodingName(encoding))));
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

// A table file copied into memory: the name the statement uses for it, and
// where its table lies in the work database.
struct LoadedTable {
    QString view;
    QString schema;
    QString table;
};

// The copy's schema cannot be read: the file is no database, unless SQLite ran
// out of memory on the way.
[[noreturn]] void failReadingSchema(int code, const QString& filePath)
{
    if (statusForSqliteCode(code) == std::uint16_t(EngineStatus::OutOfMemory))
        throw engineFailure(EngineStatus::OutOfMemory, {{0, fileContext(filePath)}});
    throw engineFailure(EngineStatus::NotADatabase, {{0, fileContext(filePath)}});
}

// Copies the table file into memory and makes `missing` name its table there.
// The bytes the copy reads go into `images`, which must outlive `work`.
double loadTableFile(sqlite3* work, int encoding, int index, const QString& directory, const QString& missing,
                     std::vector<std::unique_ptr<FileImage>>& images, std::vector<LoadedTable>& tables)
{
    QString fileName;
    QString tableName;
    if (!tableFileFor(missing, &fileName, &tableName))
        throw engineFailure(EngineStatus::TableMissing, {{0, tableContext(missing)}});
    const QString schema = QStringLiteral("file%1").arg(index);
    execute(work, QStringLiteral("ATTACH ':memory:' AS ") + schema);
    const QString filePath = findEntry(directory, fileName);
    TableFileCopy copy = copyTableFile(work, schema.toUtf8().constData(), directory, filePath);
    const std::size_t imageSize = copy.image ? copy.image->size() : 0;
    if (copy.image)
        images.push_back(std::move(copy.image));
    if (copy.textEncoding != 0 && copy.textEncoding != encoding)
        throw EncodingMismatch{copy.textEncoding};
    if (imageSize > 0) {
        // Pages are read where they lie in the copy instead of through the page cache.
        execute(work, QStringLiteral("PRAGMA %1.mmap_size=%2").arg(schema).arg(qulonglong(imageSize)));
    }

    sqlite3_stmt* raw = nullptr;
    const QString lookup = QStringLiteral("SELECT name FROM %1.sqlite_schema WHERE type IN ('table','view') AND name = ?1 COLLATE NOCASE").arg(schema);
    int code = sqlite3_prepare_v2(work, lookup.toUtf8().constData(), -1, &raw, nullptr);
    Stmt stmt(raw);
    if (code != SQLITE_OK)
        failReadingSchema(code, filePath);
    const QByteArray tableUtf8 = tableName.toUtf8();
    sqlite3_bind_text(stmt.get(), 1, tableUtf8.constData(), int(tableUtf8.size()), SQLITE_TRANSIENT);
    code = sqlite3_step(stmt.get());
    if (code != SQLITE_ROW) {
        if (code == SQLITE_DONE)
            throw engineFailure(EngineStatus::TableMissing, {{0, tableContext(tableName)}, {0, fileContext(filePath)}});
        failReadingSchema(sqlite3_extended_errcode(work), filePath);
    }
    const QString actualName = QString::fromUtf8(reinterpret_cast<const char*>(sqlite3_column_text(stmt.get(), 0)));
    stmt.reset();
    execute(work, QStringLiteral("CREATE TEMP VIEW %1 AS SELECT * FROM %2.%3").arg(quoted(missing), schema, quoted(actualName)));
    tables.push_back(LoadedTable{missing, schema, actualName});
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

// One result row read and checked against the columns' types.
Row readRow(const std::vector<ColumnInfo>& columns, const std::vector<StoredValue>& values)
{
    Row row;
    row.reserve(columns.size());
    for (std::size_t c = 0; c < columns.size(); ++c) {
        const ColumnInfo& column = columns[c];
        const StoredValue& stored = values[c];
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
    return row;
}

// Runs the statement over a work database storing texts in `encoding` (1
// UTF-8, 2 UTF-16le, 3 UTF-16be). Throws EncodingMismatch when a table file
// stores them otherwise.
StatementResult runStatementIn(const QString& directory, const QString& sql, int encoding)
{
    StatementResult result;
    // The copied table files: released after the work database (declared first).
    std::vector<std::unique_ptr<FileImage>> images;
    std::vector<LoadedTable> tables;
    Db work = openWorkDatabase(encoding);
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
        result.lockMilliseconds += loadTableFile(work.get(), encoding, attempt + 1, directory, missing, images, tables);
    }
    if (!stmt || sqlite3_column_count(stmt.get()) == 0 || !sqlite3_stmt_readonly(stmt.get()))
        throw Failure(noCursorMessage());

    const int columnCount = sqlite3_column_count(stmt.get());
    for (int c = 0; c < columnCount; ++c) {
        const char* declared = sqlite3_column_decltype(stmt.get(), c);
        result.table.columns.push_back(describeResultColumn(QString::fromUtf8(sqlite3_column_name(stmt.get(), c)),
                                                            declared ? QString::fromUtf8(declared) : QString()));
    }

    // The two aggregate statements over one receipt table: grouped in one pass
    // over the rows when that gives SQLite's own answer.
    const auto kind = aggregateKindOf(sql);
    if (kind && encoding == 1 && tables.size() == 1 && columnCount == (*kind == QueryKind::Daily ? 9 : 7)) {
        std::vector<Row>& rows = result.table.rows;
        const auto deliver = [&](const std::vector<StoredValue>& values) {
            rows.push_back(readRow(result.table.columns, values));
        };
        if (scanAggregate(work.get(), *kind, tables[0].view, tables[0].schema, tables[0].table, deliver))
            return result;
    }

    std::vector<StoredValue> values(static_cast<std::size_t>(columnCount));
    for (;;) {
        const int code = sqlite3_step(stmt.get());
        if (code == SQLITE_DONE)
            break;
        if (code != SQLITE_ROW)
            failFromSqlite(work.get(), sqlite3_extended_errcode(work.get()));
        for (int c = 0; c < columnCount; ++c)
            values[std::size_t(c)] = storedValue(stmt.get(), c);
        result.table.rows.push_back(readRow(result.table.columns, values));
    }
    return result;
}

} // namespace

StatementResult runStatement(const QString& directory, const QString& sql)
{
    try {
        return runStatementIn(directory, sql, 1);
    } catch (const EncodingMismatch& mismatch) {
        try {
            return runStatementIn(directory, sql, mismatch.encoding);
        } catch (const EncodingMismatch&) {
            // A second table file in yet another encoding.
            throw engineFailure(EngineStatus::SqlRefused,
                                {{0, QStringLiteral("attached databases must use the same text encoding as main database")}});
        }
    }
}

} // namespace uriage::data
