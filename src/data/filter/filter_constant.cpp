#include "data/filter/filter_constant.h"

#include "common/cp932.h"
#include "common/failure.h"
#include "common/day_number.h"
#include "data/filter/filter_messages.h"

#include <QDate>
#include <cmath>
#include <optional>

namespace uriage::data::filter {
namespace {

bool isDigit(char c) { return c >= '0' && c <= '9'; }

enum class WholeNumber { Valid, TooLarge, Invalid };

// An optional sign and one or more decimal digits. A magnitude beyond 2^40
// (far outside every whole-number column) is reported as TooLarge however many
// digits follow, and stops the sum before it could overflow; the callers check
// smaller values against their column's range.
WholeNumber parseWholeNumber(const QByteArray& text, int64_t& value)
{
    int i = 0;
    bool negative = false;
    if (i < text.size() && (text[i] == '+' || text[i] == '-')) {
        negative = text[i] == '-';
        ++i;
    }
    if (i >= text.size())
        return WholeNumber::Invalid;
    int64_t magnitude = 0;
    bool tooLarge = false;
    for (; i < text.size(); ++i) {
        if (!isDigit(text[i]))
            return WholeNumber::Invalid;
        if (!tooLarge) {
            magnitude = magnitude * 10 + (text[i] - '0');
            tooLarge = magnitude > (int64_t(1) << 40);
        }
    }
    value = negative ? -magnitude : magnitude;
    return tooLarge ? WholeNumber::TooLarge : WholeNumber::Valid;
}

Value toRangedWhole(const QByteArray& text, int64_t low, int64_t high)
{
    int64_t value = 0;
    switch (parseWholeNumber(text, value)) {
    case WholeNumber::Invalid:
        throw Failure(message::notAWholeNumber(cp932::decode(text)));
    case WholeNumber::TooLarge:
        throw Failure(message::outOfRange());
    case WholeNumber::Valid:
        break;
    }
    if (value < low || value > high)
        throw Failure(message::outOfRange());
    return value;
}

Value toWhole32(const QByteArray& text)
{
    int64_t value = 0;
    if (parseWholeNumber(text, value) != WholeNumber::Valid || value < INT32_MIN || value > INT32_MAX)
        throw Failure(message::notAWholeNumber(cp932::decode(text)));
    return value;
}

// A decimal number: optional sign, digits with at most one decimal separator
// (digits on at least one side), optional exponent. Only finite values.
std::optional<double> parseDecimal(const QByteArray& text, char separator)
{
    QByteArray plain;
    int i = 0;
    auto digits = [&] {
        const int start = i;
        while (i < text.size() && isDigit(text[i]))
            plain.append(text[i++]);
        return i - start;
    };
    if (i < text.size() && (text[i] == '+' || text[i] == '-'))
        plain.append(text[i++]);
    int mantissaDigits = digits();
    if (i < text.size() && text[i] == separator) {
        plain.append('.');
        ++i;
        mantissaDigits += digits();
    }
    if (mantissaDigits == 0)
        return std::nullopt;
    if (i < text.size() && (text[i] == 'e' || text[i] == 'E')) {
        plain.append('e');
        ++i;
        if (i < text.size() && (text[i] == '+' || text[i] == '-'))
            plain.append(text[i++]);
        if (digits() == 0)
            return std::nullopt;
    }
    if (i != text.size())
        return std::nullopt;
    bool ok = false;
    const double value = plain.toDouble(&ok);  // locale-independent
    if (!ok || !std::isfinite(value))
        return std::nullopt;
    return value;
}

} // namespace

char decimalSeparatorByte(const RegionalSettings& settings)
{
    const QChar c = settings.decimalSeparator;
    if (c.unicode() > 0 && c.unicode() < 0x80)
        return static_cast<char>(c.unicode());
    const QByteArray encoded = cp932::encode(QString(c));
    return encoded.size() == 1 ? encoded[0] : '.';
}

Value convertConstant(const QByteArray& text, FieldType type, const RegionalSettings& settings)
{
    switch (type) {
    case FieldType::Int16:
        return toRangedWhole(text, -32768, 32767);
    case FieldType::UInt16:
        return toRangedWhole(text, 0, 65535);
    case FieldType::Int32:
        return toWhole32(text);
    case FieldType::Float:
    case FieldType::Currency:
        if (const auto value = parseDecimal(text, decimalSeparatorByte(settings)))
            return *value;
        throw Failure(message::notADecimalNumber(cp932::decode(text)));
    case FieldType::Date: {
        const QDate date = QDate::fromString(cp932::decode(text), settings.shortDateFormat);
        if (!date.isValid())
            throw Failure(message::notADate(cp932::decode(text)));
        return DateValue{static_cast<int32_t>(dayNumberOf(date))};
    }
    case FieldType::Text:
    case FieldType::Bytes:
    case FieldType::Memo:
    case FieldType::Graphic:
        break;
    }
    // The first 255 bytes, never half of a double-byte character.
    int length = 0;
    while (length < text.size()) {
        const int n = cp932::charLength(text, length);
        if (length + n > maxTextValueBytes)
            break;
        length += n;
    }
    return cp932::decode(text.left(length));
}

} // namespace uriage::data::filter
