// Which path answers a statement: the one-pass grouping for a statement handed
// over with its aggregate kind (whatever its text looks like), SQLite for one
// without, and for a table the grouping declines; the rows are the same.
#include "receipt_fixture.h"

#include "data/statement/statement_runner.h"

namespace uriage::data::testing {
namespace {

const std::vector<Receipt> kReceipts = {
    {"'2005-03-01'", "2005", "3", "1", "1000", "300", "0", "1300"},
    {"'2005-03-01'", "2005", "3", "1", "1500.5", "450", "500", "2450.5"},
    {"'2005-04-02'", "2005", "4", "2", "700", "NULL", "0", "700"},
};

// The receipt columns with another collation on a key: left to SQLite.
constexpr const char* kNocaseSchema =
    "CREATE TABLE 領収証記録 (施術日 DATE COLLATE NOCASE, 年 SMALLINT COLLATE NOCASE, 月 SMALLINT, 日 SMALLINT,"
    " 保険料金合計 MONEY, 一部負担金 MONEY, 保険外料金 MONEY, 合計金額 MONEY)";

StatementRequest withoutKind(StatementRequest request)
{
    request.aggregate.reset();
    return request;
}

// The daily text respaced, the monthly one with its line breaks trimmed.
StatementRequest withEditedText(QueryKind kind)
{
    StatementRequest request = aggregateStatement(kind);
    if (kind == QueryKind::Daily)
        request.sql.replace(QStringLiteral("月 ,日"), QStringLiteral("月, 日"));
    else
        request.sql = request.sql.trimmed();
    return request;
}

TEST_F(DataTest, OnlyStatementsHandedOverWithTheirKindAreGroupedInOnePass)
{
    ReceiptDirectory plain;
    plain.write(kReceipts);
    ReceiptDirectory nocase;
    nocase.write(kReceipts, QString::fromUtf8(kNocaseSchema));
    for (const QueryKind kind : {QueryKind::Daily, QueryKind::Monthly}) {
        SCOPED_TRACE(kind == QueryKind::Daily ? "daily" : "monthly");
        const StatementResult bySqlite = runStatement(plain.path(), withoutKind(aggregateStatement(kind)));
        EXPECT_FALSE(bySqlite.groupedInOnePass);
        ASSERT_EQ(bySqlite.table.rows.size(), 2u);   // two days, two months

        const struct {
            const char* name;
            QString directory;
            StatementRequest request;
            bool onePass;
        } cases[] = {
            {"the query's statement", plain.path(), aggregateStatement(kind), true},
            {"an edited text with its kind", plain.path(), withEditedText(kind), true},
            {"an edited text without its kind", plain.path(), withoutKind(withEditedText(kind)), false},
            {"a key the grouping declines", nocase.path(), aggregateStatement(kind), false},
        };
        for (const auto& c : cases) {
            const StatementResult result = runStatement(c.directory, c.request);
            EXPECT_EQ(result.groupedInOnePass, c.onePass) << c.name;
            EXPECT_EQ(result.table.rows, bySqlite.table.rows) << c.name;
        }
    }
}

} // namespace
} // namespace uriage::data::testing
