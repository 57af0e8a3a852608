#pragma once
// The compiled filter: an expression tree over the columns of an aggregate row,
// evaluated per row.
#include "data/field_value.h"
#include "common/regional_settings.h"

#include <QByteArray>
#include <QString>
#include <memory>
#include <optional>
#include <vector>

namespace uriage::data::filter {

enum class NodeKind {
    Column,      // a result column
    Constant,    // a constant, typed by the column it is compared with
    Comparison,  // =, <>, <, >, <=, >=, LIKE
    BlankTest,   // IS NULL, IS NOT NULL
    Membership,  // IN
    And,         // all operands
    Or,          // any operand
    Not,
};

enum class CompareOp { Equal, NotEqual, Less, LessOrEqual, Greater, GreaterOrEqual, Like };

enum class ConstantKind { Number, Text, Null, True, False };

struct Node {
    NodeKind kind = NodeKind::Constant;

    // Column: its name as written, position in the row and type.
    QString columnName;
    int columnIndex = -1;
    FieldType columnType = FieldType::Float;

    // Constant: as written, the type it takes, and its value once converted.
    ConstantKind constantKind = ConstantKind::Number;
    QByteArray constantText;
    std::optional<FieldType> constantType;  // none when not compared with a column
    Value value;

    CompareOp op = CompareOp::Equal;  // Comparison
    bool negated = false;             // BlankTest: IS NOT NULL

    // Comparison: left, right. BlankTest, Not: the operand. Membership: the
    // operand, then the items. And, Or: two or more operands.
    std::vector<std::unique_ptr<Node>> operands;

    bool isCondition() const { return kind != NodeKind::Column && kind != NodeKind::Constant; }
};

// Converts every constant of the tree to its type, in the order of the text.
// Throws Failure with the constant's conversion message.
void convertConstants(Node& root, const RegionalSettings& settings);

// Whether the condition holds for the row.
bool holds(const Node& node, const Row& row, const RegionalSettings& settings);

} // namespace uriage::data::filter
