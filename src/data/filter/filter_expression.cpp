#include "data/filter/filter_expression.h"

#include "data/filter/filter_constant.h"
#include "data/field_text.h"
#include "data/filter/filter_like.h"

#include <algorithm>

namespace uriage::data::filter {
namespace {

Value valueOf(const Node& node, const Row& row, const RegionalSettings& settings)
{
    switch (node.kind) {
    case NodeKind::Column:
        if (node.columnIndex >= 0 && static_cast<size_t>(node.columnIndex) < row.size())
            return row[static_cast<size_t>(node.columnIndex)];
        return {};
    case NodeKind::Constant:
        return node.value;
    default:
        // A condition used as a value: 1 when it holds, else 0.
        return int64_t(holds(node, row, settings) ? 1 : 0);
    }
}

std::optional<double> asNumber(const Value& v)
{
    if (const auto* i = std::get_if<int64_t>(&v))
        return static_cast<double>(*i);
    if (const auto* d = std::get_if<double>(&v))
        return *d;
    if (const auto* date = std::get_if<DateValue>(&v))
        return static_cast<double>(date->dayNumber);
    return std::nullopt;
}

// Order of two non-blank values: <0, 0, >0, or none when they cannot be ordered.
// Whole numbers compare exactly; any other pair of numbers (dates are day
// numbers) as 64-bit floats; texts by their characters, letter case included.
std::optional<int> order(const Value& a, const Value& b)
{
    const auto* ia = std::get_if<int64_t>(&a);
    const auto* ib = std::get_if<int64_t>(&b);
    if (ia && ib)
        return (*ia > *ib) - (*ia < *ib);
    const auto na = asNumber(a), nb = asNumber(b);
    if (na && nb) {
        if (*na < *nb)
            return -1;
        if (*na > *nb)
            return 1;
        if (*na == *nb)
            return 0;
        return std::nullopt;  // not a number
    }
    const auto* sa = std::get_if<QString>(&a);
    const auto* sb = std::get_if<QString>(&b);
    if (sa && sb)
        return sa->compare(*sb);
    return std::nullopt;
}

// How blank values compare: a comparison with a blank (NULL) value on either
// side never holds, "<>" included; only IS [NOT] NULL tests for blanks. Values
// that cannot be ordered (a text against a number) are unequal, and "<", ">",
// "<=", ">=" do not hold for them.
bool compare(CompareOp op, const Value& a, const Value& b, const RegionalSettings& settings)
{
    if (isNull(a) || isNull(b))
        return false;
    if (op == CompareOp::Like)
        return likeMatches(valueDisplayText(a, settings), valueDisplayText(b, settings));
    const auto o = order(a, b);
    switch (op) {
    case CompareOp::Equal:
        return o && *o == 0;
    case CompareOp::NotEqual:
        return !o || *o != 0;
    case CompareOp::Less:
        return o && *o < 0;
    case CompareOp::LessOrEqual:
        return o && *o <= 0;
    case CompareOp::Greater:
        return o && *o > 0;
    case CompareOp::GreaterOrEqual:
        return o && *o >= 0;
    case CompareOp::Like:
        break;
    }
    return false;
}

// A column or constant standing where a condition is expected (an operand of
// AND, OR or NOT): true when it is a non-zero number (True is 1), false when
// blank, zero or a text.
bool truth(const Node& node, const Row& row, const RegionalSettings& settings)
{
    if (node.isCondition())
        return holds(node, row, settings);
    const auto n = asNumber(valueOf(node, row, settings));
    return n && *n != 0;
}

} // namespace

void convertConstants(Node& node, const RegionalSettings& settings)
{
    if (node.kind == NodeKind::Constant) {
        switch (node.constantKind) {
        case ConstantKind::Null:
            node.value = {};
            break;
        case ConstantKind::True:
        case ConstantKind::False:
            if (node.constantType)
                node.value = convertConstant(node.constantText, *node.constantType, settings);
            else
                node.value = int64_t(node.constantKind == ConstantKind::True ? 1 : 0);
            break;
        case ConstantKind::Number:
            node.value = convertConstant(node.constantText, node.constantType.value_or(FieldType::Float), settings);
            break;
        case ConstantKind::Text:
            node.value = convertConstant(node.constantText, node.constantType.value_or(FieldType::Text), settings);
            break;
        }
        return;
    }
    for (auto& operand : node.operands)
        convertConstants(*operand, settings);
}

bool holds(const Node& node, const Row& row, const RegionalSettings& settings)
{
    const auto& ops = node.operands;
    switch (node.kind) {
    case NodeKind::Comparison:
        return compare(node.op, valueOf(*ops[0], row, settings), valueOf(*ops[1], row, settings), settings);
    case NodeKind::BlankTest:
        return isNull(valueOf(*ops[0], row, settings)) != node.negated;
    case NodeKind::Membership: {
        const Value v = valueOf(*ops[0], row, settings);
        return std::any_of(ops.begin() + 1, ops.end(), [&](const auto& item) {
            return compare(CompareOp::Equal, v, valueOf(*item, row, settings), settings);
        });
    }
    case NodeKind::And:
        return std::all_of(ops.begin(), ops.end(), [&](const auto& o) { return truth(*o, row, settings); });
    case NodeKind::Or:
        return std::any_of(ops.begin(), ops.end(), [&](const auto& o) { return truth(*o, row, settings); });
    case NodeKind::Not:
        return !truth(*ops[0], row, settings);
    case NodeKind::Column:
    case NodeKind::Constant:
        return truth(node, row, settings);
    }
    return false;
}

} // namespace uriage::data::filter
