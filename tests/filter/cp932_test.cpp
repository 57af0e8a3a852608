// Conversion between Unicode and the Japanese code page, byte for byte.
#include "common/cp932.h"

#include <gtest/gtest.h>

namespace uriage::cp932 {
namespace {

TEST(Cp932, ConvertsBothWays)
{
    const struct {
        const char16_t* text;
        QByteArray bytes;
    } cases[] = {
        {u"年", "\x94\x4E"},
        {u"２００５", "\x82\x51\x82\x4F\x82\x4F\x82\x54"},
        {u"\u3000", "\x81\x40"},
        {u"ｱ", "\xB1"},
        {u"表", "\x95\x5C"},
        {u"～", "\x81\x60"},
        {u"①", "\x87\x40"},
        {u"髙", "\xFB\xFC"},
        {u"\\~", "\\~"},
        // Control characters stay as they are.
        {u"a\u001Ab\u001Cc\u007Fd\te", QByteArray("a\x1A" "b\x1C" "c\x7F" "d\te")},
    };
    for (const auto& c : cases) {
        const QString text = QString::fromUtf16(c.text);
        EXPECT_EQ(encode(text), c.bytes) << text.toStdString();
        EXPECT_EQ(decode(c.bytes), text) << text.toStdString();
    }
}

TEST(Cp932, LeadByteAtTheEndIsShownAsReplacement)
{
    EXPECT_EQ(decode("a\x81"), QString::fromUtf16(u"a\uFFFD"));
    EXPECT_EQ(decode("\x95\x5C\x95"), QString::fromUtf16(u"表\uFFFD"));
}

} // namespace
} // namespace uriage::cp932
