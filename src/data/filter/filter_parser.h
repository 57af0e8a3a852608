#pragma once
// The grammar of filter texts, read by recursive descent into an expression tree.
#include "data/field_value.h"
#include "data/filter/filter_expression.h"

#include <QByteArray>
#include <QString>
#include <memory>
#include <vector>

namespace uriage::data::filter {

// Deepest nesting of parentheses and IN lists a filter text may have; deeper
// texts fail as malformed instead of exhausting the stack.
constexpr int maxNesting = 100;

// Reads the whole filter text as one condition. Column references are looked up
// among `columns` (letter case ignored) as they are read; a missing one fails
// with componentName as prefix. Constants are typed but not yet converted.
std::unique_ptr<Node> parseFilter(const QByteArray& text, const std::vector<ColumnInfo>& columns,
                                  const QString& componentName, char decimalSeparator);

} // namespace uriage::data::filter
