#pragma once
// The results a connection keeps from its last runs, one per statement text,
// each with the proof of the table file state it was computed from: a press
// on a table nobody has saved to since shows the kept rows instead of copying
// and aggregating the whole file again.
#include "data/field_value.h"
#include "data/query_texts.h"
#include "data/statement/statement_runner.h"

#include <QString>
#include <optional>
#include <vector>

namespace uriage::data {

class KeptResults {
public:
    // The kept result of `statement` when its table file in `directory`
    // provably still holds the state it was computed from. The checks a new
    // read makes first (the directory, the file, the files beside it) run
    // first and throw as they do there; the kept result is then forgotten.
    std::optional<ResultTable> reuse(const QString& directory, const StatementRequest& statement);

    // Keeps `result` for `statement` when it names the state it rests on;
    // else forgets what was kept for it.
    void keep(const StatementRequest& statement, const StatementResult& result);

private:
    struct Kept {
        QString sql;
        ResultSource source;
        ResultTable table;
    };
    std::vector<Kept> kept_;
};

} // namespace uriage::data
