// Odd contents in the table file: each gets its own clear message (or reads
// correctly), never a wrong total, a hang or a changed file.
#include "receipt_fixture.h"

#include "data/statement/column_reading.h"
#include "data/statement/work_database.h"

#include <QString>

namespace uriage::data::testing {
namespace {

QString openMessage(Query& query) { return failureOf([&] { query.open(); }); }

// ---- Amounts that are no numbers ------------------------------------------

struct AmountCase {
    int column;              // 0 保険料金合計, 1 一部負担金, 2 保険外料金, 3 合計金額
    const char* literal;     // as written into the table
    const char* shown;       // as the message shows it
    const char* declared;    // the amount columns' declared type
    QueryKind kind;
};

std::vector<AmountCase> amountCases()
{
    const struct {
        const char* literal;
        const char* shown;
    } values[] = {
        {"'1,500'", "'1,500'"},          // SQLite's SUM would count it as 1
        {"'１５００'", "'１５００'"},    // full-width digits: as 0
        {"X'0105'", "X'0105'"},          // a byte string: as 0
        {"''", "''"},
    };
    std::vector<AmountCase> cases;
    for (int column = 0; column < 4; ++column)
        for (const auto& v : values)
            for (const char* declared : {"MONEY", "INTEGER", "REAL", ""})
                cases.push_back({column, v.literal, v.shown, declared,
                                 (column + int(cases.size())) % 2 ? QueryKind::Daily : QueryKind::Monthly});
    return cases;
}

class NonAmountTest : public DataTest, public ::testing::WithParamInterface<AmountCase> {};

TEST_P(NonAmountTest, FailsNamingTheColumnAndTheValue)
{
    const AmountCase& c = GetParam();
    ReceiptDirectory dir;
    const QString type = QString::fromUtf8(c.declared);
    dir.write({}, QStringLiteral("CREATE TABLE 領収証記録 (施術日 DATE, 年 SMALLINT, 月 SMALLINT, 日 SMALLINT,"
                                 " 保険料金合計 %1, 一部負担金 %1, 保険外料金 %1, 合計金額 %1)")
                      .arg(type));
    Receipt good = {"'2005-03-01'", "2005", "3", "1", "3000", "900", "500", "1400"};
    Receipt bad = good;
    bad[std::size_t(4 + c.column)] = c.literal;
    // The odd value lies between good rows of the same day.
    dir.add(good);
    dir.add(bad);
    dir.add(good);
    const auto before = dir.fingerprint();

    Query query(engine, "Query1", c.kind);
    query.setDatabaseName(dir.path());
    EXPECT_EQ(openMessage(query), QStringLiteral("列の値がその型として読めません\n列: %1\n値: %2")
                                      .arg(QString::fromUtf8(kSummedColumns[c.column]), QString::fromUtf8(c.shown)));
    EXPECT_EQ(query.state(), DataSetState::Inactive);
    EXPECT_EQ(dir.fingerprint(), before);
}

std::string amountCaseName(const ::testing::TestParamInfo<AmountCase>& info)
{
    const AmountCase& c = info.param;
    const char* values[] = {"Comma", "FullWidth", "Blob", "Empty"};
    const std::string declared = *c.declared ? c.declared : "Untyped";
    return "Column" + std::to_string(c.column) + values[info.index / 4 % 4] + declared;
}

INSTANTIATE_TEST_SUITE_P(Amounts, NonAmountTest, ::testing::ValuesIn(amountCases()), amountCaseName);

// ---- Something else under the table's name --------------------------------

struct SchemaCase {
    const char* name;
    const char* schema;
};

const SchemaCase kSchemaCases[] = {
    {"View", "CREATE TABLE 原本 (施術日 DATE, 年 SMALLINT, 月 SMALLINT, 日 SMALLINT, 保険料金合計 MONEY, 一部負担金 MONEY,"
             " 保険外料金 MONEY, 合計金額 MONEY); CREATE VIEW 領収証記録 AS SELECT * FROM 原本"},
    {"RecursiveView", "CREATE VIEW 領収証記録 AS WITH RECURSIVE n(i) AS (SELECT 1 UNION ALL SELECT i + 1 FROM n)"
                      " SELECT '2005-03-01' AS 施術日, 2005 AS 年, 3 AS 月, 1 AS 日, i AS 保険料金合計, 0 AS 一部負担金,"
                      " 0 AS 保険外料金, i AS 合計金額 FROM n"},
    {"Index", "CREATE TABLE 原本 (年 SMALLINT); CREATE INDEX 領収証記録 ON 原本 (年)"},
};

class NotATableTest : public DataTest, public ::testing::WithParamInterface<SchemaCase> {};

TEST_P(NotATableTest, IsRefusedWithAMessage)
{
    ReceiptDirectory dir;
    dir.write({}, QString::fromUtf8(GetParam().schema));
    const auto before = dir.directoryState();
    for (const QueryKind kind : {QueryKind::Daily, QueryKind::Monthly})
        EXPECT_EQ(openedIn(engine, dir.path(), kind), "テーブルではありません\nテーブル: 領収証記録\nファイル: " + dir.tablePath());
    EXPECT_EQ(dir.directoryState(), before);
}

INSTANTIATE_TEST_SUITE_P(Schemas, NotATableTest, ::testing::ValuesIn(kSchemaCases),
                         [](const auto& info) { return std::string(info.param.name); });

// ---- Bounds in time -------------------------------------------------------

TEST_F(DataTest, StatementPastItsTimeLimitEndsWithAMessage)
{
    ReceiptDirectory dir;
    dir.write({}, QString::fromUtf8(kReceiptSchema));
    sqlite3* db = nullptr;
    ASSERT_EQ(sqlite3_open(platform::pathBytes(dir.tablePath()).constData(), &db), SQLITE_OK);
    execSql(db, "WITH RECURSIVE n(i) AS (SELECT 1 UNION ALL SELECT i + 1 FROM n WHERE i < 300000)"
                " INSERT INTO 領収証記録 (施術日, 年, 月, 日, 保険料金合計, 一部負担金, 保険外料金, 合計金額)"
                " SELECT '2005-03-01', 2005, 3, 1, i, 0, 0, i FROM n");
    sqlite3_close(db);
    EngineOptions hurried;
    hurried.limits.statementMilliseconds = 2;
    Engine hurriedEngine(std::move(hurried));
    Query query(hurriedEngine, "Query1", QueryKind::Daily);
    query.setDatabaseName(dir.path());
    EXPECT_EQ(engineStatusOf([&] { query.open(); }), EngineStatus::TimeLimit);
    // The program's own limit gives the table all the time it needs.
    EXPECT_EQ(openedIn(engine, dir.path(), QueryKind::Monthly), "2005|3|300000|45000150000|0|0|45000150000");
}

} // namespace
} // namespace uriage::data::testing
