// The wide formatted print and the bounded text it fills.
#include <gtest/gtest.h>

#include <string>

#include "text/wide_print.h"
#include "text/wide_text.h"

namespace {

std::u16string Print(const char16_t* format, auto... args) {
    char16_t out[kWidePrintLimit];
    const size_t length = WidePrint(out, format, args...);
    EXPECT_EQ(length, WideLength(out));
    return std::u16string(out, length);
}

// The integer conversions, their widths and signs are held by every call text's exact text;
// here the small integers widened by their type, wide text, and narrow text from Windows-1252.
TEST(WidePrint, WidensSmallIntegersByTheirTypeAndConvertsText) {
    EXPECT_EQ(Print(u"%d|%d|%d|%u", static_cast<uint16_t>(0xFFFF), static_cast<int16_t>(-3),
                    static_cast<uint8_t>(255), 0xFFFFFFF0u),
              u"65535|-3|255|4294967280");
    EXPECT_EQ(Print(u"(%s)%ls", u"\u2588", u"abc"), u"(\u2588)abc");
    EXPECT_EQ(Print(u"%hs|100%%", "a\x80\x81\xE9"), u"a\u20AC\u0081\u00E9|100%");
}

// Output beyond 1023 units is dropped, and never half of a surrogate pair.
TEST(WidePrint, DropsOutputBeyond1023UnitsAndNeverEndsInsideAPair) {
    const std::u16string long_text(2000, u'x');
    EXPECT_EQ(Print(u"%ls", long_text.c_str()), std::u16string(1023, u'x'));
    EXPECT_EQ(Print(u"ab%ls", long_text.c_str()).size(), 1023u);
    EXPECT_EQ(Print((long_text + u"%d").c_str(), 7), std::u16string(1023, u'x'));
    EXPECT_EQ(Print((std::u16string(1020, u'y') + u"%d").c_str(), -12345),
              std::u16string(1020, u'y') + u"-12");
    const std::u16string pair = std::u16string(1022, u'x') + u"\U0001F600";
    EXPECT_EQ(Print(u"%ls", pair.c_str()), std::u16string(1022, u'x'));
    EXPECT_EQ(Print(pair.c_str()), std::u16string(1022, u'x'));
}

TEST(WideText, CutsAnOverflowingTextAtAWholeLine) {
    FixedWideText<20> text;
    text.Append(u"abc");
    text.Print(u"%d", 12);
    EXPECT_EQ(text.view(), u"abc12");
    EXPECT_FALSE(text.cut());
    text.Clear();
    text.Append(u"first;");
    text.Append(u"\r\n\t  second;");
    text.Append(u"\r\n\t  third line");
    EXPECT_TRUE(text.cut());
    EXPECT_EQ(text.view(), u"first;\r\n\t  second;");
    text.Append(u"x");
    EXPECT_EQ(text.view(), u"first;\r\n\t  second;");
}

// A print is made in place only where the most a print can write still fits; near the end of
// the buffer it is cut as an append is.
TEST(WideText, CutsAPrintNearTheEndAtAWholeLine) {
    FixedWideText<kWidePrintLimit + 8> text;
    text.Append(std::u16string(kWidePrintLimit - 20, u'a'));
    text.Print(u"\r\n\t  lppt[%d] = (%d, %d);", 1, 2, 3);
    EXPECT_FALSE(text.cut());
    text.Print(u"\r\n\t  lppt[%d] = (%d, %d);", 2, 3, 4);
    EXPECT_TRUE(text.cut());
    EXPECT_EQ(text.view(),
              std::u16string(kWidePrintLimit - 20, u'a') + u"\r\n\t  lppt[1] = (2, 3);");
    text.Clear();
    text.Print(u"%d|%s", 5, u"x");
    EXPECT_EQ(text.view(), u"5|x");
}

TEST(WideText, CutsAOneLineTextAtTheLastWholeCharacter) {
    FixedWideText<6> text;
    text.Append(u"abcd\U0001F600");
    EXPECT_TRUE(text.cut());
    EXPECT_EQ(text.view(), u"abcd");
}

}  // namespace
