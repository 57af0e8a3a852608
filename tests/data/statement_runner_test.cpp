// Which path answers a statement: the one-pass grouping for a statement handed
// over with its aggregate kind (whatever its text looks like), SQLite for one
// without, and for a table the grouping declines; the rows are the same.
#include "receipt_fixture.h"

#include "data/statement/statement_runner.h"

namespace uriage::data::testing {
namespace {

// Two days of one month and a day of the next, amounts with fractions and blanks.
const std::vector<Receipt> kReceipts = {
    {"'2006-05-08'", "2006", "5", "8", "2400", "720", "0", "3120"},
    {"'2006-05-08'", "2006", "5", "8", "1200.25", "NULL", "300", "1500.25"},
    {"'2006-05-09'", "2006", "5", "9", "NULL", "90", "NULL", "90"},
    {"'2006-06-01'", "2006", "6", "1", "800", "240", "1000", "2040"},
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
        ASSERT_EQ(bySqlite.table.rows.size(), kind == QueryKind::Daily ? 3u : 2u);

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
