// The aggregate statements computed by the one-pass scan against SQLite's own
// run of the same statement on the same rows: random tables with NULLs, mixed
// stored types, equal keys, 年/月/日 that differ from 施術日, empty tables.
// Wherever the scan answers, its rows must be SQLite's rows exactly (types,
// bits of floating-point values, bytes of texts); where SQLite fails, the scan
// must decline.
#include "common/failure.h"
#include "data/query_texts.h"
#include "data/aggregate/receipt_scan.h"

#include <QRandomGenerator>
#include <QStringList>
#include <gtest/gtest.h>
#include <sqlite3.h>

#include <bit>
#include <cstdio>
#include <cstring>
#include <memory>
#include <optional>
#include <ostream>
#include <variant>

namespace uriage::data {
namespace {

using Rows = std::vector<std::vector<StoredValue>>;

struct DbCloser {
    void operator()(sqlite3* db) const { sqlite3_close_v2(db); }
};
using Db = std::unique_ptr<sqlite3, DbCloser>;

void exec(sqlite3* db, const QString& sql)
{
    char* error = nullptr;
    if (sqlite3_exec(db, sql.toUtf8().constData(), nullptr, nullptr, &error) != SQLITE_OK) {
        ADD_FAILURE() << "SQL failed: " << (error ? error : "?") << " in " << sql.toStdString();
        sqlite3_free(error);
    }
}

// A work database as the engine builds it: the receipt table in an attached
// schema, reachable under the statement's name through a view.
Db workDatabase(const QString& schemaSql)
{
    sqlite3* raw = nullptr;
    EXPECT_EQ(sqlite3_open(":memory:", &raw), SQLITE_OK);
    Db db(raw);
    exec(db.get(), QStringLiteral("ATTACH ':memory:' AS file1"));
    exec(db.get(), schemaSql);
    exec(db.get(), QStringLiteral("CREATE TEMP VIEW \"領収証記録.db\" AS SELECT * FROM file1.\"領収証記録\""));
    return db;
}

// SQLite's own result of the statement, or its error text.
std::variant<Rows, std::string> sqliteResult(sqlite3* db, const QString& sql)
{
    sqlite3_stmt* stmt = nullptr;
    const QByteArray text = sql.toUtf8();
    if (sqlite3_prepare_v2(db, text.constData(), int(text.size()), &stmt, nullptr) != SQLITE_OK)
        return std::string(sqlite3_errmsg(db));
    Rows rows;
    int code;
    while ((code = sqlite3_step(stmt)) == SQLITE_ROW) {
        std::vector<StoredValue> row;
        for (int c = 0; c < sqlite3_column_count(stmt); ++c) {
            StoredValue v;
            switch (sqlite3_column_type(stmt, c)) {
            case SQLITE_INTEGER:
                v.kind = StoredValue::Kind::Integer;
                v.integer = sqlite3_column_int64(stmt, c);
                break;
            case SQLITE_FLOAT:
                v.kind = StoredValue::Kind::Real;
                v.real = sqlite3_column_double(stmt, c);
                break;
            case SQLITE_TEXT:
                v.kind = StoredValue::Kind::Text;
                v.bytes = QByteArray(reinterpret_cast<const char*>(sqlite3_column_text(stmt, c)), sqlite3_column_bytes(stmt, c));
                break;
            case SQLITE_BLOB:
                v.kind = StoredValue::Kind::Blob;
                v.bytes = QByteArray(static_cast<const char*>(sqlite3_column_blob(stmt, c)), sqlite3_column_bytes(stmt, c));
                break;
            default:
                break;
            }
            row.push_back(v);
        }
        rows.push_back(std::move(row));
    }
    std::string error = code == SQLITE_DONE ? std::string() : std::string(sqlite3_errmsg(db));
    sqlite3_finalize(stmt);
    if (!error.empty())
        return error;
    return rows;
}

std::string describe(const StoredValue& v)
{
    switch (v.kind) {
    case StoredValue::Kind::Null:
        return "NULL";
    case StoredValue::Kind::Integer:
        return "int " + std::to_string(v.integer);
    case StoredValue::Kind::Real: {
        char buffer[64];
        std::snprintf(buffer, sizeof buffer, "real %.17g", v.real);
        return buffer;
    }
    case StoredValue::Kind::Text:
        return "text '" + v.bytes.toStdString() + "'";
    case StoredValue::Kind::Blob:
        return "blob " + v.bytes.toHex().toStdString();
    }
    return "?";
}

bool identical(const StoredValue& a, const StoredValue& b)
{
    if (a.kind != b.kind)
        return false;
    switch (a.kind) {
    case StoredValue::Kind::Null:
        return true;
    case StoredValue::Kind::Integer:
        return a.integer == b.integer;
    case StoredValue::Kind::Real:
        return std::bit_cast<std::uint64_t>(a.real) == std::bit_cast<std::uint64_t>(b.real);
    default:
        return a.bytes == b.bytes;
    }
}

// Whether a summed column of the table holds a text or a byte string.
bool holdsNonAmount(sqlite3* db)
{
    sqlite3_stmt* stmt = nullptr;
    const char* sql = "SELECT count(*) FROM file1.\"領収証記録\" WHERE typeof(保険料金合計) IN ('text','blob')"
                      " OR typeof(一部負担金) IN ('text','blob') OR typeof(保険外料金) IN ('text','blob')"
                      " OR typeof(合計金額) IN ('text','blob')";
    EXPECT_EQ(sqlite3_prepare_v2(db, sql, -1, &stmt, nullptr), SQLITE_OK);
    const bool found = sqlite3_step(stmt) == SQLITE_ROW && sqlite3_column_int(stmt, 0) > 0;
    sqlite3_finalize(stmt);
    return found;
}

// Random SQL literals from small pools, so that keys repeat.
class Values {
public:
    Values(quint32 seed, bool wild) : random_(seed), wild_(wild) {}

