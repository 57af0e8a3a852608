#include "data/aggregate/receipt_scan.h"

#include "data/aggregate/receipt_groups.h"
#include "data/engine_error.h"

#include "data/sqlite/sqlite_handles.h"

#include <QStringList>

#include <array>
#include <memory>
#include <new>

namespace uriage::data {
namespace {

constexpr std::array<const char*, 4> kDailyKeys = {"施術日", "年", "月", "日"};
constexpr std::array<const char*, 2> kMonthlyKeys = {"年", "月"};
constexpr int kMaxCells = 8;

struct Scan {
    ReceiptGroups groups;
    int keyColumns;
    bool outOfMemory = false;
    // The first text or byte string met in a summed column.
    int nonAmountColumn = -1;
    StoredValue nonAmount;
};

StoredValue storedCopy(const CellView& cell)
{
    StoredValue v;
    v.kind = cell.kind;
    v.integer = cell.integer;
    v.real = cell.real;
    v.bytes = QByteArray(cell.bytes.data(), qsizetype(cell.bytes.size()));
    return v;
}

[[noreturn]] void failNotAnAmount(const char* column, const StoredValue& value)
{
    throw EngineError(EngineStatus::ValueNotOfType,
                      {columnContext(QString::fromUtf8(column)), valueContext(storedValueText(value))});
}

CellView cellOf(sqlite3_value* value)
{
    CellView cell;
    switch (sqlite3_value_type(value)) {
    case SQLITE_INTEGER:
        cell.kind = StoredValue::Kind::Integer;
        cell.integer = sqlite3_value_int64(value);
        break;
    case SQLITE_FLOAT:
        cell.kind = StoredValue::Kind::Real;
        cell.real = sqlite3_value_double(value);
        break;
    case SQLITE_TEXT: {
        // The text's bytes as they lie in the row (UTF-8, the work database's
        // encoding): read as bytes, SQLite need not copy them to end them.
        cell.kind = StoredValue::Kind::Text;
        const auto* text = static_cast<const char*>(sqlite3_value_blob(value));
        const int n = sqlite3_value_bytes(value);
        if (text)
            cell.bytes = std::string_view(text, std::size_t(n));
        break;
    }
    case SQLITE_BLOB: {
        cell.kind = StoredValue::Kind::Blob;
        const auto* blob = static_cast<const char*>(sqlite3_value_blob(value));
        const int n = sqlite3_value_bytes(value);
        if (blob)
            cell.bytes = std::string_view(blob, std::size_t(n));
        break;
    }
    default:
        break;
    }
    return cell;
}

// Called by SQLite once per receipt row with the key columns, then the summed ones.
void receiptRow(sqlite3_context* context, int argc, sqlite3_value** argv)
{
    auto* scan = static_cast<Scan*>(sqlite3_user_data(context));
    std::array<CellView, kMaxCells> cells;
    if (argc > kMaxCells) {
        sqlite3_result_error(context, "too many columns", -1);
        return;
    }
    for (int i = 0; i < argc; ++i)
        cells[std::size_t(i)] = cellOf(argv[i]);
    for (int i = scan->keyColumns; i < argc; ++i) {
        if (!isAmount(cells[std::size_t(i)].kind)) {
            scan->nonAmountColumn = i - scan->keyColumns;
            scan->nonAmount = storedCopy(cells[std::size_t(i)]);
            sqlite3_result_error(context, "not an amount", -1);
            return;
        }
    }
    try {
        if (!scan->groups.add(cells.data(), cells.data() + scan->keyColumns)) {
            sqlite3_result_error(context, "declined", -1);
            return;
        }
    } catch (const std::bad_alloc&) {
        scan->outOfMemory = true;
        sqlite3_result_error_nomem(context);
        return;
    }
    sqlite3_result_null(context);
}

// Group columns compare under the binary collation unless the table declares
// another; only the binary one is computed here.
bool binaryCollation(sqlite3* work, const QString& schema, const QString& table, const char* column)
{
    const char* declared = nullptr;
    const char* collation = nullptr;
    const QByteArray schemaUtf8 = schema.toUtf8();
    const QByteArray tableUtf8 = table.toUtf8();
    const int code = sqlite3_table_column_metadata(work, schemaUtf8.constData(), tableUtf8.constData(), column,
                                                   &declared, &collation, nullptr, nullptr, nullptr);
    return code == SQLITE_OK && collation && sqlite3_stricmp(collation, "BINARY") == 0;
}

// Runs the one-row statement `sql` through; SQLITE_DONE when it ran cleanly.
int runToEnd(sqlite3* work, const QByteArray& sql)
{
    sqlite3_stmt* raw = nullptr;
    int code = sqlite3_prepare_v2(work, sql.constData(), int(sql.size()), &raw, nullptr);
    StatementHandle stmt(raw);
    if (code == SQLITE_OK) {
        code = sqlite3_step(stmt.get());
        if (code == SQLITE_ROW)
            code = sqlite3_step(stmt.get());
    }
    return code;
}

} // namespace

ScanOutcome scanAggregate(sqlite3* work, QueryKind kind, const QString& view, const QString& schema,
                          const QString& table, const std::function<void(const std::vector<StoredValue>&)>& deliver)
{
    constexpr ScanOutcome declined = ScanOutcome::DeclinedUseSqlite;
    std::vector<const char*> keys;
    if (kind == QueryKind::Daily)
        keys.assign(kDailyKeys.begin(), kDailyKeys.end());
    else
        keys.assign(kMonthlyKeys.begin(), kMonthlyKeys.end());
    for (const char* key : keys) {
        if (!binaryCollation(work, schema, table, key)) {
            requireAmounts(work, view);
            return declined;
        }
    }
    QStringList arguments;
    for (const char* key : keys)
        arguments << QString::fromUtf8(key);
    for (const char* summed : kSummedColumns)
        arguments << QString::fromUtf8(summed);
    const QByteArray sql = QStringLiteral("SELECT count(uriage_receipt_row(%1)) FROM %2")
                               .arg(arguments.join(QChar(',')), quotedIdentifier(view))
                               .toUtf8();

    Scan scan{ReceiptGroups(int(keys.size()), int(std::size(kSummedColumns))), int(keys.size()), false, -1, {}};
    const int argc = int(arguments.size());
    if (sqlite3_create_function_v2(work, "uriage_receipt_row", argc, SQLITE_UTF8 | SQLITE_DIRECTONLY, &scan,
                                   receiptRow, nullptr, nullptr, nullptr)
        != SQLITE_OK) {
        requireAmounts(work, view);
        return declined;
    }
    const int code = runToEnd(work, sql);
    sqlite3_create_function_v2(work, "uriage_receipt_row", argc, SQLITE_UTF8, nullptr, nullptr, nullptr, nullptr,
                               nullptr);
    if (scan.nonAmountColumn >= 0)
        failNotAnAmount(kSummedColumns[scan.nonAmountColumn], scan.nonAmount);
    if (code != SQLITE_DONE || scan.outOfMemory) {
        // The scan stopped early: the rows it did not see are checked apart.
        requireAmounts(work, view);
        return declined;
    }
    if (!scan.groups.rows(deliver))
        return declined;
    return ScanOutcome::Answered;
}

void requireAmounts(sqlite3* work, const QString& view)
{
    QStringList columns;
    QStringList tests;
    for (const char* summed : kSummedColumns) {
        const QString column = quotedIdentifier(QString::fromUtf8(summed));
        columns << column;
        tests << QStringLiteral("typeof(%1) IN ('text','blob')").arg(column);
    }
    const QByteArray sql = QStringLiteral("SELECT %1 FROM %2 WHERE %3 LIMIT 1")
                               .arg(columns.join(QChar(',')), quotedIdentifier(view), tests.join(QStringLiteral(" OR ")))
                               .toUtf8();
    sqlite3_stmt* raw = nullptr;
    // A table without the columns fails the statement itself, with its own message.
    if (sqlite3_prepare_v2(work, sql.constData(), int(sql.size()), &raw, nullptr) != SQLITE_OK)
        return;
    StatementHandle stmt(raw);
    if (sqlite3_step(stmt.get()) != SQLITE_ROW)
        return;
    for (int c = 0; c < int(std::size(kSummedColumns)); ++c) {
        const int type = sqlite3_column_type(stmt.get(), c);
        if (type != SQLITE_TEXT && type != SQLITE_BLOB)
            continue;
        StoredValue value;
        value.kind = type == SQLITE_TEXT ? StoredValue::Kind::Text : StoredValue::Kind::Blob;
        const auto* bytes = static_cast<const char*>(sqlite3_column_blob(stmt.get(), c));
        value.bytes = QByteArray(bytes, sqlite3_column_bytes(stmt.get(), c));
        failNotAnAmount(kSummedColumns[c], value);
    }
}

} // namespace uriage::data
