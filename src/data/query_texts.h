#pragma once
// The two aggregate statements, four lines each ending in CR LF, exactly as
// the chart windows hand them to the engine (blanks included).
#include <QString>
#include <QStringList>
#include <optional>

namespace uriage::data {

enum class QueryKind { Daily, Monthly };

inline QString dailyAggregateSql()
{
    return QStringLiteral(
        "SELECT DISTINCT 施術日,年,月,日,COUNT(*),SUM(保険料金合計),SUM(一部負担金),SUM(保険外料金),SUM(合計金額)\r\n"
        "FROM \"領収証記録.db\"\r\n"
        "GROUP BY 施術日, 年, 月 ,日\r\n"
        "ORDER BY 施術日,年,月,日\r\n");
}

inline QString monthlyAggregateSql()
{
    return QStringLiteral(
        "SELECT DISTINCT 年,月,COUNT(*),SUM(保険料金合計),SUM(一部負担金),SUM(保険外料金),SUM(合計金額)\r\n"
        "FROM \"領収証記録.db\"\r\n"
        "GROUP BY 年,月\r\n"
        "ORDER BY 年,月\r\n");
}

inline QString aggregateSql(QueryKind kind) { return kind == QueryKind::Daily ? dailyAggregateSql() : monthlyAggregateSql(); }

// The table the statements read: table 領収証記録 of the file 領収証記録.db in
// the data directory.
inline QString receiptTableName() { return QStringLiteral("領収証記録.db"); }

// A statement as a query hands it to the engine: its text, the names of the
// table files it reads ("X.db" or "X": table X of the file X.db), which
// aggregate it computes, when it is one of the two, the table columns it
// reads in the order it first names them (the engine looks each one up before
// it prepares, and names the first one missing), and those it sums.
struct StatementRequest {
    QString sql;
    QStringList tableFiles;
    std::optional<QueryKind> aggregate;
    QStringList columns;
    QStringList summedColumns;
};

inline QStringList summedReceiptColumns()
{
    return {QStringLiteral("保険料金合計"), QStringLiteral("一部負担金"), QStringLiteral("保険外料金"),
            QStringLiteral("合計金額")};
}

inline QStringList aggregateColumns(QueryKind kind)
{
    const QStringList keys = kind == QueryKind::Daily
                                 ? QStringList{QStringLiteral("施術日"), QStringLiteral("年"), QStringLiteral("月"),
                                               QStringLiteral("日")}
                                 : QStringList{QStringLiteral("年"), QStringLiteral("月")};
    return keys + summedReceiptColumns();
}

inline StatementRequest aggregateStatement(QueryKind kind)
{
    return StatementRequest{aggregateSql(kind), {receiptTableName()}, kind, aggregateColumns(kind), summedReceiptColumns()};
}

// The data directory every query names.
inline QString defaultDatabaseName() { return QStringLiteral("C:\\Zelmora"); }

} // namespace uriage::data
