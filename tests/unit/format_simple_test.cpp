// Device-context state, CreatePen, object and palette selection and colour spaces as call text.
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
    kSelectPalette = 48,
    kSetMiterLimit = 58,
    kExtSelectClipRgn = 75,
    kSetIcmMode = 98,
    kSetColorSpace = 100,
    kDeleteColorSpace = 101,
    kSetTextJustification = 120
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

// The same text in both forms: modes named or printed in hexadecimal, the text-align fields and
// reading-order flag (bits outside them not shown), colours without their high byte, signed number
// pairs, the pen's whole style, stock objects and the default palette named while table indices
// print as numbers, and colour spaces.
TEST(FormatState, NamesValuesOrPrintsTheirNumbers) {
    const struct {
        RecordBuilder record;
        const char* text;
    } cases[] = {
        {OneField(kSetBkMode, 1), "SetBkMode(hDC, TRANSPARENT);"},
        {OneField(kSetBkMode, 2), "SetBkMode(hDC, OPAQUE);"},
        {OneField(kSetBkMode, 0), "SetBkMode(hDC, 0x00000000);"},
        {OneField(kSetMapMode, 8), "SetMapMode(hDC, MM_ANISOTROPIC);"},
        {OneField(kSetMapMode, 0x80000008), "SetMapMode(hDC, 0x80000008);"},
        {OneField(kSetRop2, 13), "SetROP2(hDC, R2_COPYPEN);"},
        {OneField(kSetStretchBltMode, 4), "SetStretchBltMode(hDC, HALFTONE | STRETCH_HALFTONE);"},
        {OneField(kSetPolyFillMode, 2), "SetPolyFillMode(hDC, WINDING);"},
        {OneField(kSetTextAlign, 0), "SetTextAlign(hDC, TA_LEFT | TA_TOP | TA_NOUPDATECP);"},
        {OneField(kSetTextAlign, 0x1E),
         "SetTextAlign(hDC, TA_CENTER | TA_BASELINE | TA_NOUPDATECP);"},
        {OneField(kSetTextAlign, 0x101),
         "SetTextAlign(hDC, TA_LEFT | TA_TOP | TA_UPDATECP| TA_RTLREADING);"},
        {OneField(kSetTextAlign, 0x14), "SetTextAlign(hDC, 4 | 16 | TA_NOUPDATECP);"},
        {OneField(kSetTextAlign, 0xFFFFFEE0),
         "SetTextAlign(hDC, TA_LEFT | TA_TOP | TA_NOUPDATECP);"},
        {OneField(kSetTextColor, 0x000000FF), "SetTextColor(hDC, RGB(255, 0, 0));"},
        {OneField(kSetTextColor, 0x01000005), "SetTextColor(hDC, RGB(5, 0, 0));"},
        {OneField(kSetBkColor, 0xFF563412), "SetBkColor(hDC, RGB(18, 52, 86));"},
        {Pair(kSetWindowExtEx, 1000, -500), "SetWindowExtEx(hDC, 1000, -500, NULL);"},
        {Pair(kSetBrushOrgEx, 0, 0), "SetBrushOrgEx(hDC, 0, 0, NULL);"},
        {Pair(kSetTextJustification, 5, 2), "SetTextJustification(hDC, 5, 2);"},
        {OneField(kRestoreDC, 0xFFFFFFFF), "RestoreDC(hDC, -1);"},
        {Pen(1, 0, 1, 0x00FF0000),
         "CreatePen(PS_SOLID, 1, RGB(0, 0, 255));    // EMRCREATEPEN.ihPen = 1"},
        {Pen(7, 0x10000, -3, 0x01020304),
         "CreatePen(0x00010000, -3, RGB(4, 3, 2));    // EMRCREATEPEN.ihPen = 7"},
        {OneField(kSelectObject, 0x80000000), "SelectObject(hDC, (HGDIOBJ)WHITE_BRUSH);"},
        {OneField(kSelectObject, 0x8000000D), "SelectObject(hDC, (HGDIOBJ)SYSTEM_FONT);"},
        {OneField(kSelectObject, 0x80000012), "SelectObject(hDC, (HGDIOBJ)0x00000012);"},
        {OneField(kSelectObject, 0x80000011), "SelectObject(hDC, (HGDIOBJ)0x00000011);"},
        {OneField(kSelectObject, 3), "SelectObject(hDC, 3);"},
        {OneField(kDeleteObject, 3), "DeleteObject(hDC, 3);"},
        {OneField(kDeleteObject, 0x80000005),
         "DeleteObject(hDC, (HGDIOBJ)NULL_BRUSH | HOLLOW_BRUSH);"},
        {OneField(kSelectPalette, 0x8000000F), "SelectPalette(hDC, DEFAULT_PALETTE, TRUE);"},
        {OneField(kSelectPalette, 0x80000000), "SelectPalette(hDC, DEFAULT_PALETTE, TRUE);"},
        {OneField(kSelectPalette, 1), "SelectPalette(hDC, 1, TRUE);"},
        {OneField(kSetIcmMode, 2), "SetICMMode(hDC, ICM_ON);"},
        {OneField(kSetIcmMode, 0), "SetICMMode(hDC, 0);"},
        {OneField(kSetColorSpace, 5), "SetColorSpace(hDC, 0x00000005);"},
        {OneField(kDeleteColorSpace, 5), "DeleteColorSpace(0x00000005);"},
        {Pair(kExtSelectClipRgn, 0, 5), "ExtSelectClipRgn(hDC, NULL, RGN_COPY | RGN_MAX);"}};
    for (const auto& c : cases) {
        EXPECT_EQ(Text(c.record), c.text);
        EXPECT_EQ(CallTextUtf8(c.record, 1), c.text);
    }
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
