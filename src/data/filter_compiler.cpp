#include "data/filter.h"

#include "data/failure.h"

namespace uriage::data {

// Placeholder until the compiler lands; replaced by the real one.
std::unique_ptr<CompiledFilter> compileFilter(const QByteArray&, const std::vector<ColumnInfo>&,
                                              const QString&, const RegionalSettings&)
{
    throw Failure(QStringLiteral("フィルター式の形式が正しくありません"));
}

} // namespace uriage::data
