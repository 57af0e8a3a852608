#include "data/filter/filter_parser.h"

#include "common/cp932.h"
#include "common/failure.h"
#include "data/filter/filter_messages.h"
#include "data/filter/filter_tokenizer.h"

namespace uriage::data::filter {
namespace {

using NodePtr = std::unique_ptr<Node>;

NodePtr makeNode(NodeKind kind)
{
    auto node = std::make_unique<Node>();
    node->kind = kind;
    return node;
}

bool isNullConstant(const Node& node)
{
    return node.kind == NodeKind::Constant && node.constantKind == ConstantKind::Null;
}

// Raw bytes are never compared; a large object only with LIKE.
void checkComparable(const Node& node, bool like)
{
    if (node.kind != NodeKind::Column)
        return;
    const FieldType t = node.columnType;
    if (t == FieldType::Bytes || (!like && (t == FieldType::Memo || t == FieldType::Graphic)))
        throw Failure(message::typeMismatch());
}

// A constant compared with a column takes the column's type.
void typeBy(Node& maybeConstant, const Node& maybeColumn)
{
    if (maybeConstant.kind == NodeKind::Constant && maybeColumn.kind == NodeKind::Column)
        maybeConstant.constantType = maybeColumn.columnType;
}

class Parser {
public:
    Parser(const QByteArray& text, const std::vector<ColumnInfo>& columns, const QString& componentName,
           char decimalSeparator)
        : text_(text), columns_(columns), componentName_(componentName), separator_(decimalSeparator)
    {
        token_ = nextToken(text_, 0, false, separator_);
    }

    NodePtr whole()
    {
        NodePtr root = condition();
        if (token_.kind != TokenKind::End)
            throw Failure(message::trailingTokens());
        if (!root->isCondition())
            throw Failure(message::notACondition());
        return root;
    }

private:
    void advance() { token_ = nextToken(text_, token_.end, endsOperand(token_), separator_); }

    bool at(TokenKind kind) const { return token_.kind == kind; }

    // condition: and-term { OR and-term }
    NodePtr condition()
    {
        if (++depth_ > maxNesting)
            throw Failure(message::notACondition());
        NodePtr result = logical(NodeKind::Or, TokenKind::Or, &Parser::andTerm);
        --depth_;
        return result;
    }

    // and-term: not-term { AND not-term }
    NodePtr andTerm() { return logical(NodeKind::And, TokenKind::And, &Parser::notTerm); }

    NodePtr logical(NodeKind kind, TokenKind keyword, NodePtr (Parser::*term)())
    {
        NodePtr first = (this->*term)();
        if (!at(keyword))
            return first;
        NodePtr node = makeNode(kind);
        node->operands.push_back(std::move(first));
        while (at(keyword)) {
            advance();
            node->operands.push_back((this->*term)());
        }
        return node;
    }

    // not-term: [ NOT ] comparison
    NodePtr notTerm()
    {
        if (!at(TokenKind::Not))
            return comparison();
        advance();
        NodePtr node = makeNode(NodeKind::Not);
        node->operands.push_back(comparison());
        return node;
    }

    // comparison: operand [ op operand | LIKE operand | IS [NOT] NULL | IN ( condition {, condition} ) ]
    NodePtr comparison()
    {
        NodePtr left = operand();
        switch (token_.kind) {
        case TokenKind::Equal:
            return compareWith(CompareOp::Equal, std::move(left));
        case TokenKind::NotEqual:
            return compareWith(CompareOp::NotEqual, std::move(left));
        case TokenKind::Less:
            return compareWith(CompareOp::Less, std::move(left));
        case TokenKind::LessOrEqual:
            return compareWith(CompareOp::LessOrEqual, std::move(left));
        case TokenKind::Greater:
            return compareWith(CompareOp::Greater, std::move(left));
        case TokenKind::GreaterOrEqual:
            return compareWith(CompareOp::GreaterOrEqual, std::move(left));
        case TokenKind::Like:
            return compareWith(CompareOp::Like, std::move(left));
        case TokenKind::IsNull:
        case TokenKind::IsNotNull: {
            const bool negated = at(TokenKind::IsNotNull);
            advance();
            return blankTest(std::move(left), negated);
        }
        case TokenKind::In:
            return membership(std::move(left));
        default:
            return left;
        }
    }

