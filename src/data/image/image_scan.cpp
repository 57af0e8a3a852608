#include "data/image/image_scan.h"

#include "data/aggregate/receipt_groups.h"
#include "data/image/table_decoder.h"
#include "data/sqlite/sqlite_handles.h"

#include <algorithm>
#include <array>
#include <new>
#include <optional>
#include <thread>

namespace uriage::data {
namespace {

constexpr std::array<const char*, 4> kDailyKeys = {"施術日", "年", "月", "日"};
constexpr std::array<const char*, 2> kMonthlyKeys = {"年", "月"};

StatementHandle prepared(sqlite3* work, const QString& sql)
{
    const QByteArray text = sql.toUtf8();
    sqlite3_stmt* raw = nullptr;
    if (sqlite3_prepare_v2(work, text.constData(), int(text.size()), &raw, nullptr) != SQLITE_OK)
        return StatementHandle(nullptr);
    return StatementHandle(raw);
}

QByteArray columnText(sqlite3_stmt* stmt, int column)
{
    const auto* text = reinterpret_cast<const char*>(sqlite3_column_text(stmt, column));
    return text ? QByteArray(text, sqlite3_column_bytes(stmt, column)) : QByteArray();
}

// SQLite's affinity rules, in their order: only REAL changes what a read gives.
bool hasRealAffinity(const QByteArray& declared)
{
    const QByteArray t = declared.toUpper();
    if (t.contains("INT") || t.contains("CHAR") || t.contains("CLOB") || t.contains("TEXT") || t.contains("BLOB")
        || t.isEmpty())
        return false;
    return t.contains("REAL") || t.contains("FLOA") || t.contains("DOUB");
}

struct StoredColumn {
    QByteArray name;
    QByteArray declared;
    bool hasDefault = false;
    bool key = false;
};

// The table's root page and stored columns, or the reason to decline.
struct TableShape {
    std::uint32_t rootPage = 0;
    std::vector<StoredColumn> columns;
};

ImageScanDecline describeTable(sqlite3* work, const QString& schema, const QString& table, TableShape* shape)
{
    const QString quotedTable = quotedIdentifier(table);
    // A plain rowid table: not WITHOUT ROWID, not virtual, not STRICT (whose
    // columns read their own way).
    StatementHandle list = prepared(work, QStringLiteral("PRAGMA %1.table_list(%2)").arg(schema, quotedTable));
    if (!list || sqlite3_step(list.get()) != SQLITE_ROW || columnText(list.get(), 2) != "table"
        || sqlite3_column_int(list.get(), 4) != 0 || sqlite3_column_int(list.get(), 5) != 0)
        return ImageScanDecline::NotPlainTable;
    StatementHandle root = prepared(
        work, QStringLiteral("SELECT rootpage FROM %1.sqlite_schema WHERE type = 'table' AND name = ?1").arg(schema));
    const QByteArray tableUtf8 = table.toUtf8();
    if (!root)
        return ImageScanDecline::NotPlainTable;
    sqlite3_bind_text(root.get(), 1, tableUtf8.constData(), int(tableUtf8.size()), SQLITE_TRANSIENT);
    if (sqlite3_step(root.get()) != SQLITE_ROW || sqlite3_column_int64(root.get(), 0) < 2)
        return ImageScanDecline::NotPlainTable;
    shape->rootPage = std::uint32_t(sqlite3_column_int64(root.get(), 0));
    // cid, name, type, notnull, dflt_value, pk, hidden.
    StatementHandle info = prepared(work, QStringLiteral("PRAGMA %1.table_xinfo(%2)").arg(schema, quotedTable));
    if (!info)
        return ImageScanDecline::NotPlainTable;
    while (sqlite3_step(info.get()) == SQLITE_ROW) {
        if (sqlite3_column_int(info.get(), 6) != 0)
            return ImageScanDecline::NotPlainTable;   // a generated column: the record holds other fields
        shape->columns.push_back(StoredColumn{columnText(info.get(), 1), columnText(info.get(), 2),
                                              sqlite3_column_type(info.get(), 4) != SQLITE_NULL,
                                              sqlite3_column_int(info.get(), 5) != 0});
    }
    return shape->columns.empty() ? ImageScanDecline::NotPlainTable : ImageScanDecline::None;
}

bool binaryCollation(sqlite3* work, const QString& schema, const QString& table, const char* column)
{
    const char* collation = nullptr;
    const QByteArray schemaUtf8 = schema.toUtf8();
    const QByteArray tableUtf8 = table.toUtf8();
    const int code = sqlite3_table_column_metadata(work, schemaUtf8.constData(), tableUtf8.constData(), column, nullptr,
                                                   &collation, nullptr, nullptr, nullptr);
    return code == SQLITE_OK && collation && sqlite3_stricmp(collation, "BINARY") == 0;
}

// Where a column the statement names lies in the record; nothing when it is
// missing, is the row's key, or has a default value (which a record written
// before the column was added would read instead of NULL).
std::optional<DecodedColumn> locate(const TableShape& shape, const char* name)
{
    for (std::size_t i = 0; i < shape.columns.size(); ++i) {
        const StoredColumn& column = shape.columns[i];
        if (sqlite3_stricmp(column.name.constData(), name) != 0)
            continue;
        if (column.key || column.hasDefault)
            return std::nullopt;
        return DecodedColumn{int(i), hasRealAffinity(column.declared)};
    }
    return std::nullopt;
}

// The grouping of one run's rows. Aligned to a cache line: the runs' threads
// update their own groupings on every row, which must not share a line.
struct alignas(64) RunGroups {
    RunGroups(int keyColumns, int sumColumns) : groups(keyColumns, sumColumns) {}
    ReceiptGroups groups;
    bool nonAmount = false;   // a text or byte string met in a summed column
};

ImageScanDecline fromDecoder(DecodeDecline decline)
{
    switch (decline) {
    case DecodeDecline::None:
        return ImageScanDecline::None;
    case DecodeDecline::BadHeader:
        return ImageScanDecline::BadHeader;
    case DecodeDecline::NotUtf8:
        return ImageScanDecline::NotUtf8;
    case DecodeDecline::CorruptPage:
        return ImageScanDecline::CorruptPage;
    case DecodeDecline::OddRecord:
        return ImageScanDecline::OddRecord;
    case DecodeDecline::Overflow:
        return ImageScanDecline::Overflow;
    case DecodeDecline::Stopped:
        return ImageScanDecline::Grouping;
    case DecodeDecline::TimeLimit:
        return ImageScanDecline::TimeLimit;
    }
    return ImageScanDecline::CorruptPage;
}

} // namespace

const char* imageScanDeclineName(ImageScanDecline decline)
{
    static constexpr std::array<const char*, 13> names = {
        "none",      "no image", "bad header",    "not UTF-8", "not a plain table", "column shape", "collation",
        "corrupt page", "odd record", "overflow", "not an amount", "grouping", "time limit"};
    return names[std::size_t(decline)];
}

ImageScanDecline scanImageAggregate(sqlite3* work, QueryKind kind, const QString& schema, const QString& table,
                                    const unsigned char* bytes, std::size_t size,
                                    const std::function<void(const std::vector<StoredValue>&)>& deliver,
                                    const std::function<bool()>& pastTimeLimit, int runs)
{
    if (!bytes || size == 0)
        return ImageScanDecline::NoImage;
    TableShape shape;
    if (const ImageScanDecline d = describeTable(work, schema, table, &shape); d != ImageScanDecline::None)
        return d;
    std::vector<const char*> names;
    if (kind == QueryKind::Daily)
        names.assign(kDailyKeys.begin(), kDailyKeys.end());
    else
        names.assign(kMonthlyKeys.begin(), kMonthlyKeys.end());
    const int keyColumns = int(names.size());
    for (const char* key : names) {
        if (!binaryCollation(work, schema, table, key))
            return ImageScanDecline::Collation;
    }
    names.insert(names.end(), std::begin(kSummedColumns), std::end(kSummedColumns));
    std::vector<DecodedColumn> columns;
    for (const char* name : names) {
        const std::optional<DecodedColumn> column = locate(shape, name);
        if (!column)
            return ImageScanDecline::ColumnShape;
        columns.push_back(*column);
    }
    if (runs <= 0)
        runs = scanRunsFor(size);
    // One grouping per run, each fed by its own thread, joined in key order.
    std::vector<RunGroups> parts;
    parts.reserve(std::size_t(runs));
    for (int k = 0; k < runs; ++k)
        parts.emplace_back(keyColumns, int(std::size(kSummedColumns)));
    std::vector<RowHandler> handlers;
    const int cellCount = int(columns.size());
    for (RunGroups& part : parts) {
        handlers.push_back([&part, keyColumns, cellCount](const CellView* cells) {
            for (int i = keyColumns; i < cellCount; ++i) {
                if (!isAmount(cells[i].kind)) {
                    part.nonAmount = true;
                    return false;
                }
            }
            return part.groups.add(cells, cells + keyColumns);
        });
    }
    DecodeDecline decoded = DecodeDecline::None;
    try {
        decoded = decodeTableRowsInRuns(TableImage{bytes, size, shape.rootPage, pastTimeLimit}, columns, handlers);
        for (std::size_t k = 1; k < parts.size() && decoded == DecodeDecline::None; ++k) {
            if (!parts.front().groups.absorb(parts[k].groups))
                return ImageScanDecline::Grouping;
        }
    } catch (const std::bad_alloc&) {
        return ImageScanDecline::Grouping;
    }
    if (std::any_of(parts.begin(), parts.end(), [](const RunGroups& part) { return part.nonAmount; }))
        return ImageScanDecline::NotAnAmount;
    if (decoded != DecodeDecline::None)
        return fromDecoder(decoded);
    return parts.front().groups.rows(deliver) ? ImageScanDecline::None : ImageScanDecline::Grouping;
}

int scanRunsFor(std::size_t size)
{
    // A smaller table is walked in a millisecond or two: not worth a second thread.
    constexpr std::size_t kTwoRunsFrom = std::size_t(1) << 20;
    static const unsigned hardwareThreads = std::thread::hardware_concurrency();   // asked once, not per press
    return size >= kTwoRunsFrom && hardwareThreads >= 2 ? 2 : 1;
}

} // namespace uriage::data
