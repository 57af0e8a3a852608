#pragma once
// A result value as the chart reads it: a float (0 when null, a date as its day
// number) and a display text (empty when null, a date in the short date format,
// a whole number as its digits).
#include "data/field_value.h"
#include "common/regional_settings.h"

#include <QString>

namespace uriage::data {

double valueAsFloat(const Value& value);
QString valueDisplayText(const Value& value, FieldType type, const RegionalSettings& settings);

} // namespace uriage::data
