// Call texts of region records, point lists and 16-bit poly-polygons.
#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "calls/call_text.h"
#include "document/record_types.h"
#include "tests/support/call_text_utf8.h"

namespace {

// The call text of a record copied into a buffer of exactly its size, so that the sanitizer
// build reports any read past the record's last byte.
std::string ExactCallText(const RecordBuilder& record, int verbose) {
    const std::vector<uint8_t>& bytes = record.bytes();
    std::unique_ptr<uint8_t[]> exact(new uint8_t[bytes.size()]);
    std::copy(bytes.begin(), bytes.end(), exact.get());
    return CallTextUtf8(RecordView{exact.get(), static_cast<uint32_t>(bytes.size())}, verbose);
}

size_t Occurrences(const std::string& text, const std::string& piece) {
    size_t count = 0;
    for (size_t at = text.find(piece); at != std::string::npos; at = text.find(piece, at + 1)) {
        ++count;
    }
    return count;
}

// A point record claiming `count` points and holding `held`, point i being (i, -i); bounds
// (1, 2, 3, 4).
RecordBuilder PointRecord(uint32_t type, uint32_t count, uint32_t held) {
    const bool narrow = type >= 85;
    const uint32_t width = narrow ? 4 : 8;
    RecordBuilder r(type, 28 + held * width);
    r.I32(8, 1).I32(12, 2).I32(16, 3).I32(20, 4).U32(24, count);
    for (uint32_t i = 0; i < held; ++i) {
        const int32_t x = static_cast<int32_t>(i);
        if (narrow) {
            r.I16(28 + i * 4, static_cast<int16_t>(x)).I16(30 + i * 4, static_cast<int16_t>(-x));
        } else {
            r.I32(28 + i * 8, x).I32(32 + i * 8, -x);
        }
    }
    return r;
}

// A 16-bit poly-polygon record with `counts`, claiming `polygons` polygons (the number of
// counts when 0) and holding `points` points, point p being (p, -p).
RecordBuilder PolyPolygon16(const std::vector<uint32_t>& counts, uint32_t points,
                            uint32_t polygons = 0, uint32_t type = kEmrPolyPolygon16) {
    const auto held = static_cast<uint32_t>(counts.size());
    RecordBuilder r(type, 32 + 4 * held + 4 * points);
    r.U32(24, polygons != 0 ? polygons : held).U32(28, points);
    for (uint32_t j = 0; j < held; ++j) {
        r.U32(32 + 4 * j, counts[j]);
    }
    for (uint32_t p = 0; p < points; ++p) {
        const auto v = static_cast<int16_t>(p);
        r.I16(32 + 4 * held + 4 * p, v).I16(34 + 4 * held + 4 * p, static_cast<int16_t>(-v));
    }
    return r;
}

// A region of `rects` rectangles, `held` of them stored, at `offset` of the record.
void PutRegion(RecordBuilder& r, uint32_t offset, uint32_t rects, uint32_t held) {
    r.U32(offset, 32).U32(offset + 4, 1).U32(offset + 8, rects).U32(offset + 12, 16 * rects);
    r.I32(offset + 16, 0).I32(offset + 20, 0).I32(offset + 24, 10).I32(offset + 28, 20);
    for (uint32_t k = 0; k < held; ++k) {
        const uint32_t at = offset + 32 + 16 * k;
        r.I32(at, 0).I32(at + 4, static_cast<int32_t>(k)).I32(at + 8, 10).I32(at + 12, 20);
    }
}

TEST(FormatPoints, VerbosePolyline16ListsPointsThenBounds) {
    RecordBuilder r(kEmrPolyline16, 40);
    r.I32(8, 0).I32(12, -10).I32(16, 20).I32(20, 0).U32(24, 3);
    r.I16(28, 0).I16(30, 0).I16(32, 10).I16(34, -10).I16(36, 20).I16(38, 0);
    EXPECT_EQ(CallTextUtf8(r, 1),
              "Polyline(hDC, lppt, 3);    // 16-bit version\r\n\t  // Parameter(s):\r\n\t  const "
              "POINTS* lppt;\r\n\t  lppt[0] = (0, 0);\r\n\t  lppt[1] = (10, -10);\r\n\t  lppt[2] "
              "= (20, 0);\r\n\t  rclBounds = RECT(0, -10, 20, 0);");
    EXPECT_EQ(CallTextUtf8(r, 0), "Polyline(hDC, lppt, 3);    // 16-bit version");
}

TEST(FormatPoints, ListsAtMostThirtyTwoPointsInBothWidths) {
    for (const uint32_t type : {kEmrPolyline, kEmrPolyline16}) {
        const std::string full = CallTextUtf8(PointRecord(type, 32, 32), 1);
        EXPECT_EQ(Occurrences(full, "\r\n\t  lppt["), 32u);
        EXPECT_TRUE(full.ends_with("lppt[31] = (31, -31);\r\n\t  rclBounds = RECT(1, 2, 3, 4);"));

        const std::string capped = CallTextUtf8(PointRecord(type, 33, 33), 1);
        EXPECT_EQ(Occurrences(capped, "\r\n\t  lppt["), 32u);
        EXPECT_TRUE(
            capped.ends_with("lppt[31] = (31, -31);\r\n\t  // 1 more point(s) is(are) bypassed..."
                             "\r\n\t  rclBounds = RECT(1, 2, 3, 4);"))
            << capped;
    }
    EXPECT_EQ(CallTextUtf8(PointRecord(kEmrPolyline, 0, 0), 1),
              "Polyline(hDC, lppt, 0);\r\n\t  // Parameter(s):\r\n\t  const POINT* lppt;"
              "\r\n\t  rclBounds = RECT(1, 2, 3, 4);");
}

TEST(FormatPoints, CountsWithTheTopBitSetPrintSignedAndListNothing) {
    for (const uint32_t type : {kEmrPolyline, kEmrPolyline16}) {
        const std::string all_ones = ExactCallText(PointRecord(type, 0xFFFFFFFF, 2), 1);
        EXPECT_NE(all_ones.find("(hDC, lppt, -1);"), std::string::npos);
        EXPECT_EQ(Occurrences(all_ones, "lppt["), 0u);
        EXPECT_TRUE(all_ones.ends_with("* lppt;\r\n\t  rclBounds = RECT(1, 2, 3, 4);"));

        const std::string top_bit = ExactCallText(PointRecord(type, 0x80000000, 2), 1);
        EXPECT_NE(top_bit.find("(hDC, lppt, -2147483648);"), std::string::npos);
        EXPECT_EQ(Occurrences(top_bit, "lppt["), 0u);
    }
}

TEST(FormatPoints, CountBeyondTheRecordListsWhatIsHeldThenTheBounds) {
    for (const uint32_t type : {kEmrPolyline, kEmrPolyline16}) {
        const std::string text = ExactCallText(PointRecord(type, 10, 3), 1);
        EXPECT_TRUE(
            text.ends_with("lppt[2] = (2, -2);\r\n\t  // 7 more point(s) is(are) beyond the "
                           "record...\r\n\t  rclBounds = RECT(1, 2, 3, 4);"))
            << text;
    }
    // Bytes past the record's own size are not part of it, even when stored.
    RecordBuilder r = PointRecord(kEmrPolygon16, 2, 2);
    r.NSize(32);
    const std::string text = ExactCallText(r, 1);
    EXPECT_NE(text.find("lppt[0] = (0, 0);\r\n\t  // 1 more point(s) is(are) beyond"),
              std::string::npos)
        << text;
}

TEST(FormatPolyPolygons, ListsAtMostEightPolygons) {
    const std::string eight = CallTextUtf8(PolyPolygon16(std::vector<uint32_t>(8, 1), 8), 1);
    EXPECT_EQ(Occurrences(eight, "// Polygon "), 8u);
    EXPECT_TRUE(eight.ends_with("// Polygon 8, number of points: 1\r\n\t  // 1. (7, -7)"));

    const std::string nine = CallTextUtf8(PolyPolygon16(std::vector<uint32_t>(9, 1), 9), 1);
    EXPECT_EQ(Occurrences(nine, "// Polygon "), 8u);
    EXPECT_TRUE(nine.ends_with("// 1. (7, -7)\r\n\t  // 1 more polygon(s) is(are) bypassed..."));
    EXPECT_EQ(CallTextUtf8(PolyPolygon16(std::vector<uint32_t>(9, 1), 9), 0),
              "PolyPolygon(hDC, lpPoints, lpPolyCounts, 9);\t// 9 points total. 16-bit version");
}

TEST(FormatPolyPolygons, EachPolygonStartsAfterAllPointsOfTheOnesBefore) {
    const std::string text =
        CallTextUtf8(PolyPolygon16({40, 2, 0, 1}, 43, 0, kEmrPolyPolyline16), 1);
    EXPECT_EQ(text.rfind("PolyPolyline(hDC, lpPoints, lpPolyCounts, 4);\t// 43 points total. "
                         "16-bit version\r\n\t  // Polygon 1, number of points: 40\r\n\t  // 1. "
                         "(0, 0)\r\n\t  // 2. (1, -1)",
                         0),
              0u);
    EXPECT_NE(text.find("// 32. (31, -31)\r\n\t  // 8 more point(s) is(are) bypassed...\r\n\t  "
                        "// Polygon 2, number of points: 2\r\n\t  // 1. (40, -40)\r\n\t  // 2. "
                        "(41, -41)\r\n\t  // Polygon 3, number of points: 0\r\n\t  // Polygon 4, "
                        "number of points: 1\r\n\t  // 1. (42, -42)"),
              std::string::npos)
        << text;
    EXPECT_EQ(Occurrences(text, "Parameter(s)"), 0u);
}

TEST(FormatPolyPolygons, HostileCountsReadOnlyWhatTheRecordHolds) {
    // More polygons claimed than counts held: the held ones, then a note.
    const std::string many = ExactCallText(PolyPolygon16({1, 1}, 0, 1000), 1);
    EXPECT_TRUE(
        many.ends_with("// Polygon 2, number of points: 1\r\n\t  // 1 more point(s) "
                       "is(are) beyond the record...\r\n\t  // 998 more polygon(s) "
                       "is(are) beyond the record..."))
        << many;
    // The counts of an nPolys of 0xFFFFFFFF or 0x80000000 fill the record; its points would
    // start far beyond it.
    for (const uint32_t polygons : {0xFFFFFFFFu, 0x80000000u}) {
        const std::string text = ExactCallText(PolyPolygon16({3, 0, 5}, 0, polygons), 1);
        EXPECT_NE(text.find("// Polygon 1, number of points: 3\r\n\t  // 3 more point(s) is(are) "
                            "beyond the record...\r\n\t  // Polygon 2, number of points: 0\r\n\t"
                            "  // Polygon 3, number of points: 5\r\n\t  // 5 more point(s)"),
                  std::string::npos)
            << text;
        EXPECT_NE(text.find("more polygon(s) is(are) beyond the record..."), std::string::npos);
    }
    // Counts whose sum runs past the points held, one of them wrapping 32 bits with the rest.
    const std::string sum = ExactCallText(PolyPolygon16({2, 0xFFFFFFFF, 2}, 4), 1);
    EXPECT_NE(
        sum.find("// 2. (1, -1)\r\n\t  // Polygon 2, number of points: -1\r\n\t  // 1. (2, "
                 "-2)\r\n\t  // 2. (3, -3)\r\n\t  // 4294967293 more point(s) is(are) beyond the "
                 "record...\r\n\t  // Polygon 3, number of points: 2\r\n\t  // 2 more "
                 "point(s) is(are) beyond the record..."),
        std::string::npos)
        << sum;
}

TEST(FormatRegions, VerboseClipRegionNamesItsModeAndListsTheRegion) {
    RecordBuilder r(kEmrExtSelectClipRgn, 16);
    r.U32(8, 48).U32(12, 6);
    PutRegion(r, 16, 1, 1);
    const std::string text = CallTextUtf8(r, 1);
    EXPECT_EQ(text.rfind("ExtSelectClipRgn(hDC, hRgn, 0x00000006);\r\n\t  // Parameter(s):\r\n\t  "
                         "EMREXTSELECTCLIPRGN emrESCR;\r\n\t  emrESCR.cbRgnData = 48;\r\n\t  "
                         "emrESCR.iMode = 0x00000006;\r\n\t  const RGNDATA* pRgnData = (const "
                         "RGNDATA*)(emrESCR.RgnData);\r\n\t  const RGNDATAHEADER* pRDH",
                         0),
              0u)
        << text;
    EXPECT_TRUE(text.ends_with("(pRDH->nCount): 1\r\n\t  //   1. (0, 0, 10, 20)"));
}

TEST(FormatRegions, BriefFormsPrintTheRecordFieldsOnly) {
    RecordBuilder frame(72, 40);
    frame.U32(28, 3).I32(32, 1).I32(36, 2);
    PutRegion(frame, 40, 1, 1);
    EXPECT_EQ(CallTextUtf8(frame, 0), "FrameRgn(hDC, hRgn, (HBRUSH)3, 1, 2);");
    EXPECT_EQ(CallTextUtf8(RecordBuilder(73, 28), 0), "InvertRgn(hDC, hRgn);");
    EXPECT_EQ(CallTextUtf8(RecordBuilder(74, 28), 0), "PaintRgn(hDC, hRgn);");
}

TEST(FormatRegions, VerboseFillRgnListsItsRegion) {
    RecordBuilder r(kEmrFillRgn, 32);
    r.U32(24, 64).U32(28, 7);
    PutRegion(r, 32, 2, 2);
    EXPECT_EQ(CallTextUtf8(r, 1),
              "FillRgn(hDC, hRgn, (HBRUSH)7);\r\n\t  // Parameter(s):\r\n\t  EMRFILLRGN emrFR;"
              "\r\n\t  emrFR.cbRgnData = 64;\r\n\t  const RGNDATA* pRgnData = (const "
              "RGNDATA*)(emrFR.RgnData);\r\n\t  const RGNDATAHEADER* pRDH = &(pRgnData->rdh);"
              "\r\n\t  pRDH->dwSize = 32;\r\n\t  pRDH->iType = RDH_RECTANGLES;\r\n\t  "
              "pRDH->nCount = 2;\r\n\t  pRDH->nRgnSize = 32;\r\n\t  pRDH->rcBound = RECT(0, 0, "
              "10, 20);\r\n\t  // the region is made up by the following rect(s);\r\n\t  // "
              "number of rect(s) (pRDH->nCount): 2\r\n\t  //   1. (0, 0, 10, 20)\r\n\t  //   2. "
              "(0, 1, 10, 20)");
    // Nine rectangles are listed, the rest counted.
    RecordBuilder ten = RecordBuilder(kEmrFillRgn, 32).U32(24, 192);
    PutRegion(ten, 32, 10, 10);
    EXPECT_TRUE(CallTextUtf8(ten, 1).ends_with(
        "//   9. (0, 8, 10, 20)\r\n\t  // 1 more rect(s) is(are) bypassed..."));
}

TEST(FormatRegions, RegionDataCutShortIsNotRead) {
    RecordBuilder rects(kEmrFillRgn, 32);
    rects.U32(24, 80);
    PutRegion(rects, 32, 3, 1);
    EXPECT_TRUE(ExactCallText(rects, 1).ends_with(
        "//   1. (0, 0, 10, 20)\r\n\t  // 2 more rect(s) is(are) beyond the "
        "record..."));
    RecordBuilder header(73, 40);
    header.U32(24, 48).U32(28, 32);
    EXPECT_TRUE(ExactCallText(header, 1).ends_with(
        "emrIR.RgnData);\r\n\t  const RGNDATAHEADER* pRDH = &(pRgnData->rdh);"
        "\r\n\t  // RGNDATAHEADER is beyond the record..."));
    RecordBuilder huge(kEmrExtSelectClipRgn, 16);
    huge.U32(8, 0xFFFFFFFF).U32(12, 1);
    PutRegion(huge, 16, 0xFFFFFFFF, 0);
    EXPECT_TRUE(ExactCallText(huge, 1).ends_with(
        "// 4294967295 more rect(s) is(are) beyond the record..."));
}

}  // namespace
