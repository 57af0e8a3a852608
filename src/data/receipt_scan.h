#pragma once
// The aggregate statements computed in one pass over the receipt rows of the
// in-memory copy: only the needed columns are read, and the rows are grouped,
// counted and summed in memory instead of being sorted by SQLite. The answer
// is SQLite's own in every detail; where that cannot be guaranteed (see
// ReceiptGroups) the scan declines and SQLite computes the result.
#include "data/column_reading.h"
#include "data/query_texts.h"

#include <QString>
#include <functional>
#include <optional>
#include <vector>

struct sqlite3;

namespace uriage::data {

// Which aggregate statement `sql` is, exactly as the queries hand it over;
// nothing for any other text.
std::optional<QueryKind> aggregateKindOf(const QString& sql);

// Computes the statement's result over the table reachable as `view` in
// `work`, which is `table` of the attached schema `schema`, and hands its rows
// (keys, count, sums) to `deliver` in order. False, before any row, when the scan
// declines or fails: SQLite's own run then gives the answer, or the error, as
// before. What `deliver` throws passes through.
// A text or a byte string in a summed column throws Failure naming the column and
// the value, whether the scan answers or declines.
bool scanAggregate(sqlite3* work, QueryKind kind, const QString& view, const QString& schema, const QString& table,
                   const std::function<void(const std::vector<StoredValue>&)>& deliver);

// Throws Failure naming the column and the value when a summed column of the
// receipt table reachable as `view` holds a text or a byte string (the first
// such value in table order); nothing when the table lacks those columns.
void requireAmounts(sqlite3* work, const QString& view);

} // namespace uriage::data
