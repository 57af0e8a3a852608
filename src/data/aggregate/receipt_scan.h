#pragma once
// The aggregate statements computed in one pass over the receipt rows of the
// in-memory copy: only the needed columns are read, and the rows are grouped,
// counted and summed in memory instead of being sorted by SQLite.
//
// This is an optimisation, nothing more: SQLite's own run of the same
// statement is the answer it must give in every detail (types, bits of
// floating-point values, bytes of texts), which the differential test checks
// on random tables. Wherever the answer could differ (see ReceiptGroups) the
// scan declines, and SQLite computes the result itself.
#include "data/statement/column_reading.h"
#include "data/query_texts.h"

#include <QString>
#include <functional>
#include <vector>

struct sqlite3;

namespace uriage::data {

enum class ScanOutcome {
    Answered,           // every row was handed out
    DeclinedUseSqlite,  // no row was handed out: SQLite's own run gives the answer
};

// Computes the statement's result over the table reachable as `view` in
// `work`, which is `table` of the attached schema `schema`, and hands its rows
// (keys, count, sums) to `deliver` in order. Declines, before any row, where
// the answer could differ from SQLite's and where the scan fails: SQLite's own
// run then gives the answer, or the error. What `deliver` throws passes through.
// A text or a byte string in a summed column throws Failure naming the column
// and the value, whether the scan answers or declines.
ScanOutcome scanAggregate(sqlite3* work, QueryKind kind, const QString& view, const QString& schema, const QString& table,
                   const std::function<void(const std::vector<StoredValue>&)>& deliver);

// Throws Failure naming the column and the value when a summed column of the
// receipt table reachable as `view` holds a text or a byte string (the first
// such value in table order); nothing when the table lacks those columns.
void requireAmounts(sqlite3* work, const QString& view);

} // namespace uriage::data
