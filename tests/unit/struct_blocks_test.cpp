// Fixed-point numbers and the transform, bitmap-header and region blocks.
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

TEST(FormatFixed6, TruncatesTheFloatsExactValueToSixDecimals) {
    EXPECT_EQ(Fixed6(0.7f), "0.699999");
    EXPECT_EQ(Fixed6(1.1f), "1.100000");
    EXPECT_EQ(Fixed6(2.3f), "2.299999");
    EXPECT_EQ(Fixed6(0.1f), "0.100000");
    EXPECT_EQ(Fixed6(3.14159265f), "3.141592");
    EXPECT_EQ(Fixed6(123456.789f), "123456.789062");
    EXPECT_EQ(Fixed6(16777217.0f), "16777216.000000");
    EXPECT_EQ(Fixed6(0.0000001f), "0.000000");
    EXPECT_EQ(Fixed6(2147483520.0f), "2147483520.000000");
}

TEST(FormatFixed6, SignsNegativeValuesButNotNegativeZero) {
    EXPECT_EQ(Fixed6(-2.75f), "-2.750000");
    EXPECT_EQ(Fixed6(-0.5f), "-0.500000");
    EXPECT_EQ(Fixed6(-0.0000001f), "-0.000000");
    EXPECT_EQ(Fixed6(0.0f), "0.000000");
    EXPECT_EQ(Fixed6(-0.0f), "0.000000");
}

TEST(FormatFixed6, PrintsEveryDigitOfValuesBeyondThirtyOneBits) {
    EXPECT_EQ(Fixed6(2147483648.0f), "2147483648.000000");
    EXPECT_EQ(Fixed6(-2147483648.0f), "-2147483648.000000");
    EXPECT_EQ(Fixed6(1e10f), "10000000000.000000");
    EXPECT_EQ(Fixed6(std::numeric_limits<float>::max()),
              "340282346638528859811704183484516925440.000000");
    EXPECT_EQ(Fixed6(-std::numeric_limits<float>::max()),
              "-340282346638528859811704183484516925440.000000");
}

TEST(FormatFixed6, SpellsInfinitiesAndNaNs) {
    EXPECT_EQ(Fixed6(std::numeric_limits<float>::infinity()), "INFINITY");
    EXPECT_EQ(Fixed6(-std::numeric_limits<float>::infinity()), "-INFINITY");
    EXPECT_EQ(Fixed6(std::numeric_limits<float>::quiet_NaN()), "NAN");
    EXPECT_EQ(Fixed6(-std::numeric_limits<float>::quiet_NaN()), "NAN");
}

TEST(FormatXformBlock, ListsTheIdentityWithAlignedLabels) {
    FixedWideText<1024> out;
    FormatXformBlock(out, Xform{1.0f, 0.0f, 0.0f, 1.0f, 0.0f, 0.0f});
    EXPECT_EQ(ToUtf8(out.view()),
              "\r\n\t  // Parameter(s):\r\n\t  const XFORM* lpXform;"
              "\r\n\t  lpXform->eM11 = 1.000000\r\n\t  lpXform->eM12 = 0.000000"
              "\r\n\t  lpXform->eM21 = 0.000000\r\n\t  lpXform->eM22 = 1.000000"
              "\r\n\t  lpXform->eDx  = 0.000000\r\n\t  lpXform->eDy  = 0.000000");
}

TEST(FormatXformBlock, StaysWithinItsLongestLengthForTheLargestFloats) {
    const float low = -std::numeric_limits<float>::max();
    FixedWideText<kXformBlockMaxUnits + 1> out;
    EXPECT_EQ(FormatXformBlock(out, Xform{low, low, low, low, low, low}), kXformBlockMaxUnits);
    EXPECT_FALSE(out.cut());
    FixedWideText<kFixed6MaxUnits + 1> number;
    EXPECT_EQ(FormatFixed6(number, low), kFixed6MaxUnits);
}

TEST(BitmapInfoHeader, ReadsSixteenBitFieldsUnsignedAndPrintsTheMinusOfTopDownBitmaps) {
    RecordBuilder record(94, 60);
    record.U32(20, 40).I32(24, 16).I32(28, -8).U16(32, 1).U16(34, 24).U32(36, 0).U32(40, 384);
    record.I32(44, 2835).I32(48, 2835).U32(52, 0).U32(56, 0);
    RecordReader reader(record.view());
    BitmapInfoHeader header;
    ASSERT_TRUE(ReadBitmapInfoHeader(reader, 20, &header));
    FixedWideText<1024> out;
    FormatBitmapInfoHeaderBlock(out, header);
    EXPECT_EQ(ToUtf8(out.view()),
              "\r\n\t  lpBMIH->biSize = 40;\r\n\t  lpBMIH->biWidth = 16;"
              "\r\n\t  lpBMIH->biHeight = -8;\r\n\t  lpBMIH->biPlanes = 1;"
              "\r\n\t  lpBMIH->biBitCount = 24;\r\n\t  lpBMIH->biCompression = 0;"
              "\r\n\t  lpBMIH->biSizeImage = 384;\r\n\t  lpBMIH->biXPelsPerMeter = 2835;"
              "\r\n\t  lpBMIH->biYPelsPerMeter = 2835;\r\n\t  lpBMIH->biClrUsed = 0;"
              "\r\n\t  lpBMIH->biClrImportant = 0;");

    header.planes = 0xFFFF;
    FormatBitmapInfoHeaderBlock(out, header);
    EXPECT_NE(ToUtf8(out.view()).find("lpBMIH->biPlanes = 65535;"), std::string::npos);
}

