#pragma once
// A result value as the chart and the filter read it: a float (0 when null, a
// date as its day number) and a display text (empty when null, a date in the
// short date format, a whole number as its digits, another number with the
// decimal separator). The filter's LIKE compares exactly this text.
#include "common/regional_settings.h"
#include "common/value_text.h"
#include "data/field_value.h"

#include <QString>

namespace uriage::data {

inline double valueAsFloat(const Value& value)
{
    if (const auto* i = std::get_if<int64_t>(&value))
        return static_cast<double>(*i);
    if (const auto* d = std::get_if<double>(&value))
        return *d;
    if (const auto* date = std::get_if<DateValue>(&value))
        return date->dayNumber;
    if (const auto* text = std::get_if<QString>(&value)) {
        bool ok = false;
        const double v = text->toDouble(&ok);
        return ok ? v : 0.0;
    }
    return 0.0;
}

inline QString valueDisplayText(const Value& value, const RegionalSettings& settings)
{
    if (const auto* i = std::get_if<int64_t>(&value))
        return QString::number(*i);
    if (const auto* d = std::get_if<double>(&value))
        return decimalText(*d, settings);
    if (const auto* date = std::get_if<DateValue>(&value))
        return dateText(date->dayNumber, settings);
    if (const auto* text = std::get_if<QString>(&value))
        return *text;
    return {};
}

} // namespace uriage::data