    NodePtr blankTest(NodePtr operand, bool negated)
    {
        NodePtr node = makeNode(NodeKind::BlankTest);
        node->negated = negated;
        node->operands.push_back(std::move(operand));
        return node;
    }

    NodePtr compareWith(CompareOp op, NodePtr left)
    {
        advance();
        NodePtr right = operand();
        const bool like = op == CompareOp::Like;
        // "=" NULL is IS NULL and "<>" NULL is IS NOT NULL; LIKE takes no NULL.
        const bool leftNull = isNullConstant(*left), rightNull = isNullConstant(*right);
        if (leftNull || rightNull) {
            if (like)
                throw Failure(message::nullOperator());
            if (op == CompareOp::Equal || op == CompareOp::NotEqual)
                return blankTest(rightNull ? std::move(left) : std::move(right), op == CompareOp::NotEqual);
        }
        checkComparable(*left, like);
        checkComparable(*right, like);
        typeBy(*left, *right);
        typeBy(*right, *left);
        NodePtr node = makeNode(NodeKind::Comparison);
        node->op = op;
        node->operands.push_back(std::move(left));
        node->operands.push_back(std::move(right));
        return node;
    }

    NodePtr membership(NodePtr left)
    {
        checkComparable(*left, false);
        advance();
        if (!at(TokenKind::LeftParen))
            throw Failure(message::openingParenExpected(quoted(token_)));
        advance();
        if (at(TokenKind::RightParen))
            throw Failure(message::emptyInList());
        NodePtr node = makeNode(NodeKind::Membership);
        node->operands.push_back(std::move(left));
        while (true) {
            NodePtr item = condition();
            checkComparable(*item, false);
            typeBy(*item, *node->operands.front());
            node->operands.push_back(std::move(item));
            if (at(TokenKind::Comma)) {
                advance();
                continue;
            }
            if (!at(TokenKind::RightParen))
                throw Failure(message::listSeparatorExpected(quoted(token_)));
            advance();
            return node;
        }
    }

    // operand: primary, not followed by arithmetic.
    NodePtr operand()
    {
        NodePtr node = primary();
        if (at(TokenKind::Plus) || at(TokenKind::Minus) || at(TokenKind::Times) || at(TokenKind::Divide))
            throw Failure(message::arithmetic());
        return node;
    }

    NodePtr primary()
    {
        switch (token_.kind) {
        case TokenKind::Null:
            return constant(ConstantKind::Null);
        case TokenKind::True:
            return constant(ConstantKind::True);
        case TokenKind::False:
            return constant(ConstantKind::False);
        case TokenKind::Name:
        case TokenKind::BracketName:
            return column();
        case TokenKind::Number:
            return constant(ConstantKind::Number);
        case TokenKind::Text:
            return constant(ConstantKind::Text);
        case TokenKind::LeftParen: {
            advance();
            NodePtr inner = condition();
            if (!at(TokenKind::RightParen))
                throw Failure(message::closingParenExpected(quoted(token_)));
            advance();
            return inner;
        }
        default:
            break;
        }
        throw Failure(message::operandExpected(quoted(token_)));
    }

    NodePtr constant(ConstantKind kind)
    {
        NodePtr node = makeNode(NodeKind::Constant);
        node->constantKind = kind;
        node->constantText = token_.text;
        advance();
        return node;
    }

    // Looked up when it is read, before the token after it.
    NodePtr column()
    {
        const QString name = cp932::decode(token_.text);
        for (size_t i = 0; i < columns_.size(); ++i) {
            if (columns_[i].name.compare(name, Qt::CaseInsensitive) == 0) {
                NodePtr node = makeNode(NodeKind::Column);
                node->columnName = name;
                node->columnIndex = static_cast<int>(i);
                node->columnType = columns_[i].type;
                advance();
                return node;
            }
        }
        throw componentFailure(componentName_, message::columnNotFound(name));
    }

    const QByteArray& text_;
    const std::vector<ColumnInfo>& columns_;
    const QString& componentName_;
    const char separator_;
    Token token_;
    int depth_ = 0;
};

} // namespace

std::unique_ptr<Node> parseFilter(const QByteArray& text, const std::vector<ColumnInfo>& columns,
                                  const QString& componentName, char decimalSeparator)
{
    return Parser(text, columns, componentName, decimalSeparator).whole();
}

} // namespace uriage::data::filter
