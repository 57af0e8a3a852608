#pragma once
// Aggregate rows of both kinds of query for the filter tests, with the result
// columns as the engine reports them, and a helper that names the passing rows.
#include "common/cp932.h"
#include "common/failure.h"
#include "data/filter/filter.h"

#include <QDate>
#include <QStringList>
#include <optional>
#include <variant>

namespace uriage::data::testing {

enum class QueryKind { Daily, Monthly };

inline QString componentFor(QueryKind kind) { return kind == QueryKind::Daily ? "Query1" : "Query2"; }

// 年, 月 and 日 are 16-bit or 32-bit whole numbers, as the writing program declares them.
inline std::vector<ColumnInfo> columnsFor(QueryKind kind, FieldType wholeNumber)
{
    std::vector<ColumnInfo> columns;
    if (kind == QueryKind::Daily)
        columns.push_back({"施術日", FieldType::Date});
    columns.push_back({"年", wholeNumber});
    columns.push_back({"月", wholeNumber});
    if (kind == QueryKind::Daily)
        columns.push_back({"日", wholeNumber});
    columns.push_back({"COUNT(*)", FieldType::Int32});
    columns.push_back({"保険料金合計の合計", FieldType::Float});
    columns.push_back({"SUM(一部負担金)", FieldType::Float});
    columns.push_back({"保険外料金の合計", FieldType::Float});
    columns.push_back({"SUM(合計金額)", FieldType::Float});
    return columns;
}

struct FixtureRow {
    QString key;  // "年/月/日" (or "年/月"), "null" for the blank group
    Row row;
};

inline Value dateValue(int y, int m, int d) { return DateValue{int32_t(QDate(1899, 12, 30).daysTo(QDate(y, m, d)))}; }

// Days of December 2004, January and March 2005, March and April 2006; a group
// whose 年 and 月 differ from its date (年=月=3); a group with blank keys.
inline std::vector<FixtureRow> rowsFor(QueryKind kind)
{
    struct Day { int y, m, d; int64_t count; double insured, copay, uninsured, total; };
    const Day days[] = {
        {2004, 12, 27, 3, 3000.0, 900.0, 500.0, 4400.0},
        {2005, 1, 5, 1, 1000.5, 300.0, 0.0, 1300.5},
        {2005, 3, 1, 2, 2000.0, 600.0, 1500.0, 4100.0},
        {2005, 3, 15, 4, 4000.0, 1200.0, 0.0, 5200.0},
        {2006, 3, 2, 1, 1000.0, 300.0, 200.0, 1500.0},
        {2006, 4, 10, 5, 5000.0, 1500.0, 800.0, 7300.0},
    };
    std::vector<FixtureRow> rows;
    auto sums = [](Row& r, const Day& d) {
        r.insert(r.end(), {Value(d.count), Value(d.insured), Value(d.copay), Value(d.uninsured), Value(d.total)});
    };
    if (kind == QueryKind::Daily) {
        for (const Day& d : days) {
            Row r{dateValue(d.y, d.m, d.d), int64_t(d.y), int64_t(d.m), int64_t(d.d)};
            sums(r, d);
            rows.push_back({QStringLiteral("%1/%2/%3").arg(d.y).arg(d.m).arg(d.d), r});
        }
        rows.push_back({"3/3/3", {dateValue(2007, 3, 3), int64_t(3), int64_t(3), int64_t(3), int64_t(1), 10.0, 3.0, 0.0, 13.0}});
        rows.push_back({"null", {Value(), Value(), Value(), Value(), int64_t(2), Value(), Value(), Value(), Value()}});
    } else {
        // One row per month: the days above summed by month.
        for (const Day& d : days) {
            if (!rows.empty() && rows.back().key == QStringLiteral("%1/%2").arg(d.y).arg(d.m)) {
                Row& r = rows.back().row;
                r[2] = std::get<int64_t>(r[2]) + d.count;
                r[3] = std::get<double>(r[3]) + d.insured;
                continue;
            }
            Row r{int64_t(d.y), int64_t(d.m)};
            sums(r, d);
            rows.push_back({QStringLiteral("%1/%2").arg(d.y).arg(d.m), r});
        }
        rows.push_back({"3/3", {int64_t(3), int64_t(3), int64_t(1), 10.0, 3.0, 0.0, 13.0}});
        rows.push_back({"null", {Value(), Value(), int64_t(2), Value(), Value(), Value(), Value()}});
    }
    return rows;
}

// The outcome of compiling a filter text: the keys of the passing rows, or the message.
struct Outcome {
    std::optional<QStringList> rows;
    QString message;
};

inline Outcome filterRows(const QString& filterText, const std::vector<ColumnInfo>& columns,
                          const std::vector<FixtureRow>& rows, const QString& component,
                          const RegionalSettings& settings)
{
    try {
        auto filter = compileFilter(cp932::encode(filterText), columns, component, settings);
        QStringList passing;
        for (const FixtureRow& r : rows)
            if (filter->passes(r.row))
                passing << r.key;
        return {passing, {}};
    } catch (const Failure& failure) {
        return {std::nullopt, failure.message()};
    }
}

inline RegionalSettings japaneseSettings()
{
    RegionalSettings s;
    s.shortDateFormat = "yyyy/MM/dd";
    s.shortTimeFormat = "H:mm";
    s.thousandsSeparator = ',';
    s.decimalSeparator = '.';
    return s;
}

} // namespace uriage::data::testing
