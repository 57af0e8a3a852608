// The full-stop rule of the error message box, decided on the message's last
// character taken whole in CP932.
#include "app/error_text.h"

#include <gtest/gtest.h>
#include <ostream>

namespace {

struct Case {
    const char* name;
    QString message;
    QString shown;
};

void PrintTo(const Case& c, std::ostream* os) { *os << c.name; }

class FullStop : public ::testing::TestWithParam<Case> {};

TEST_P(FullStop, AppliesTheRuleToTheLastCharacter)
{
    EXPECT_EQ(uriage::withFullStop(GetParam().message), GetParam().shown);
}

const Case kCases[] = {
    {"EmptyStaysEmpty", QString(), QString()},
    {"FullStopKept", QStringLiteral("Table not found."), QStringLiteral("Table not found.")},
    {"SpaceKept", QStringLiteral("abc "), QStringLiteral("abc ")},
    {"LineFeedKept", QStringLiteral("abc\n"), QStringLiteral("abc\n")},
    {"CarriageReturnLineFeedKept", QStringLiteral("abc\r\n"), QStringLiteral("abc\r\n")},
    {"TabKept", QStringLiteral("abc\t"), QStringLiteral("abc\t")},
    {"ExclamationKept", QStringLiteral("stop!"), QStringLiteral("stop!")},
    {"CommaKept", QStringLiteral("a,"), QStringLiteral("a,")},
    {"ClosingParenthesisKept", QStringLiteral("(x)"), QStringLiteral("(x)")},
    {"HyphenKept", QStringLiteral("x-"), QStringLiteral("x-")},
    {"SlashGetsStop", QStringLiteral("x/"), QStringLiteral("x/.")},
    {"QuestionGetsStop", QStringLiteral("why?"), QStringLiteral("why?.")},
    {"DigitGetsStop", QStringLiteral("年=2005"), QStringLiteral("年=2005.")},
    {"LetterGetsStop", QStringLiteral("Query1: Invalid field name"), QStringLiteral("Query1: Invalid field name.")},
    {"SingleLetter", QStringLiteral("a"), QStringLiteral("a.")},
    {"JapaneseFullStopGetsStop", QStringLiteral("テーブルがありません。"), QStringLiteral("テーブルがありません。.")},
    {"KanjiGetsStop", QStringLiteral("保険料金"), QStringLiteral("保険料金.")},
    // 表 is 95 5C: its trail byte is a backslash, still one character.
    {"KanjiWithBackslashTrailGetsStop", QStringLiteral("表"), QStringLiteral("表.")},
    {"HalfWidthKatakanaGetsStop", QStringLiteral("ｱ"), QStringLiteral("ｱ.")},
    {"FullWidthSpaceGetsStop", QStringLiteral("年\u3000"), QStringLiteral("年\u3000.")},
    {"FullWidthDigitGetsStop", QStringLiteral("２００５"), QStringLiteral("２００５.")},
    {"ClosingParenthesisAfterKanji", QStringLiteral("月別売上（平面図)"), QStringLiteral("月別売上（平面図)")},
    {"FullWidthParenthesisGetsStop", QStringLiteral("（平面図）"), QStringLiteral("（平面図）.")},
    {"PlainMarkupUntouched", QStringLiteral("<b>"), QStringLiteral("<b>.")},
};

INSTANTIATE_TEST_SUITE_P(ErrorText, FullStop, ::testing::ValuesIn(kCases),
                         [](const auto& info) { return std::string(info.param.name); });

} // namespace
