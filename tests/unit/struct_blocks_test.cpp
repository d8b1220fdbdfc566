// Fixed-point numbers and the longest transform block.
#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <string>

#include "calls/struct_blocks.h"
#include "tests/support/emf_builder.h"

namespace {

std::string Fixed6(float value) {
    FixedWideText<64> out;
    const size_t length = FormatFixed6(out, value);
    EXPECT_EQ(length, out.size());
    return ToUtf8(out.view());
}

// Each value's exact binary value truncated to six decimals, every digit of large values, a
// sign on negatives but not on negative zero, and the names of infinities and NaNs.
TEST(FormatFixed6, TruncatesExactValuesAndSpellsTheSpecialOnes) {
    constexpr float kMax = std::numeric_limits<float>::max();
    constexpr float kInf = std::numeric_limits<float>::infinity();
    constexpr float kNan = std::numeric_limits<float>::quiet_NaN();
    const std::pair<float, const char*> cases[] = {
        {0.7f, "0.699999"},
        {1.1f, "1.100000"},
        {2.3f, "2.299999"},
        {3.14159265f, "3.141592"},
        {123456.789f, "123456.789062"},
        {16777217.0f, "16777216.000000"},
        {0.0000001f, "0.000000"},
        {2147483520.0f, "2147483520.000000"},
        {-2.75f, "-2.750000"},
        {-0.0000001f, "-0.000000"},
        {-0.0f, "0.000000"},
        {2147483648.0f, "2147483648.000000"},
        {-2147483648.0f, "-2147483648.000000"},
        {1e10f, "10000000000.000000"},
        {kMax, "340282346638528859811704183484516925440.000000"},
        {-kMax, "-340282346638528859811704183484516925440.000000"},
        {kInf, "INFINITY"},
        {-kInf, "-INFINITY"},
        {kNan, "NAN"},
        {-kNan, "NAN"}};
    for (const auto& [value, text] : cases) {
        EXPECT_EQ(Fixed6(value), text);
    }
}

TEST(FormatXformBlock, StaysWithinItsLongestLengthForTheLargestFloats) {
    const float low = -std::numeric_limits<float>::max();
    FixedWideText<kXformBlockMaxUnits + 1> out;
    EXPECT_EQ(FormatXformBlock(out, Xform{low, low, low, low, low, low}), kXformBlockMaxUnits);
    EXPECT_FALSE(out.cut());
    FixedWideText<kFixed6MaxUnits + 1> number;
    EXPECT_EQ(FormatFixed6(number, low), kFixed6MaxUnits);
}

}  // namespace
