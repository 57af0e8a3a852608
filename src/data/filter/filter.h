#pragma once
// Row filter expressions: a filter text (CP932 bytes) compiled against the
// columns of an aggregate result into a tree evaluated per row.
#include "data/field_value.h"
#include "common/regional_settings.h"

#include <QByteArray>
#include <memory>
#include <vector>

namespace uriage::data {

class CompiledFilter {
public:
    virtual ~CompiledFilter() = default;
    virtual bool passes(const Row& row) const = 0;
};

// Throws Failure with the exact message of the failure; a column that is not
// found is reported with componentName as prefix ("Query1: 項目 'abc' が見つかりません").
std::unique_ptr<CompiledFilter> compileFilter(const QByteArray& filterText,
                                              const std::vector<ColumnInfo>& columns,
                                              const QString& componentName,
                                              const RegionalSettings& settings);

} // namespace uriage::data
