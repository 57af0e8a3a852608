#include "data/statement/kept_results.h"

#include "data/database_path.h"
#include "data/snapshot/table_snapshot.h"

#include <algorithm>

namespace uriage::data {

std::optional<ResultTable> KeptResults::reuse(const QString& directory, const StatementRequest& statement)
{
    const auto found = std::find_if(kept_.begin(), kept_.end(), [&](const Kept& k) { return k.sql == statement.sql; });
    if (found == kept_.end())
        return std::nullopt;
    // Forgotten first: whatever the checks find, the next result replaces it.
    Kept kept = std::move(*found);
    kept_.erase(found);
    const QString filePath = findEntry(directory, kept.source.fileName);
    if (!tableFileUnchanged(directory, filePath, kept.source.proof))
        return std::nullopt;
    ResultTable table = kept.table;
    kept_.push_back(std::move(kept));
    return table;
}

void KeptResults::keep(const StatementRequest& statement, const StatementResult& result)
{
    std::erase_if(kept_, [&](const Kept& k) { return k.sql == statement.sql; });
    if (result.source)
        kept_.push_back(Kept{statement.sql, *result.source, result.table});
}

} // namespace uriage::data
