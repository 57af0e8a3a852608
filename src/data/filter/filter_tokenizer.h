#pragma once
// Reading the tokens of a filter text: one token at a time over its CP932
// bytes, as a pure function of the text, a position and what came before.
#include <QByteArray>
#include <QString>

namespace uriage::data::filter {

enum class TokenKind {
    End,
    Name,          // a name that is no keyword: a column
    BracketName,   // "[...]": always a column
    Number,        // a number constant, still as written
    Text,          // a text constant, quotes resolved
    LeftParen,
    RightParen,
    Comma,
    Equal,
    NotEqual,
    Less,
    LessOrEqual,
    Greater,
    GreaterOrEqual,
    Plus,
    Minus,
    Times,
    Divide,
    // Keywords, in any letter case.
    And,
    Or,
    Not,
    Null,
    True,
    False,
    Like,
    In,
    IsNull,
    IsNotNull,
};

struct Token {
    TokenKind kind = TokenKind::End;
    int begin = 0;    // first byte of the token in the text (after blanks and a comment)
    int end = 0;      // one past its last byte: where the next token's blanks start
    QByteArray text;  // the name, the bracketed name, the constant, or the keyword or operator as written
};

// The longest text a text constant takes; further bytes are dropped.
constexpr int maxTextConstantBytes = 256;

// Reads the token that starts at or after `position`. `afterOperand` tells
// whether the previous token ends an operand (see endsOperand): then a "-" or a
// digit is the minus operator, else it starts a number constant. Throws Failure
// for a byte that starts no token, an unclosed comment, a "[" without "]", a text
// constant without its closing quote and an IS that is not IS [NOT] NULL.
Token nextToken(const QByteArray& text, int position, bool afterOperand, char decimalSeparator);

// True after a name, NULL, TRUE, FALSE, a bracketed name, a constant or ")".
bool endsOperand(const Token& token);

// The token as the messages quote it: its text in single quotes, or
// "なにもありません" at the end of the filter text.
QString quoted(const Token& token);

} // namespace uriage::data::filter
