// Odd contents and odd files in the data directory: each gets its own clear
// message (or reads correctly), never a wrong total, a hang or a changed file.
#include "receipt_fixture.h"

#include "data/statement/column_reading.h"

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

    Query query("Query1", c.kind);
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

} // namespace
} // namespace uriage::data::testing
