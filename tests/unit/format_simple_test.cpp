// Device-context state, CreatePen, object and palette selection and colour spaces as call text.
#include <gtest/gtest.h>

#include <bit>
#include <vector>

#include "document/record_types.h"
#include "tests/support/call_text_utf8.h"

namespace {

// A record of `type` with one 32-bit field at offset 8.
RecordBuilder OneField(uint32_t type, uint32_t value) {
    return RecordBuilder(type, 12).U32(8, value);
}

RecordBuilder Pair(uint32_t type, int32_t first, int32_t second) {
    return RecordBuilder(type, 16).I32(8, first).I32(12, second);
}

RecordBuilder Pen(uint32_t index, uint32_t style, int32_t width, uint32_t color) {
    return RecordBuilder(kEmrCreatePen, 28)
        .U32(8, index)
        .U32(12, style)
        .I32(16, width)
        .U32(24, color);
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
        {OneField(kEmrSetBkMode, 1), "SetBkMode(hDC, TRANSPARENT);"},
        {OneField(kEmrSetBkMode, 2), "SetBkMode(hDC, OPAQUE);"},
        {OneField(kEmrSetBkMode, 0), "SetBkMode(hDC, 0x00000000);"},
        {OneField(kEmrSetMapMode, 8), "SetMapMode(hDC, MM_ANISOTROPIC);"},
        {OneField(kEmrSetMapMode, 0x80000008), "SetMapMode(hDC, 0x80000008);"},
        {OneField(kEmrSetRop2, 13), "SetROP2(hDC, R2_COPYPEN);"},
        {OneField(kEmrSetStretchBltMode, 4),
         "SetStretchBltMode(hDC, HALFTONE | STRETCH_HALFTONE);"},
        {OneField(kEmrSetPolyFillMode, 2), "SetPolyFillMode(hDC, WINDING);"},
        {OneField(kEmrSetTextAlign, 0), "SetTextAlign(hDC, TA_LEFT | TA_TOP | TA_NOUPDATECP);"},
        {OneField(kEmrSetTextAlign, 0x1E),
         "SetTextAlign(hDC, TA_CENTER | TA_BASELINE | TA_NOUPDATECP);"},
        {OneField(kEmrSetTextAlign, 0x101),
         "SetTextAlign(hDC, TA_LEFT | TA_TOP | TA_UPDATECP| TA_RTLREADING);"},
        {OneField(kEmrSetTextAlign, 0x14), "SetTextAlign(hDC, 4 | 16 | TA_NOUPDATECP);"},
        {OneField(kEmrSetTextAlign, 0xFFFFFEE0),
         "SetTextAlign(hDC, TA_LEFT | TA_TOP | TA_NOUPDATECP);"},
        {OneField(kEmrSetTextColor, 0x000000FF), "SetTextColor(hDC, RGB(255, 0, 0));"},
        {OneField(kEmrSetTextColor, 0x01000005), "SetTextColor(hDC, RGB(5, 0, 0));"},
        {OneField(kEmrSetBkColor, 0xFF563412), "SetBkColor(hDC, RGB(18, 52, 86));"},
        {Pair(kEmrSetWindowExtEx, 1000, -500), "SetWindowExtEx(hDC, 1000, -500, NULL);"},
        {Pair(kEmrSetBrushOrgEx, 0, 0), "SetBrushOrgEx(hDC, 0, 0, NULL);"},
        {Pair(kEmrSetTextJustification, 5, 2), "SetTextJustification(hDC, 5, 2);"},
        {OneField(kEmrRestoreDc, 0xFFFFFFFF), "RestoreDC(hDC, -1);"},
        {Pen(1, 0, 1, 0x00FF0000),
         "CreatePen(PS_SOLID, 1, RGB(0, 0, 255));    // EMRCREATEPEN.ihPen = 1"},
        {Pen(7, 0x10000, -3, 0x01020304),
         "CreatePen(0x00010000, -3, RGB(4, 3, 2));    // EMRCREATEPEN.ihPen = 7"},
        {OneField(kEmrSelectObject, 0x80000000), "SelectObject(hDC, (HGDIOBJ)WHITE_BRUSH);"},
        {OneField(kEmrSelectObject, 0x8000000D), "SelectObject(hDC, (HGDIOBJ)SYSTEM_FONT);"},
        {OneField(kEmrSelectObject, 0x80000012), "SelectObject(hDC, (HGDIOBJ)0x00000012);"},
        {OneField(kEmrSelectObject, 0x80000011), "SelectObject(hDC, (HGDIOBJ)0x00000011);"},
        {OneField(kEmrSelectObject, 3), "SelectObject(hDC, 3);"},
        {OneField(kEmrDeleteObject, 3), "DeleteObject(hDC, 3);"},
        {OneField(kEmrDeleteObject, 0x80000005),
         "DeleteObject(hDC, (HGDIOBJ)NULL_BRUSH | HOLLOW_BRUSH);"},
        {OneField(kEmrSelectPalette, 0x8000000F), "SelectPalette(hDC, DEFAULT_PALETTE, TRUE);"},
        {OneField(kEmrSelectPalette, 0x80000000), "SelectPalette(hDC, DEFAULT_PALETTE, TRUE);"},
        {OneField(kEmrSelectPalette, 1), "SelectPalette(hDC, 1, TRUE);"},
        {OneField(kEmrSetIcmMode, 2), "SetICMMode(hDC, ICM_ON);"},
        {OneField(kEmrSetIcmMode, 0), "SetICMMode(hDC, 0);"},
        {OneField(kEmrSetColorSpace, 5), "SetColorSpace(hDC, 0x00000005);"},
        {OneField(kEmrDeleteColorSpace, 5), "DeleteColorSpace(0x00000005);"},
        {Pair(kEmrExtSelectClipRgn, 0, 5), "ExtSelectClipRgn(hDC, NULL, RGN_COPY | RGN_MAX);"}};
    for (const auto& c : cases) {
        EXPECT_EQ(Text(c.record), c.text);
        EXPECT_EQ(CallTextUtf8(c.record, 1), c.text);
    }
}

TEST(FormatMiterLimit, ReadsAStoredIntegerAsTheIntegerAndAnyOtherPatternAsAFloat) {
    EXPECT_EQ(Text(RecordBuilder(kEmrSetMiterLimit, 12).F32(8, 10.0f)),
              "SetMiterLimit(hDC, 10.000000, NULL);");
    EXPECT_EQ(Text(OneField(kEmrSetMiterLimit, 10)), "SetMiterLimit(hDC, 10.000000, NULL);");
    EXPECT_EQ(Text(OneField(kEmrSetMiterLimit, 0)), "SetMiterLimit(hDC, 0.000000, NULL);");
    EXPECT_EQ(Text(OneField(kEmrSetMiterLimit, 0x007FFFFF)),
              "SetMiterLimit(hDC, 8388607.000000, NULL);");
    EXPECT_EQ(Text(OneField(kEmrSetMiterLimit, 0x00800000)), "SetMiterLimit(hDC, 0.000000, NULL);");
    EXPECT_EQ(Text(OneField(kEmrSetMiterLimit, std::bit_cast<uint32_t>(-4.5f))),
              "SetMiterLimit(hDC, -4.500000, NULL);");
}

}  // namespace
