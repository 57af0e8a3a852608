// The tokens of filter texts, read one after another as the parser reads them,
// with the byte-level corners of the Japanese code page.
#include "common/cp932.h"
#include "common/failure.h"
#include "data/filter/filter_like.h"
#include "data/filter/filter_tokenizer.h"

#include <gtest/gtest.h>

namespace uriage::data::filter {
namespace {

const char* kindName(TokenKind kind)
{
    switch (kind) {
    case TokenKind::End: return "end";
    case TokenKind::Name: return "name";
    case TokenKind::BracketName: return "bracket";
    case TokenKind::Number: return "number";
    case TokenKind::Text: return "text";
    case TokenKind::LeftParen: return "(";
    case TokenKind::RightParen: return ")";
    case TokenKind::Comma: return ",";
    case TokenKind::Equal: return "=";
    case TokenKind::NotEqual: return "<>";
    case TokenKind::Less: return "<";
    case TokenKind::LessOrEqual: return "<=";
    case TokenKind::Greater: return ">";
    case TokenKind::GreaterOrEqual: return ">=";
    case TokenKind::Plus: return "+";
    case TokenKind::Minus: return "-";
    case TokenKind::Times: return "*";
    case TokenKind::Divide: return "/";
    case TokenKind::And: return "and";
    case TokenKind::Or: return "or";
    case TokenKind::Not: return "not";
    case TokenKind::Null: return "null";
    case TokenKind::True: return "true";
    case TokenKind::False: return "false";
    case TokenKind::Like: return "like";
    case TokenKind::In: return "in";
    case TokenKind::IsNull: return "isnull";
    case TokenKind::IsNotNull: return "isnotnull";
    }
    return "?";
}

// "kind:text" of every token up to the end, or "! message" of the failure.
// Texts show bytes of 0x80 and above as \xNN so that a split character is visible.
std::string tokens(const QByteArray& text, char separator = '.')
{
    std::string out;
    auto show = [](const QByteArray& bytes) {
        std::string s;
        for (char c : bytes) {
            const auto b = static_cast<unsigned char>(c);
            if (b >= 0x80 || b == 0x5C) {
                char hex[8];
                std::snprintf(hex, sizeof hex, "\\x%02X", b);
                s += hex;
            } else {
                s += c;
            }
        }
        return s;
    };
    try {
        Token token = nextToken(text, 0, false, separator);
        while (token.kind != TokenKind::End) {
            EXPECT_LE(token.end, text.size());
            out += std::string(kindName(token.kind)) + ":" + show(token.text) + " ";
            token = nextToken(text, token.end, endsOperand(token), separator);
        }
        return out + "end";
    } catch (const Failure& failure) {
        return out + "! " + failure.message().toStdString();
    }
}

QByteArray sjis(const char* utf8) { return cp932::encode(QString::fromUtf8(utf8)); }

TEST(FilterTokenizer, ReadsTokensOneAfterAnother)
{
    const struct {
        QByteArray text;
        const char* expected;
    } cases[] = {
        {"a=1", "name:a =:= number:1 end"},
        {" \t\r\n a<>1<=2>=3<4>5 ", "name:a <>:<> number:1 <=:<= number:2 >=:>= number:3 <:< number:4 >:> number:5 end"},
        {"(a,b)+c*d/e", "(:( name:a ,:, name:b ):) +:+ name:c *:* name:d /:/ name:e end"},
        // A "-" or digit after an operand is the minus operator, one byte long.
        {"a=2005 3", "name:a =:= number:2005 -:3 end"},
        {"-12e+3-4 -", "number:-12e+3-4 -:- end"},
        {"x)-1", "name:x ):) -:- number:1 end"},
        {"'a'1", "text:a -:1 end"},
        {"a or 1 AND -2 not 3", "name:a or:or number:1 and:AND number:-2 not:not number:3 end"},
        // NULL, TRUE and FALSE end an operand; a keyword inside a longer name is none.
        {"Null 1 tRUE 2 false 3 andy nots", "null:Null -:1 true:tRUE -:2 false:false -:3 name:andy name:nots end"},
        // Keywords in any letter case; IS takes its NULL or NOT NULL along.
        {"a LiKe b iN c", "name:a like:LiKe name:b in:iN name:c end"},
        {"a is null", "name:a isnull:is null end"},
        {"a IS\tNOT  nuLL)", "name:a isnotnull:IS\tNOT  nuLL ):) end"},
        {"a isnull", "name:a name:isnull end"},
        {"a is nul", "name:a ! キーワードが間違っています"},
        {"a is not", "name:a ! キーワードが間違っています"},
        // Names: ".", "[", "]", double-byte characters, half-width katakana.
        {"a.b[c]_9", "name:a.b[c]_9 end"},
        {sjis("表示=1"), "name:\\x95\\x5C\\x8E\\xA6 =:= number:1 end"},
        {sjis("　２００５ｶﾅ"), "name:\\x81@\\x82Q\\x82O\\x82O\\x82T\\xB6\\xC5 end"},
        {"\xFD" "a", "name:\\xFDa end"},
        // A lead byte that is the last byte ends the name on its own.
        {"a\x81", "name:a\\x81 end"},
        {"\x81", "name:\\x81 end"},
        // Bracketed names: a "]" that is the second byte of a character stays inside.
        {"[a b]", "bracket:a b end"},
        {"[\x81]]=1", "bracket:\\x81] =:= number:1 end"},
        {"[a\x81", "! 項目名が不完全です"},
        {"[a\x81]", "! 項目名が不完全です"},
        // Text constants: "''" is one quote; a quote that is a second byte stays inside.
        {"'it''s'", "text:it's end"},
        {"''", "text: end"},
        {"'\x81''", "text:\\x81' end"},
        {"'\x81'", "! 文字列定数が不完全です"},
        {"'abc", "! 文字列定数が不完全です"},
        {"'\x81", "! 文字列定数が不完全です"},
        // The closing-quote rule.
        {"'a' b'", "text:a' b end"},
        {"'a' (b,c) d'", "text:a' (b,c) d end"},
        {"'a' b", "text:a name:b end"},
        {"'a' b.c'", "text:a name:b.c ! 文字列定数が不完全です"},
        {"'a' 1'", "text:a -:1 ! 文字列定数が不完全です"},
        {"'a' or'", "text:a or:or ! 文字列定数が不完全です"},
        {"'a' Group  by'", "text:a name:Group name:by ! 文字列定数が不完全です"},
        {"'a' group x'", "text:a' group x end"},
        {"'a' For update'", "text:a name:For name:update ! 文字列定数が不完全です"},
        {"'a' =b'", "text:a =:= name:b ! 文字列定数が不完全です"},
        // Comments, one per token position.
        {"/**/a/* x */=/*y*/1", "name:a =:= number:1 end"},
        {"/*a*//*b*/", "/:/ *:* name:b *:* /:/ end"},
        {"a /* x", "name:a ! フィルター式に不正な文字 '' が含まれています。"},
        {"a /* x *", "name:a ! フィルター式に不正な文字 '' が含まれています。"},
        {"a /* x *y", "name:a ! フィルター式に不正な文字 'y' が含まれています。"},
        // Bytes that start no token.
        {"a=.5", "name:a =:= ! フィルター式に不正な文字 '.' が含まれています。"},
        {"a;", "name:a ! フィルター式に不正な文字 ';' が含まれています。"},
        {"\\", "! フィルター式に不正な文字 '\\' が含まれています。"},
        {"\x7F", "! フィルター式に不正な文字 '\x7F' が含まれています。"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.text.toStdString());
        EXPECT_EQ(tokens(c.text), c.expected);
    }
}

TEST(FilterTokenizer, DecimalSeparatorBelongsToNumbers)
{
    EXPECT_EQ(tokens("1.5,2", '.'), "number:1.5 ,:, number:2 end");
    EXPECT_EQ(tokens("1,5.2", ','), "number:1,5 ! フィルター式に不正な文字 '.' が含まれています。");
    EXPECT_EQ(tokens("(1, 2,3 ,4,)", ','), "(:( number:1 ,:, number:2,3 ,:, number:4, ):) end");
}

TEST(FilterTokenizer, TextConstantKeeps256BytesWithoutSplittingACharacter)
{
    const QByteArray yama = sjis("山");
    auto textOf = [](const QByteArray& body) { return nextToken("'" + body + "'", 0, false, '.').text; };
    EXPECT_EQ(textOf(QByteArray(300, 'a')), QByteArray(256, 'a'));
    EXPECT_EQ(textOf(QByteArray(254, 'a') + yama + "b"), QByteArray(254, 'a') + yama);
    EXPECT_EQ(textOf(QByteArray(255, 'a') + yama + "b"), QByteArray(255, 'a'));
    // The scan still runs to the closing quote.
    EXPECT_EQ(nextToken("'" + QByteArray(300, 'a') + "' x", 0, false, '.').end, 302);
}

TEST(FilterTokenizer, QuotesTheTokenForMessages)
{
    EXPECT_EQ(quoted(nextToken("  ", 0, false, '.')).toStdString(), "なにもありません");
    EXPECT_EQ(quoted(nextToken(sjis(" 年"), 0, false, '.')).toStdString(), "'年'");
}

TEST(FilterLike, PercentAndUnderscore)
{
    const struct {
        const char* text;
        const char* pattern;
        bool matches;
    } cases[] = {
        {"", "", true},        {"", "%", true},          {"a", "", false},
        {"abc", "abc", true},  {"abc", "ABC", false},    {"abc", "a_c", true},
        {"abc", "a_", false},  {"abc", "%c", true},      {"abc", "%b", false},
        {"abcbc", "a%bc", true}, {"abcbd", "a%bc", false}, {"a%", "a%%", true},
        {"山田太郎", "山_太%", true}, {"山田", "___", false},
        {"aaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaa", "%a%a%a%a%a%a%a%a%a%a%b", false},
    };
    for (const auto& c : cases)
        EXPECT_EQ(likeMatches(QString::fromUtf8(c.text), QString::fromUtf8(c.pattern)), c.matches)
            << c.text << " like " << c.pattern;
}

} // namespace
} // namespace uriage::data::filter
