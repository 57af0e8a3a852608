// How a failed statement gets its status: the columns it reads are looked up
// in the table's schema before it is prepared, naming the column SQLite itself
// would name; a plain error while it runs is a total too large only where the
// amounts could reach the integer limit.
#include "receipt_fixture.h"

#include "data/statement/statement_runner.h"

namespace uriage::data::testing {
namespace {

const QStringList kAllColumns = {"施術日", "年", "月", "日", "保険料金合計", "一部負担金", "保険外料金", "合計金額"};

// The receipt table without the columns `missing`.
QString schemaWithout(const QStringList& missing)
{
    QStringList columns;
    for (const QString& column : kAllColumns) {
        if (!missing.contains(column))
            columns << column + QStringLiteral(" NUMERIC");
    }
    return QStringLiteral("CREATE TABLE 領収証記録 (%1)").arg(columns.join(QStringLiteral(", ")));
}

// The column SQLite names when it prepares the statement over the table file
// itself; empty when it prepares it.
QString columnSqliteNames(const QString& tablePath, QueryKind kind)
{
    sqlite3* db = nullptr;
    EXPECT_EQ(sqlite3_open_v2(tablePath.toUtf8().constData(), &db, SQLITE_OPEN_READONLY, nullptr), SQLITE_OK);
    QString sql = aggregateSql(kind);
    sql.replace(QStringLiteral("\"領収証記録.db\""), QStringLiteral("領収証記録"));
    sqlite3_stmt* stmt = nullptr;
    const QByteArray utf8 = sql.toUtf8();
    QString named;
    if (sqlite3_prepare_v2(db, utf8.constData(), int(utf8.size()), &stmt, nullptr) != SQLITE_OK)
        named = QString::fromUtf8(sqlite3_errmsg(db)).section(QStringLiteral(": "), 1);
    sqlite3_finalize(stmt);
    sqlite3_close(db);
    return named;
}

TEST_F(DataTest, AMissingColumnIsTheOneSqliteWouldName)
{
    const QList<QStringList> missingSets = {
        {"保険外料金"}, {"施術日"}, {"日"}, {"合計金額", "年"}, {"一部負担金", "保険料金合計"}, {"月", "日", "合計金額"},
    };
    for (const QStringList& missing : missingSets) {
        for (const QueryKind kind : {QueryKind::Daily, QueryKind::Monthly}) {
            SCOPED_TRACE((missing.join(',') + (kind == QueryKind::Daily ? " daily" : " monthly")).toStdString());
            ReceiptDirectory dir;
            dir.write({}, schemaWithout(missing));
            const QString sqliteNames = columnSqliteNames(dir.tablePath(), kind);
            try {
                runStatement(dir.path(), aggregateStatement(kind));
                EXPECT_TRUE(sqliteNames.isEmpty()) << "SQLite refuses: " << sqliteNames.toStdString();
            } catch (const EngineError& error) {
                EXPECT_EQ(error.status(), EngineStatus::ColumnMissing);
                ASSERT_EQ(error.details().size(), 1u);
                EXPECT_EQ(error.details()[0].context, columnContext(sqliteNames));
            }
        }
    }
}

// A statement that fails with a plain error while it runs, for another reason
// than a sum: a total too large only where the amounts come near the limit.
TEST_F(DataTest, APlainErrorWhileRunningIsATotalTooLargeOnlyNearTheLimit)
{
    const struct {
        const char* name;
        const char* amount;
        EngineStatus status;
    } cases[] = {
        {"everyday amounts", "1000", EngineStatus::SqlRefused},
        {"an amount near the largest integer", "9223372036854775000", EngineStatus::TotalTooLarge},
        {"an amount near the smallest integer", "-9223372036854775000", EngineStatus::TotalTooLarge},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        ReceiptDirectory dir;
        dir.write({{"'2005-03-01'", "2005", "3", "1", c.amount, "0", "0", "0"}});
        StatementRequest request = aggregateStatement(QueryKind::Monthly);
        request.aggregate.reset();
        // Malformed JSON fails only while the rows are stepped.
        request.sql = QStringLiteral("SELECT 年, json_extract('{', '$') FROM \"領収証記録.db\"");
        EXPECT_EQ(engineStatusOf([&] { runStatement(dir.path(), request); }), c.status);
    }
}

} // namespace
} // namespace uriage::data::testing
