#pragma once
// Conversion of a constant's text to the type of the column it is compared with.
#include "data/field_value.h"
#include "common/regional_settings.h"

#include <QByteArray>

namespace uriage::data::filter {

// The longest text a text-typed constant keeps.
constexpr int maxTextValueBytes = 255;

// Throws Failure with the message of the type: not a whole number, out of a
// 16-bit range, not a decimal number, not a date.
Value convertConstant(const QByteArray& text, FieldType type, const RegionalSettings& settings);

// The separator as one byte of the filter text ("." when it has no one-byte form).
char decimalSeparatorByte(const RegionalSettings& settings);

} // namespace uriage::data::filter