TEST(ReadStructures, RefuseStructuresThatLeaveTheRecord) {
    RecordBuilder record(94, 59);
    RecordReader reader(record.view());
    BitmapInfoHeader header;
    EXPECT_FALSE(ReadBitmapInfoHeader(reader, 20, &header));
    EXPECT_FALSE(ReadBitmapInfoHeader(reader, 0xFFFFFFF0, &header));
    Xform xform;
    EXPECT_TRUE(ReadXform(reader, 35, &xform));
    EXPECT_FALSE(ReadXform(reader, 36, &xform));
    RgnDataHeader region;
    EXPECT_FALSE(ReadRgnDataHeader(reader, 28, &region));
}

constexpr uint32_t kRegionAt = 32;  // where a FillRgn record holds its region data
constexpr uint32_t kRectsAt = kRegionAt + kRgnDataHeaderBytes;

// A FillRgn record whose region claims `claimed` rectangles and holds `held` of them, the
// k-th being (k, 10 * k, k + 1, 10 * k + 1).
RecordBuilder RegionRecord(uint32_t claimed, uint32_t held) {
    RecordBuilder record(71, kRectsAt + held * kRectBytes);
    record.U32(kRegionAt, 32).U32(kRegionAt + 4, 1).U32(kRegionAt + 8, claimed);
    record.U32(kRegionAt + 12, held * kRectBytes);
    for (uint32_t k = 0; k < held; ++k) {
        const uint32_t at = kRectsAt + k * kRectBytes;
        record.I32(at, k).I32(at + 4, 10 * k).I32(at + 8, k + 1).I32(at + 12, 10 * k + 1);
    }
    return record;
}

std::string RectList(const RecordBuilder& record, uint32_t count) {
    RecordReader reader(record.view());
    FixedWideText<1024> out;
    const size_t length = FormatRgnRectList(out, count, reader, kRectsAt);
    EXPECT_EQ(length, out.size());
    EXPECT_TRUE(reader.ok());
    return ToUtf8(out.view());
}

const char kListHead[] =
    "\r\n\t  // the region is made up by the following rect(s);"
    "\r\n\t  // number of rect(s) (pRDH->nCount): ";

TEST(FormatRgnRectList, ListsAtMostNineRectanglesAndCountsTheRest) {
    EXPECT_EQ(RectList(RegionRecord(0, 0), 0), std::string(kListHead) + "0");

    const std::string nine = RectList(RegionRecord(9, 9), 9);
    EXPECT_NE(nine.find("\r\n\t  //   1. (0, 0, 1, 1)"), std::string::npos);
    EXPECT_TRUE(nine.ends_with("\r\n\t  //   9. (8, 80, 9, 81)"));
    EXPECT_EQ(nine.find("bypassed"), std::string::npos);

    const std::string ten = RectList(RegionRecord(10, 10), 10);
    EXPECT_TRUE(
        ten.ends_with("\r\n\t  //   9. (8, 80, 9, 81)"
                      "\r\n\t  // 1 more rect(s) is(are) bypassed..."));

    const std::string thousand = RectList(RegionRecord(1000, 1000), 1000);
    EXPECT_TRUE(thousand.ends_with("\r\n\t  // 991 more rect(s) is(are) bypassed..."));
    EXPECT_EQ(thousand.find("10. "), std::string::npos);
}

TEST(FormatRgnRectList, StopsAtTheEndOfTheRecordWhenTheCountClaimsMore) {
    EXPECT_EQ(RectList(RegionRecord(1000, 2), 1000),
              std::string(kListHead) + "1000" + "\r\n\t  //   1. (0, 0, 1, 1)" +
                  "\r\n\t  //   2. (1, 10, 2, 11)" +
                  "\r\n\t  // 998 more rect(s) is(are) beyond the record...");

    // The record's own size counts, not the bytes that happen to follow it.
    RecordBuilder short_size = RegionRecord(2, 2);
    short_size.NSize(kRectsAt + kRectBytes);
    EXPECT_TRUE(RectList(short_size, 2)
                    .ends_with("\r\n\t  //   1. (0, 0, 1, 1)\r\n\t  // 1 more rect(s) is(are) "
                               "beyond the record..."));

    RecordReader reader(RegionRecord(4, 4).view());
    FixedWideText<1024> out;
    FormatRgnRectList(out, 4, reader, 0xFFFFFFF8);
    EXPECT_TRUE(
        ToUtf8(out.view()).ends_with("\r\n\t  // 4 more rect(s) is(are) beyond the record..."));
}

}  // namespace
