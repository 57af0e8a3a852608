// The aggregates decoded straight from a file image against SQLite's own run
// of the same statement: random tables on odd page sizes, reserved bytes,
// deleted rows (free pages), long records whose tail lies on overflow pages,
// odd stored types; and each reason the decoder declines, one table per reason.
#include "data/image/image_scan.h"
#include "data/query_texts.h"

#include <QRandomGenerator>
#include <QStringList>
#include <gtest/gtest.h>
#include <sqlite3.h>

#include <bit>
#include <memory>

namespace uriage::data {
namespace {

using Rows = std::vector<std::vector<StoredValue>>;
struct DbCloser {
    void operator()(sqlite3* db) const { sqlite3_close_v2(db); }
};
using Db = std::unique_ptr<sqlite3, DbCloser>;

void exec(sqlite3* db, const QString& sql)
{
    ASSERT_EQ(sqlite3_exec(db, sql.toUtf8().constData(), nullptr, nullptr, nullptr), SQLITE_OK)
        << sqlite3_errmsg(db) << " in " << sql.toStdString();
}

StoredValue stored(sqlite3_stmt* stmt, int c)
{
    StoredValue v;
    const auto* blob = static_cast<const char*>(sqlite3_column_blob(stmt, c));
    switch (sqlite3_column_type(stmt, c)) {
    case SQLITE_INTEGER:
        v.kind = StoredValue::Kind::Integer, v.integer = sqlite3_column_int64(stmt, c);
        break;
    case SQLITE_FLOAT:
        v.kind = StoredValue::Kind::Real, v.real = sqlite3_column_double(stmt, c);
        break;
    case SQLITE_TEXT:
    case SQLITE_BLOB:
        v.kind = sqlite3_column_type(stmt, c) == SQLITE_TEXT ? StoredValue::Kind::Text : StoredValue::Kind::Blob;
        v.bytes = QByteArray(blob, sqlite3_column_bytes(stmt, c));
        break;
    default:
        break;
    }
    return v;
}

Rows sqliteRows(sqlite3* db, QueryKind kind)
{
    sqlite3_stmt* stmt = nullptr;
    EXPECT_EQ(sqlite3_prepare_v2(db, aggregateSql(kind).toUtf8().constData(), -1, &stmt, nullptr), SQLITE_OK);
    Rows rows;
    while (sqlite3_step(stmt) == SQLITE_ROW) {
        rows.emplace_back();
        for (int c = 0; c < sqlite3_column_count(stmt); ++c)
            rows.back().push_back(stored(stmt, c));
    }
    sqlite3_finalize(stmt);
    return rows;
}

bool identical(const StoredValue& a, const StoredValue& b)
{
    using K = StoredValue::Kind;
    return a.kind == b.kind && (a.kind != K::Integer || a.integer == b.integer)
           && (a.kind != K::Real || std::bit_cast<std::uint64_t>(a.real) == std::bit_cast<std::uint64_t>(b.real))
           && ((a.kind != K::Text && a.kind != K::Blob) || a.bytes == b.bytes);
}

// The table's root page in a serialized image (the table is page 2).
unsigned char* rootPage(unsigned char* bytes) { return bytes + std::size_t(bytes[16] * 256 + bytes[17]); }

// Spoils a root page: `Change` names how.
enum class Change { None, IndexLeaf, SwapAtHalf, SameChildAtHalf };

// On an interior root, the cell pointers where a walk in two runs splits it.
void changeRoot(unsigned char* bytes, Change change)
{
    unsigned char* root = rootPage(bytes);
    if (change == Change::IndexLeaf) {
        root[0] = 0x0A;
        return;
    }
    if (change == Change::None)
        return;
    ASSERT_EQ(root[0], 0x05);
    const int cells = root[3] * 256 + root[4];
    const int half = (cells + 1) / 2;   // the second run's first child
    ASSERT_GE(half, 1);
    ASSERT_LT(half, cells);
    unsigned char* before = root + 12 + 2 * (half - 1);
    unsigned char* first = root + 12 + 2 * half;
    if (change == Change::SwapAtHalf)
        std::swap_ranges(before, before + 2, first);
    else
        std::copy(before, before + 2, first);
}

// Scans the serialized image of `db` (in `runs` parts at once) and, when it
// answers, checks its rows against SQLite's.
ImageScanDecline scanAndCompare(sqlite3* db, QueryKind kind, Change change = Change::None, int runs = 1)
{
    sqlite3_int64 size = 0;
    unsigned char* bytes = sqlite3_serialize(db, "main", &size, 0);
    std::unique_ptr<unsigned char, void (*)(void*)> owned(bytes, sqlite3_free);
    changeRoot(bytes, change);
    Rows scanned;
    const ImageScanDecline d = scanImageAggregate(db, kind, QStringLiteral("main"), QStringLiteral("領収証記録"), bytes,
                                                  std::size_t(size), [&](const std::vector<StoredValue>& row) { scanned.push_back(row); },
                                                  {}, runs);
    if (d != ImageScanDecline::None) {
        EXPECT_TRUE(scanned.empty());
        return d;
    }
    const Rows expected = sqliteRows(db, kind);
    EXPECT_EQ(scanned.size(), expected.size());
    for (std::size_t r = 0; r < std::min(scanned.size(), expected.size()); ++r)
        for (std::size_t c = 0; c < expected[r].size(); ++c)
            EXPECT_TRUE(identical(scanned[r][c], expected[r][c])) << "row " << r << " column " << c;
    return d;
}

Db table(const char* pragmas, const char* columns)
{
    sqlite3* raw = nullptr;
    EXPECT_EQ(sqlite3_open(":memory:", &raw), SQLITE_OK);
    Db db(raw);
    exec(raw, QString::fromUtf8(pragmas));
    exec(raw, QStringLiteral("CREATE TABLE \"領収証記録\" (%1)").arg(QString::fromUtf8(columns)));
    exec(raw, QStringLiteral("CREATE TEMP VIEW \"領収証記録.db\" AS SELECT * FROM main.\"領収証記録\""));
    return db;
}

constexpr const char* kTyped = "番号 INTEGER PRIMARY KEY, 施術日 DATE, 年 SMALLINT, 月 SMALLINT, 日 SMALLINT, 保険料金合計 MONEY,"
                               " 一部負担金 MONEY, 保険外料金 MONEY, 合計金額 MONEY, 備考 TEXT";
constexpr const char* kUntyped = "施術日, 年, 月, 日, 保険料金合計, 一部負担金, 保険外料金, 合計金額, 備考";
constexpr const char* kReal = "備考 BLOB, 施術日 TEXT, 年 REAL, 月 FLOAT, 日 INTEGER, 保険料金合計 REAL, 一部負担金 DOUBLE,"
                              " 保険外料金 INTEGER, 合計金額 REAL";

QString pick(QRandomGenerator& random, const QStringList& values) { return values[int(random.bounded(quint32(values.size())))]; }

void fillRandom(sqlite3* db, QRandomGenerator& random, int rows)
{
    exec(db, QStringLiteral("BEGIN"));
    for (int i = 0; i < rows; ++i) {
        const QString note = random.bounded(6) == 0 ? QStringLiteral("randomblob(%1)").arg(random.bounded(70000))
                                                    : QStringLiteral("NULL");
        exec(db, QStringLiteral("INSERT INTO \"領収証記録\" (施術日,年,月,日,保険料金合計,一部負担金,保険外料金,合計金額,備考)"
                                " VALUES (%1,%2,%3,%4,%5,%6,%7,%8,%9)")
                     .arg(pick(random, {"'2005-03-01'", "'2005-03-02'", "NULL", "'2004-12-31'", "38412", "X'00'"}),
                          pick(random, {"2005", "2004", "NULL", "2005.0", "2005.5", "'2005'"}),
                          pick(random, {"3", "12", "NULL", "3.0"}), pick(random, {"1", "2", "31", "NULL"}),
                          pick(random, {"3000", "NULL", "1500.5", "0", "-7", "4294967296", "1"}),
                          pick(random, {"900", "900.25", "NULL", "-0.0", "70000"}),
                          pick(random, {"500", "NULL", "9007199254740991", "1e3"}), QString::number(random.bounded(100000)))
                     .arg(note));
    }
    exec(db, QStringLiteral("DELETE FROM \"領収証記録\" WHERE rowid % 7 = 3; COMMIT"));
}

TEST(ImageScanTest, RandomTablesAnswerAsSqlite)
{
    const char* pragmas[] = {"PRAGMA page_size=512", "PRAGMA page_size=1024", "PRAGMA page_size=4096",
                             "PRAGMA page_size=65536"};
    int answered = 0;
    int interiorRoots = 0;
    for (int seed = 1; seed <= 36; ++seed) {
        QRandomGenerator random{quint32(seed)};
        const char* columns = seed % 3 == 0 ? kTyped : seed % 3 == 1 ? kUntyped : kReal;
        Db db = table(pragmas[seed % 4], columns);
        if (seed % 5 == 0) {
            int reserve = 32;   // reserved bytes at the end of every page
            sqlite3_file_control(db.get(), "main", SQLITE_FCNTL_RESERVE_BYTES, &reserve);
        }
        fillRandom(db.get(), random, seed % 9 == 0 ? 0 : int(random.bounded(2000)) + 1);
        sqlite3_int64 size = 0;
        std::unique_ptr<unsigned char, void (*)(void*)> image(sqlite3_serialize(db.get(), "main", &size, 0), sqlite3_free);
        interiorRoots += rootPage(image.get())[0] == 0x05;
        for (const QueryKind kind : {QueryKind::Daily, QueryKind::Monthly}) {
            // Walked whole, and split in two and three runs: the same answer or the same decline.
            for (const int runs : {1, 2, 3}) {
                SCOPED_TRACE("seed " + std::to_string(seed) + ", runs " + std::to_string(runs));
                const ImageScanDecline d = scanAndCompare(db.get(), kind, Change::None, runs);
                EXPECT_TRUE(d == ImageScanDecline::None || d == ImageScanDecline::Grouping) << imageScanDeclineName(d);
                answered += d == ImageScanDecline::None;
            }
        }
    }
    EXPECT_GE(answered, 90);
    EXPECT_GE(interiorRoots, 20);
}

struct DeclineCase {
    const char* name;
    const char* pragmas;
    const char* columns;
    const char* rows;   // inserted as they are, after "INSERT INTO 領収証記録 "
    Change change;
    ImageScanDecline expected;
    bool dailyOnly = false;
};

// Enough rows on 512-byte pages for a root with a few dozen children.
constexpr const char* kManyRows =
    "(施術日,年,月,日,保険料金合計,一部負担金,保険外料金,合計金額) WITH RECURSIVE n(value) AS"
    " (SELECT 1 UNION ALL SELECT value + 1 FROM n WHERE value < 3000) SELECT '2005-03-01',2005,3,1+value%28,value,2,3,4 FROM n";

TEST(ImageScanTest, DeclinesForItsReason)
{
    const char* plain = "(施術日,年,月,日,保険料金合計,一部負担金,保険外料金,合計金額) VALUES ('2005-03-01',2005,3,1,1,2,3,4)";
    const DeclineCase cases[] = {
        {"answered", "", kTyped, plain, Change::None, ImageScanDecline::None},
        {"without rowid", "", "施術日 DATE PRIMARY KEY, 年, 月, 日, 保険料金合計, 一部負担金, 保険外料金, 合計金額) WITHOUT ROWID --",
         plain, Change::None, ImageScanDecline::NotPlainTable},
        {"generated column", "", "施術日, 年, 月, 日, 保険料金合計, 一部負担金, 保険外料金, 合計金額, g AS (年 + 1)", plain, Change::None,
         ImageScanDecline::NotPlainTable},
        {"strict", "", "施術日 TEXT, 年 INT, 月 INT, 日 INT, 保険料金合計 REAL, 一部負担金 REAL, 保険外料金 REAL, 合計金額 REAL) STRICT --",
         plain, Change::None, ImageScanDecline::NotPlainTable},
        {"utf-16", "PRAGMA encoding='UTF-16le'", kTyped, plain, Change::None, ImageScanDecline::NotUtf8},
        {"nocase key", "", "施術日 COLLATE NOCASE, 年, 月, 日, 保険料金合計, 一部負担金, 保険外料金, 合計金額", plain, Change::None,
         ImageScanDecline::Collation, true},
        {"default value", "", "施術日, 年, 月, 日 DEFAULT 1, 保険料金合計, 一部負担金, 保険外料金, 合計金額", plain, Change::None,
         ImageScanDecline::ColumnShape, true},
        {"key column", "", "施術日, 年 INTEGER PRIMARY KEY, 月, 日, 保険料金合計, 一部負担金, 保険外料金, 合計金額", plain, Change::None,
         ImageScanDecline::ColumnShape},
        {"key on overflow pages", "PRAGMA page_size=512", kUntyped,
         "(施術日,年,月,日,保険料金合計,一部負担金,保険外料金,合計金額) VALUES (printf('%.3000c','x'),2005,3,1,1,2,3,4)", Change::None,
         ImageScanDecline::None},
        {"corrupt page", "", kTyped, plain, Change::IndexLeaf, ImageScanDecline::CorruptPage},
        // Two runs each in order, out of order where they meet; a child reached from both.
        {"keys out of order between runs", "PRAGMA page_size=512", kTyped, kManyRows, Change::SwapAtHalf,
         ImageScanDecline::CorruptPage},
        {"child of both runs", "PRAGMA page_size=512", kTyped, kManyRows, Change::SameChildAtHalf,
         ImageScanDecline::CorruptPage},
        {"text amount", "", kUntyped,
         "(施術日,年,月,日,保険料金合計,一部負担金,保険外料金,合計金額) VALUES ('2005-03-01',2005,3,1,'1,500',2,3,4)", Change::None,
         ImageScanDecline::NotAnAmount},
        {"ambiguous key", "", kUntyped,
         "(施術日,年,月,日,保険料金合計,一部負担金,保険外料金,合計金額) VALUES ('2005-03-01',2005,3,1,1,2,3,4),"
         " ('2005-03-01',2005.0,3,1,1,2,3,4)", Change::None, ImageScanDecline::Grouping},
    };
    for (const DeclineCase& c : cases) {
        SCOPED_TRACE(c.name);
        Db db = table(c.pragmas, c.columns);
        exec(db.get(), QStringLiteral("INSERT INTO \"領収証記録\" ") + QString::fromUtf8(c.rows));
        for (const QueryKind kind : {QueryKind::Daily, QueryKind::Monthly}) {
            for (const int runs : {1, 2}) {
                const ImageScanDecline d = scanAndCompare(db.get(), kind, c.change, runs);
                // Keys the monthly statement does not read (施術日, 日) cannot make it decline.
                if (kind == QueryKind::Monthly && c.dailyOnly)
                    continue;
                EXPECT_EQ(d, c.expected) << imageScanDeclineName(d) << ", runs " << runs;
            }
        }
    }
}

} // namespace
} // namespace uriage::data
