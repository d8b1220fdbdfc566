// Device-context state, CreatePen and object selection as call text.
#include <gtest/gtest.h>

#include <bit>
#include <vector>

#include "tests/support/call_text_utf8.h"

namespace {

enum : uint32_t {
    kSetWindowExtEx = 9,
    kSetViewportOrgEx = 12,
    kSetBrushOrgEx = 13,
    kSetMapMode = 17,
    kSetBkMode = 18,
    kSetPolyFillMode = 19,
    kSetRop2 = 20,
    kSetStretchBltMode = 21,
    kSetTextAlign = 22,
    kSetTextColor = 24,
    kSetBkColor = 25,
    kRestoreDC = 34,
    kSelectObject = 37,
    kCreatePen = 38,
    kDeleteObject = 40,
    kSetMiterLimit = 58,
    kSetTextJustification = 120,
};

// A record of `type` with one 32-bit field at offset 8.
RecordBuilder OneField(uint32_t type, uint32_t value) {
    return RecordBuilder(type, 12).U32(8, value);
}

RecordBuilder Pair(uint32_t type, int32_t first, int32_t second) {
    return RecordBuilder(type, 16).I32(8, first).I32(12, second);
}

RecordBuilder Pen(uint32_t index, uint32_t style, int32_t width, uint32_t color) {
    return RecordBuilder(kCreatePen, 28).U32(8, index).U32(12, style).I32(16, width).U32(24, color);
}

std::string Text(const RecordBuilder& record) {
    return CallTextUtf8(record, 0);
}

TEST(FormatModes, NameTheModeOrPrintItInHexadecimal) {
    EXPECT_EQ(Text(OneField(kSetBkMode, 1)), "SetBkMode(hDC, TRANSPARENT);");
    EXPECT_EQ(Text(OneField(kSetBkMode, 2)), "SetBkMode(hDC, OPAQUE);");
    EXPECT_EQ(Text(OneField(kSetBkMode, 0)), "SetBkMode(hDC, 0x00000000);");
    EXPECT_EQ(Text(OneField(kSetMapMode, 8)), "SetMapMode(hDC, MM_ANISOTROPIC);");
    EXPECT_EQ(Text(OneField(kSetMapMode, 0x80000008)), "SetMapMode(hDC, 0x80000008);");
    EXPECT_EQ(Text(OneField(kSetRop2, 13)), "SetROP2(hDC, R2_COPYPEN);");
    EXPECT_EQ(Text(OneField(kSetStretchBltMode, 4)),
              "SetStretchBltMode(hDC, HALFTONE | STRETCH_HALFTONE);");
    EXPECT_EQ(Text(OneField(kSetStretchBltMode, 3)),
              "SetStretchBltMode(hDC, COLORONCOLOR | STRETCH_DELETESCANS);");
    EXPECT_EQ(Text(OneField(kSetPolyFillMode, 2)), "SetPolyFillMode(hDC, WINDING);");
}

TEST(FormatTextAlign, NamesEachFieldAndTheReadingOrderFlag) {
    EXPECT_EQ(Text(OneField(kSetTextAlign, 0)),
              "SetTextAlign(hDC, TA_LEFT | TA_TOP | TA_NOUPDATECP);");
    EXPECT_EQ(Text(OneField(kSetTextAlign, 0x1E)),
              "SetTextAlign(hDC, TA_CENTER | TA_BASELINE | TA_NOUPDATECP);");
    EXPECT_EQ(Text(OneField(kSetTextAlign, 0x101)),
              "SetTextAlign(hDC, TA_LEFT | TA_TOP | TA_UPDATECP| TA_RTLREADING);");
    EXPECT_EQ(Text(OneField(kSetTextAlign, 0x14)), "SetTextAlign(hDC, 4 | 16 | TA_NOUPDATECP);");
    // Bits outside the three fields and the flag are not shown.
    EXPECT_EQ(Text(OneField(kSetTextAlign, 0xFFFFFEE0)),
              "SetTextAlign(hDC, TA_LEFT | TA_TOP | TA_NOUPDATECP);");
}

TEST(FormatColorArg, ShowsRedGreenBlueAndIgnoresTheHighByte) {
    EXPECT_EQ(Text(OneField(kSetTextColor, 0x000000FF)), "SetTextColor(hDC, RGB(255, 0, 0));");
    EXPECT_EQ(Text(OneField(kSetTextColor, 0x01000005)), "SetTextColor(hDC, RGB(5, 0, 0));");
    EXPECT_EQ(Text(OneField(kSetBkColor, 0xFF563412)), "SetBkColor(hDC, RGB(18, 52, 86));");
}

TEST(FormatNumberPairs, PrintBothValuesSigned) {
    EXPECT_EQ(Text(Pair(kSetWindowExtEx, 1000, -500)), "SetWindowExtEx(hDC, 1000, -500, NULL);");
    EXPECT_EQ(Text(Pair(kSetBrushOrgEx, 0, 0)), "SetBrushOrgEx(hDC, 0, 0, NULL);");
    EXPECT_EQ(Text(Pair(kSetTextJustification, 5, 2)), "SetTextJustification(hDC, 5, 2);");
    EXPECT_EQ(Text(OneField(kRestoreDC, 0xFFFFFFFF)), "RestoreDC(hDC, -1);");
}

TEST(FormatCreatePen, NamesTheWholeStyleAndCommentsTheIndex) {
    EXPECT_EQ(Text(Pen(1, 0, 1, 0x00FF0000)),
              "CreatePen(PS_SOLID, 1, RGB(0, 0, 255));    // EMRCREATEPEN.ihPen = 1");
    EXPECT_EQ(Text(Pen(7, 0x10000, -3, 0x01020304)),
              "CreatePen(0x00010000, -3, RGB(4, 3, 2));    // EMRCREATEPEN.ihPen = 7");
}

TEST(FormatObjectIndex, NamesStockObjectsAndPrintsTableIndices) {
    EXPECT_EQ(Text(OneField(kSelectObject, 0x80000000)),
              "SelectObject(hDC, (HGDIOBJ)WHITE_BRUSH);");
    EXPECT_EQ(Text(OneField(kSelectObject, 0x8000000D)),
              "SelectObject(hDC, (HGDIOBJ)SYSTEM_FONT);");
    EXPECT_EQ(Text(OneField(kSelectObject, 0x80000012)), "SelectObject(hDC, (HGDIOBJ)0x00000012);");
    EXPECT_EQ(Text(OneField(kSelectObject, 0x80000011)), "SelectObject(hDC, (HGDIOBJ)0x00000011);");
    EXPECT_EQ(Text(OneField(kSelectObject, 3)), "SelectObject(hDC, 3);");
    EXPECT_EQ(Text(OneField(kDeleteObject, 3)), "DeleteObject(hDC, 3);");
    EXPECT_EQ(Text(OneField(kDeleteObject, 0x80000005)),
              "DeleteObject(hDC, (HGDIOBJ)NULL_BRUSH | HOLLOW_BRUSH);");
}

TEST(FormatMiterLimit, ReadsAStoredIntegerAsTheIntegerAndAnyOtherPatternAsAFloat) {
    EXPECT_EQ(Text(RecordBuilder(kSetMiterLimit, 12).F32(8, 10.0f)),
              "SetMiterLimit(hDC, 10.000000, NULL);");
    EXPECT_EQ(Text(OneField(kSetMiterLimit, 10)), "SetMiterLimit(hDC, 10.000000, NULL);");
    EXPECT_EQ(Text(OneField(kSetMiterLimit, 0)), "SetMiterLimit(hDC, 0.000000, NULL);");
    EXPECT_EQ(Text(OneField(kSetMiterLimit, 0x007FFFFF)),
              "SetMiterLimit(hDC, 8388607.000000, NULL);");
    EXPECT_EQ(Text(OneField(kSetMiterLimit, 0x00800000)), "SetMiterLimit(hDC, 0.000000, NULL);");
    EXPECT_EQ(Text(OneField(kSetMiterLimit, std::bit_cast<uint32_t>(-4.5f))),
              "SetMiterLimit(hDC, -4.500000, NULL);");
}

}  // namespace
