#include "data/statement/statement_runner.h"

#include "data/aggregate/receipt_scan.h"
#include "data/engine_error.h"
#include "data/image/image_scan.h"
#include "data/statement/column_reading.h"
#include "data/statement/work_database.h"
#include "data/sqlite/sqlite_status.h"

#include <variant>
#include <vector>

namespace uriage::data {
namespace {

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
                throw EngineError(EngineStatus::TotalTooLarge, {columnContext(column.name)});
            throw EngineError(EngineStatus::ValueNotOfType,
                              {columnContext(column.name), valueContext(storedValueText(stored))});
        }
        row.push_back(std::move(*value));
    }
    return row;
}

// A column the statement reads that no table has is named by the engine's
// own look-up in the tables' schemas, before SQLite sees the text.
StatementHandle prepare(const WorkDatabase& work, const StatementRequest& request)
{
    work.requireColumns(request.columns);
    sqlite3* db = work.handle();
    const QByteArray sqlUtf8 = request.sql.toUtf8();
    sqlite3_stmt* raw = nullptr;
    const int code = sqlite3_prepare_v3(db, sqlUtf8.constData(), int(sqlUtf8.size()), 0, &raw, nullptr);
    StatementHandle stmt(raw);
    if (code != SQLITE_OK)
        failFromSqlite(db, sqlite3_extended_errcode(db));
    if (!stmt || sqlite3_column_count(stmt.get()) == 0 || !sqlite3_stmt_readonly(stmt.get()))
        throw EngineError(EngineStatus::NoCursor);
    return stmt;
}

std::vector<ColumnInfo> resultColumns(sqlite3_stmt* stmt)
{
    std::vector<ColumnInfo> columns;
    for (int c = 0; c < sqlite3_column_count(stmt); ++c) {
        const char* declared = sqlite3_column_decltype(stmt, c);
        columns.push_back(describeResultColumn(QString::fromUtf8(sqlite3_column_name(stmt, c)),
                                               declared ? QString::fromUtf8(declared) : QString()));
    }
    return columns;
}

// The two aggregate statements over one receipt table: grouped in one pass
// over the rows when that gives SQLite's own answer.
// Either way, an amount that is no number fails the statement.
bool groupInOnePass(const StatementRequest& request, const WorkDatabase& work, ResultTable& table)
{
    if (!request.aggregate)
        return false;
    if (work.encoding() != kUtf8 || work.tables().size() != 1
        || table.columns.size() != (*request.aggregate == QueryKind::Daily ? 9u : 7u)) {
        for (const LoadedTable& loaded : work.tables())
            requireAmounts(work.handle(), loaded.view);
        return false;
    }
    const LoadedTable& receipts = work.tables().front();
    const auto deliver = [&](const std::vector<StoredValue>& values) {
        table.rows.push_back(readRow(table.columns, values));
    };
    // Straight from the copied bytes when they are plainly readable.
    if (scanImageAggregate(work.handle(), *request.aggregate, receipts.schema, receipts.table, receipts.imageBytes,
                           receipts.imageSize, deliver, [&work] { return work.outOfTime(); })
        == ImageScanDecline::None)
        return true;
    return scanAggregate(work.handle(), *request.aggregate, receipts.view, receipts.schema, receipts.table, deliver)
           == ScanOutcome::Answered;
}

void stepRows(const WorkDatabase& work, const StatementRequest& request, sqlite3_stmt* stmt, ResultTable& table)
{
    sqlite3* db = work.handle();
    const int columnCount = sqlite3_column_count(stmt);
    std::vector<StoredValue> values(static_cast<std::size_t>(columnCount));
    for (;;) {
        const int code = sqlite3_step(stmt);
        if (code == SQLITE_DONE)
            break;
        if (code != SQLITE_ROW) {
            const int failed = sqlite3_extended_errcode(db);
            // SUM stops with a plain error when a whole-number total passes the
            // largest one; a plain error has other causes too, so it counts as
            // that only where the summed amounts are large enough to get there.
            if (failed == SQLITE_ERROR && work.sumsNearIntegerLimit(request.summedColumns))
                throw EngineError(EngineStatus::TotalTooLarge);
            failFromSqlite(db, failed);
        }
        for (int c = 0; c < columnCount; ++c)
            values[std::size_t(c)] = storedValue(stmt, c);
        table.rows.push_back(readRow(table.columns, values));
    }
}

// A table file stores texts in this encoding, not the work database's: the
// run starts again with a work database of that encoding.
struct EncodingNeeded {
    int encoding;
};

std::variant<StatementResult, EncodingNeeded> runStatementIn(const QString& directory, const StatementRequest& request,
                                                             int encoding, const ReadLimits& limits, ImageRoom* room)
{
    WorkDatabase work(encoding, limits, room);
    for (const QString& name : request.tableFiles) {
        if (const std::optional<int> needed = work.load(directory, name))
            return EncodingNeeded{*needed};
    }
    StatementHandle stmt = prepare(work, request);
    StatementResult result;
    result.lockMilliseconds = work.lockMilliseconds();
    result.copyTries = work.copyTries();
    result.table.columns = resultColumns(stmt.get());
    result.groupedInOnePass = groupInOnePass(request, work, result.table);
    if (!result.groupedInOnePass)
        stepRows(work, request, stmt.get(), result.table);
    if (work.tables().size() == 1 && work.tables().front().proof)
        result.source = ResultSource{work.tables().front().fileName, *work.tables().front().proof};
    return result;
}

} // namespace

StatementResult runStatement(const QString& directory, const StatementRequest& request, const ReadLimits& limits,
                             ImageRoom* room)
{
    auto outcome = runStatementIn(directory, request, kUtf8, limits, room);
    if (const auto* needed = std::get_if<EncodingNeeded>(&outcome)) {
        outcome = runStatementIn(directory, request, needed->encoding, limits, room);
        if (std::holds_alternative<EncodingNeeded>(outcome)) {
            // A second table file in yet another encoding.
            throw EngineError(EngineStatus::SqlRefused,
                              {QStringLiteral("attached databases must use the same text encoding as main database")});
        }
    }
    return std::get<StatementResult>(std::move(outcome));
}

} // namespace uriage::data
