#include "data/filter/filter_tokenizer.h"

#include "common/cp932.h"
#include "data/filter/filter_messages.h"

#include <cstring>

namespace uriage::data::filter {
namespace {

unsigned char byteAt(const QByteArray& text, int i) { return static_cast<unsigned char>(text[i]); }

bool isBlank(unsigned char b) { return b <= 32; }
bool isLetter(unsigned char b) { return (b >= 'A' && b <= 'Z') || (b >= 'a' && b <= 'z'); }
bool isDigit(unsigned char b) { return b >= '0' && b <= '9'; }

bool startsName(unsigned char b) { return isLetter(b) || b == '_' || (b >= 0x81 && b <= 0xFE); }

int skipBlanks(const QByteArray& text, int i)
{
    while (i < text.size() && isBlank(byteAt(text, i)))
        ++i;
    return i;
}

// One past the end of the name whose first byte is at `i`. A lead byte takes the
// byte after it along, whatever it is, but never a byte past the end of the text.
int scanName(const QByteArray& text, int i)
{
    i += cp932::charLength(text, i);
    while (i < text.size()) {
        const unsigned char b = byteAt(text, i);
        if (isLetter(b) || isDigit(b) || b == '_' || b == '.' || b == '[' || b == ']'
            || cp932::isHalfWidthKatakana(b))
            ++i;
        else if (cp932::isLeadByte(b))
            i += cp932::charLength(text, i);
        else
            break;
    }
    return i;
}

bool equalsWord(const char* bytes, int length, const char* word)
{
    const int n = static_cast<int>(std::strlen(word));
    if (length != n)
        return false;
    for (int i = 0; i < n; ++i) {
        char c = bytes[i];
        if (c >= 'a' && c <= 'z')
            c = static_cast<char>(c - 'a' + 'A');
        if (c != word[i])
            return false;
    }
    return true;
}

bool equalsWord(const QByteArray& text, int begin, int end, const char* word)
{
    return equalsWord(text.constData() + begin, end - begin, word);
}

// The character at `i` for a message: one byte, or two for a double-byte character.
QString characterAt(const QByteArray& text, int i)
{
    if (i >= text.size())
        return QString();
    return cp932::decode(text.mid(i, cp932::charLength(text, i)));
}

// After "IS": blanks, then NULL, or NOT, blanks and NULL, in any letter case.
Token readIs(const QByteArray& text, int begin, int afterIs)
{
    auto word = [&](int at) {
        return (at < text.size() && startsName(byteAt(text, at))) ? scanName(text, at) : at;
    };
    int first = skipBlanks(text, afterIs);
    int firstEnd = word(first);
    if (equalsWord(text, first, firstEnd, "NULL"))
        return {TokenKind::IsNull, begin, firstEnd, text.mid(begin, firstEnd - begin)};
    if (equalsWord(text, first, firstEnd, "NOT")) {
        int second = skipBlanks(text, firstEnd);
        int secondEnd = word(second);
        if (equalsWord(text, second, secondEnd, "NULL"))
            return {TokenKind::IsNotNull, begin, secondEnd, text.mid(begin, secondEnd - begin)};
    }
    throw Failure(message::wrongKeyword());
}

// The kind of the name at [begin, end): a keyword, or a plain name.
TokenKind kindOfName(const QByteArray& text, int begin, int end)
{
    static constexpr struct {
        const char* word;
        TokenKind kind;
    } keywords[] = {
        {"AND", TokenKind::And},   {"OR", TokenKind::Or},       {"NOT", TokenKind::Not}, {"NULL", TokenKind::Null},
        {"TRUE", TokenKind::True}, {"FALSE", TokenKind::False}, {"LIKE", TokenKind::Like}, {"IN", TokenKind::In},
    };
    for (const auto& keyword : keywords) {
        if (equalsWord(text, begin, end, keyword.word))
            return keyword.kind;
    }
    return TokenKind::Name;
}

// Words after which a single quote closes a text constant.
bool isClosingKeyword(const QByteArray& text, int begin, int end)
{
    static const char* const words[] = {"SELECT", "ASC",  "ASCENDING", "DESC",   "DESCENDING",
                                        "AND",    "OR",   "LIKE",      "IS",     "NULL",
                                        "FROM",   "WHERE", "HAVING",   "UNION",  "PLAN"};
    for (const char* w : words)
        if (equalsWord(text, begin, end, w))
            return true;
    // The two-word keywords GROUP BY, ORDER BY and FOR UPDATE.
    const char* second = nullptr;
    if (equalsWord(text, begin, end, "GROUP") || equalsWord(text, begin, end, "ORDER"))
        second = "BY";
    else if (equalsWord(text, begin, end, "FOR"))
        second = "UPDATE";
    if (!second)
        return false;
    const int next = skipBlanks(text, end);
    int nextEnd = next;
    while (nextEnd < text.size() && isLetter(byteAt(text, nextEnd)))
        ++nextEnd;
    return equalsWord(text, next, nextEnd, second);
}

bool endsWord(unsigned char b) { return isBlank(b) || b == '(' || b == ')' || b == ',' || b == '.' || b == '\''; }

// Whether the word after a single quote at `i - 1` is a plain name, so that the
// quote stays in the text: blanks, parentheses and commas are skipped; the word
// must not start with a digit, a quote, "<", "=" or ">", not be followed by "."
// and not be one of the keywords.
bool nextWordIsPlain(const QByteArray& text, int i)
{
    while (i < text.size()) {
        const unsigned char b = byteAt(text, i);
        if (!(isBlank(b) || b == '(' || b == ')' || b == ','))
            break;
        ++i;
    }
    if (i >= text.size())
        return false;
    const unsigned char first = byteAt(text, i);
    if (isDigit(first) || first == '\'' || first == '<' || first == '=' || first == '>')
        return false;
    int end = i;
    while (end < text.size() && !endsWord(byteAt(text, end)))
        end += cp932::charLength(text, end);
    if (end == i)
        return false;
    if (end < text.size() && byteAt(text, end) == '.')
        return false;
    return !isClosingKeyword(text, i, end);
}

// A text constant whose opening quote is at `begin`. "''" stands for one quote;
// a single quote closes the text unless another quote follows later and the next
// word is a plain name. At most maxTextConstantBytes bytes are taken, never half
// of a double-byte character; a quote that is the second byte of a character
// stays inside it.
Token readText(const QByteArray& text, int begin)
{
    QByteArray value;
    bool full = false;
    auto take = [&](const char* bytes, int n) {
        if (full || value.size() + n > maxTextConstantBytes) {
            full = true;
            return;
        }
        value.append(bytes, n);
    };
    int i = begin + 1;
    while (true) {
        if (i >= text.size())
            throw Failure(message::unterminatedText());
        if (byteAt(text, i) == '\'') {
            if (i + 1 < text.size() && byteAt(text, i + 1) == '\'') {
                take("'", 1);
                i += 2;
                continue;
            }
            if (text.indexOf('\'', i + 1) >= 0 && nextWordIsPlain(text, i + 1)) {
                take("'", 1);
                ++i;
                continue;
            }
            return {TokenKind::Text, begin, i + 1, value};
        }
        const int n = cp932::charLength(text, i);
        take(text.constData() + i, n);
        i += n;
    }
}

Token readNumber(const QByteArray& text, int begin, char decimalSeparator)
{
    int i = begin + 1;
    while (i < text.size()) {
        const unsigned char b = byteAt(text, i);
        if (isDigit(b) || b == '+' || b == '-' || b == 'e' || b == 'E'
            || b == static_cast<unsigned char>(decimalSeparator))
            ++i;
        else
            break;
    }
    // With "," as decimal separator, "1, 2" is a list of two numbers.
    if (decimalSeparator == ',' && text[i - 1] == ',' && i < text.size() && isBlank(byteAt(text, i)))
        --i;
    return {TokenKind::Number, begin, i, text.mid(begin, i - begin)};
}

Token symbol(const QByteArray& text, TokenKind kind, int begin, int length)
{
    return {kind, begin, begin + length, text.mid(begin, length)};
}

// A bracketed name, a text constant, or an operator or punctuation mark.
Token readPunctuation(const QByteArray& text, int i)
{
    switch (byteAt(text, i)) {
    case '[': {
        int j = i + 1;
        while (j < text.size() && text[j] != ']')
            j += cp932::charLength(text, j);
        if (j >= text.size())
            throw Failure(message::unterminatedName());
        return {TokenKind::BracketName, i, j + 1, text.mid(i + 1, j - i - 1)};
    }
    case '\'':
        return readText(text, i);
    case '(':
        return symbol(text, TokenKind::LeftParen, i, 1);
    case ')':
        return symbol(text, TokenKind::RightParen, i, 1);
    case ',':
        return symbol(text, TokenKind::Comma, i, 1);
    case '=':
        return symbol(text, TokenKind::Equal, i, 1);
    case '<':
        if (i + 1 < text.size() && text[i + 1] == '=')
            return symbol(text, TokenKind::LessOrEqual, i, 2);
        if (i + 1 < text.size() && text[i + 1] == '>')
            return symbol(text, TokenKind::NotEqual, i, 2);
        return symbol(text, TokenKind::Less, i, 1);
    case '>':
        if (i + 1 < text.size() && text[i + 1] == '=')
            return symbol(text, TokenKind::GreaterOrEqual, i, 2);
        return symbol(text, TokenKind::Greater, i, 1);
    case '+':
        return symbol(text, TokenKind::Plus, i, 1);
    case '*':
        return symbol(text, TokenKind::Times, i, 1);
    case '/':
        return symbol(text, TokenKind::Divide, i, 1);
    default:
        throw Failure(message::invalidCharacter(characterAt(text, i)));
    }
}

} // namespace

Token nextToken(const QByteArray& text, int position, bool afterOperand, char decimalSeparator)
{
    int i = skipBlanks(text, position);
    // One comment per token position: "/*" to the first "*", which must be followed by "/".
    if (i + 1 < text.size() && text[i] == '/' && text[i + 1] == '*') {
        int j = i + 2;
        while (j < text.size() && text[j] != '*')
            j += cp932::charLength(text, j);
        if (j + 1 >= text.size() || text[j + 1] != '/')
            throw Failure(message::invalidCharacter(characterAt(text, j + 1)));
        i = skipBlanks(text, j + 2);
    }
    if (i >= text.size())
        return {TokenKind::End, i, i, {}};

    const unsigned char b = byteAt(text, i);
    if (startsName(b)) {
        const int end = scanName(text, i);
        if (equalsWord(text, i, end, "IS"))
            return readIs(text, i, end);
        return {kindOfName(text, i, end), i, end, text.mid(i, end - i)};
    }
    if (b == '-' || isDigit(b)) {
        if (afterOperand)
            return symbol(text, TokenKind::Minus, i, 1);
        return readNumber(text, i, decimalSeparator);
    }
    return readPunctuation(text, i);
}

bool endsOperand(const Token& token)
{
    switch (token.kind) {
    // A digit after AND, OR or NOT starts a number: "年=2005 or 2006=年" is two comparisons.
    case TokenKind::Name:
    case TokenKind::Null:
    case TokenKind::True:
    case TokenKind::False:
    case TokenKind::BracketName:
    case TokenKind::Number:
    case TokenKind::Text:
    case TokenKind::RightParen:
        return true;
    default:
        return false;
    }
}

QString quoted(const Token& token)
{
    if (token.kind == TokenKind::End)
        return QStringLiteral("なにもありません");
    return QLatin1Char('\'') + cp932::decode(token.text) + QLatin1Char('\'');
}

} // namespace uriage::data::filter
