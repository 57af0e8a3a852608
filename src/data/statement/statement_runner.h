#pragma once
// Runs one SQL statement of a directory database and returns its whole result
// as a read-only in-memory table, every value read and checked on the way.
// A table named "X.db" in the SQL text is the table X in the file X.db of the
// directory (a bare name X means the same file); its file is copied into memory
// under a brief read lock and the statement runs over the copy, unchanged.
#include "data/field_value.h"

#include <QString>

namespace uriage::data {

struct StatementResult {
    ResultTable table;
    double lockMilliseconds = 0;   // read lock held on the table files, in total
};

// Throws Failure with the engine's message.
StatementResult runStatement(const QString& directory, const QString& sql);

} // namespace uriage::data