    QString pick(const QStringList& tame, const QStringList& odd)
    {
        if (wild_ && !odd.isEmpty() && random_.bounded(4) == 0)
            return odd[int(random_.bounded(quint32(odd.size())))];
        return tame[int(random_.bounded(quint32(tame.size())))];
    }
    QString date()
    {
        return pick({"NULL", "'2005-03-01'", "'2005-03-02'", "'2004-12-31'", "'2005-03-01'"},
                    {"38412", "38412.0", "38412.5", "''", "X'00'", "'2005-3-1'", "'ｱ'", "X''"});
    }
    QString year() { return pick({"NULL", "2004", "2005", "2005"}, {"2005.0", "2005.5", "'2005'", "'abc'", "-0.0", "0.0", "0", "X'32'"}); }
    QString small() { return pick({"NULL", "1", "2", "3", "12"}, {"3.0", "'3'", "2.5", "'三'"}); }
    QString amount()
    {
        switch (random_.bounded(awkward_ ? 12 : 6)) {
        case 0:
            return QStringLiteral("NULL");
        case 1:
            return QString::number(random_.bounded(2000)) + QStringLiteral(".5");
        case 2:
            return QString::number(random_.bounded(1000) * 0.25, 'f', 2);
        case 6:
            return QStringLiteral("0.1");
        case 7:
            return QStringLiteral("4611686018427387904");   // 2^62: two overflow
        case 8:
            return pick({"'12'", "'x'", "''"}, {});
        case 9:
            return pick({"-0.0", "1e300", "-9223372036854775808", "9007199254740993"}, {});
        case 10:
            return QStringLiteral("-") + QString::number(random_.bounded(5000));
        default:
            return QString::number(random_.bounded(10000));
        }
    }
    quint32 bounded(quint32 n) { return random_.bounded(n); }
    void setAwkwardSums(bool on) { awkward_ = on; }

private:
    QRandomGenerator random_;
    bool wild_;
    bool awkward_ = false;
};

struct ScanCase {
    const char* name;
    const char* schema;   // the table's declaration
    bool wild;            // odd stored types and awkward sums too
    int minimumAnswered;  // of the tables per kind, at least this many answered by the scan; -1: none
};

void PrintTo(const ScanCase& c, std::ostream* os) { *os << c.name; }

class AggregateScanTest : public ::testing::TestWithParam<ScanCase> {};

TEST_P(AggregateScanTest, AnswersExactlyAsSqliteOrDeclines)
{
    const ScanCase& c = GetParam();
    constexpr int kTables = 24;
    int answered[2] = {0, 0};
    for (int seed = 1; seed <= kTables; ++seed) {
        Values values(quint32(seed) * 7919u + (c.wild ? 1u : 0u), c.wild);
        // Sums the scan may decline (inexact fractions, overflow, texts) in every third table.
        values.setAwkwardSums(c.wild && seed % 3 == 0);
        Db db = workDatabase(QString::fromUtf8(c.schema));
        // Every fourth table is empty; the others hold up to 300 receipts.
        const int count = seed % 4 == 0 ? 0 : int(values.bounded(300)) + 1;
        exec(db.get(), QStringLiteral("BEGIN"));
        for (int i = 0; i < count; ++i) {
            const QStringList row = {values.date(),   values.year(),   values.small(),  values.small(),
                                     values.amount(), values.amount(), values.amount(), values.amount()};
            exec(db.get(), QStringLiteral("INSERT INTO file1.\"領収証記録\" (施術日,年,月,日,保険料金合計,一部負担金,保険外料金,"
                                          "合計金額) VALUES (%1)")
                               .arg(row.join(QChar(','))));
        }
        exec(db.get(), QStringLiteral("COMMIT"));

        for (const QueryKind kind : {QueryKind::Daily, QueryKind::Monthly}) {
            SCOPED_TRACE(std::string(c.name) + " seed " + std::to_string(seed)
                         + (kind == QueryKind::Daily ? " daily" : " monthly"));
            const auto expected = sqliteResult(db.get(), aggregateSql(kind));
            Rows collected;
            bool scannedAll = false;
            QString refusal;
            try {
                scannedAll = scanAggregate(db.get(), kind, QStringLiteral("領収証記録.db"), QStringLiteral("file1"),
                                           QStringLiteral("領収証記録"),
                                           [&](const std::vector<StoredValue>& row) { collected.push_back(row); })
                             == ScanOutcome::Answered;
            } catch (const Failure& failure) {
                refusal = failure.message();
            }
            // A text or a byte string among the amounts is refused, never summed.
            EXPECT_EQ(!refusal.isEmpty(), holdsNonAmount(db.get())) << refusal.toStdString();
            if (!refusal.isEmpty()) {
                EXPECT_TRUE(refusal.startsWith(QStringLiteral("列の値がその型として読めません\n列: ")))
                    << refusal.toStdString();
                continue;
            }
            const std::optional<Rows> scanned = scannedAll ? std::optional<Rows>(collected) : std::nullopt;
            if (!scannedAll) {
                EXPECT_TRUE(collected.empty()) << "rows handed out before declining";
            }
            if (const auto* error = std::get_if<std::string>(&expected)) {
                EXPECT_FALSE(scanned.has_value()) << "SQLite failed (" << *error << ") but the scan answered";
                continue;
            }
            if (!scanned)
                continue;
            ++answered[kind == QueryKind::Daily ? 0 : 1];
            const Rows& rows = std::get<Rows>(expected);
            ASSERT_EQ(scanned->size(), rows.size());
            for (std::size_t r = 0; r < rows.size(); ++r) {
                ASSERT_EQ((*scanned)[r].size(), rows[r].size());
                for (std::size_t col = 0; col < rows[r].size(); ++col)
                    EXPECT_TRUE(identical((*scanned)[r][col], rows[r][col]))
                        << "row " << r << " column " << col << ": scan " << describe((*scanned)[r][col]) << ", SQLite "
                        << describe(rows[r][col]);
            }
        }
    }
    std::printf("[ scan     ] %s: %d daily and %d monthly of %d tables answered by the scan\n", c.name, answered[0],
                answered[1], kTables);
    if (c.minimumAnswered < 0) {
        EXPECT_EQ(answered[0] + answered[1], 0);
    } else {
        EXPECT_GE(answered[0], c.minimumAnswered) << "daily tables answered by the scan";
        EXPECT_GE(answered[1], c.minimumAnswered) << "monthly tables answered by the scan";
    }
}

constexpr const char* kTyped =
    "CREATE TABLE file1.\"領収証記録\" (領収証番号 INTEGER PRIMARY KEY, 施術日 DATE, 年 SMALLINT, 月 SMALLINT, 日 SMALLINT,"
    " 保険料金合計 MONEY, 一部負担金 MONEY, 保険外料金 MONEY, 合計金額 MONEY)";
// Without declared types every value keeps the type it was written with.
constexpr const char* kUntyped =
    "CREATE TABLE file1.\"領収証記録\" (領収証番号 INTEGER PRIMARY KEY, 施術日, 年, 月, 日,"
    " 保険料金合計, 一部負担金, 保険外料金, 合計金額)";
// Texts kept as texts, reals as reals.
constexpr const char* kTextAndReal =
    "CREATE TABLE file1.\"領収証記録\" (施術日 TEXT, 年 REAL, 月 TEXT, 日 INTEGER,"
    " 保険料金合計 REAL, 一部負担金 REAL, 保険外料金 INTEGER, 合計金額 REAL)";
// Another collation on a key: left to SQLite.
constexpr const char* kNocase =
    "CREATE TABLE file1.\"領収証記録\" (施術日 DATE COLLATE NOCASE, 年 SMALLINT COLLATE NOCASE, 月 SMALLINT, 日 SMALLINT,"
    " 保険料金合計 MONEY, 一部負担金 MONEY, 保険外料金 MONEY, 合計金額 MONEY)";

INSTANTIATE_TEST_SUITE_P(RandomTables, AggregateScanTest,
                         ::testing::Values(ScanCase{"typed", kTyped, false, 20}, ScanCase{"typed_wild", kTyped, true, 12},
                                           ScanCase{"untyped", kUntyped, false, 20},
                                           ScanCase{"untyped_wild", kUntyped, true, 3},
                                           ScanCase{"text_and_real", kTextAndReal, false, 20},
                                           ScanCase{"text_and_real_wild", kTextAndReal, true, 12},
                                           ScanCase{"nocase", kNocase, false, -1}),
                         [](const ::testing::TestParamInfo<ScanCase>& info) { return std::string(info.param.name); });

// SQLite adds a group's values in the order its plan visits the rows: here an
// index orders them by amount, so its total (-1e17 + 1 + 1e17 = 0) differs from
// the one in table order (1e17 - 1e17 + 1 = 1). The scan must not answer with
// a total of its own order.
TEST(AggregateScanOrderTest, InexactTotalsAreLeftToSqlite)
{
    Db db = workDatabase(QString::fromUtf8(kUntyped));
    exec(db.get(), QStringLiteral("CREATE INDEX file1.by_month ON \"領収証記録\" (年, 月, 保険料金合計)"));
    exec(db.get(), QStringLiteral("CREATE INDEX file1.by_day ON \"領収証記録\" (施術日, 年, 月, 日, 保険料金合計)"));
    for (const char* amount : {"1e17", "-1e17", "1.0"})
        exec(db.get(), QStringLiteral("INSERT INTO file1.\"領収証記録\" (施術日,年,月,日,保険料金合計,一部負担金,保険外料金,合計金額)"
                                      " VALUES ('2005-03-01',2005,3,1,%1,0,0,0)")
                           .arg(QString::fromLatin1(amount)));
    for (const QueryKind kind : {QueryKind::Daily, QueryKind::Monthly}) {
        const auto expected = sqliteResult(db.get(), aggregateSql(kind));
        ASSERT_TRUE(std::holds_alternative<Rows>(expected));
        const Rows& rows = std::get<Rows>(expected);
        ASSERT_EQ(rows.size(), 1u);
        const std::size_t amountColumn = kind == QueryKind::Daily ? 5 : 3;
        Rows collected;
        const bool answered = scanAggregate(db.get(), kind, QStringLiteral("領収証記録.db"), QStringLiteral("file1"),
                                            QStringLiteral("領収証記録"),
                                            [&](const std::vector<StoredValue>& row) { collected.push_back(row); })
                              == ScanOutcome::Answered;
        if (answered) {
            ASSERT_EQ(collected.size(), 1u);
            EXPECT_TRUE(identical(collected[0][amountColumn], rows[0][amountColumn]))
                << "scan " << describe(collected[0][amountColumn]) << ", SQLite " << describe(rows[0][amountColumn]);
        }
    }
}

} // namespace
} // namespace uriage::data
