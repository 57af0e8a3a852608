#pragma once
// Runs one SQL statement of a directory database and returns its whole result
// as a read-only in-memory table, every value read and checked on the way.
// The table files the statement names are copied into memory first, each
// under a brief read lock, and the statement runs over the copies, unchanged.
#include "data/field_value.h"
#include "data/query_texts.h"
#include "data/snapshot/unchanged_file.h"
#include "data/statement/read_limits.h"

#include <QString>
#include <optional>

namespace uriage::data {

class ImageRoom;

// The one table file a result was computed from, and what proves later
// that the file still holds the state it was computed from.
struct ResultSource {
    QString fileName;   // in the directory
    FileProof proof;
};

struct StatementResult {
    ResultTable table;
    double lockMilliseconds = 0;   // read lock held on the table files, in total (0: none taken)
    int copyTries = 0;             // lock-free copies of the table files tried, in total
    bool groupedInOnePass = false; // the aggregate was computed by the one-pass grouping
    std::optional<ResultSource> source; // none when the result rests on more or unprovable copies
};

// The reads and the statement keep within `limits`; the table file's copy
// takes its room from `room` when given. Throws EngineError.
StatementResult runStatement(const QString& directory, const StatementRequest& request, const ReadLimits& limits = {},
                             ImageRoom* room = nullptr);

} // namespace uriage::data
