// Brush, extended pen and palette records.
#include <gtest/gtest.h>

#include <string>

#include "document/record_types.h"
#include "tests/support/call_text_utf8.h"

namespace {

// An EMR_EXTCREATEPEN of index 2, width 1, colour 0x00FF0000, hatch 3 and no style entries.
RecordBuilder ExtPen(uint32_t pen_style, uint32_t brush_style = 0) {
    RecordBuilder r(kEmrExtCreatePen, 52);
    r.U32(8, 2).U32(28, pen_style).U32(32, 1).U32(36, brush_style).U32(40, 0x00FF0000);
    return r.U32(44, 3).U32(48, 0);
}

// The pen-style argument of an extended pen.
std::string PenStyle(uint32_t pen_style) {
    const std::string text = CallTextUtf8(ExtPen(pen_style));
    const size_t begin = text.find('(') + 1;
    return text.substr(begin, text.find(", 1, lplb") - begin);
}

TEST(FormatCreateBrushIndirect, ListsTheLogicalBrushWhenVerbose) {
    RecordBuilder r(kEmrCreateBrushIndirect, 24);
    r.U32(8, 1).U32(12, 0).U32(16, 0x000000FF).U32(20, 0);
    const std::string line = "CreateBrushIndirect(&lb);    // EMRCREATEBRUSHINDIRECT.ihBrush = 1";
    EXPECT_EQ(CallTextUtf8(r, 0), line);
    EXPECT_EQ(CallTextUtf8(r, 1), line +
                                      "\r\n\t  // Parameter(s):\r\n\t  LOGBRUSH lb;\r\n\t  "
                                      "lb.lbStyle = BS_SOLID;\r\n\t  lb.lbColor = RGB(255, 0, "
                                      "0);\r\n\t  lb.lbHatch = 0;");
}

TEST(FormatExtCreatePen, CosmeticPenShowsOnlyItsColour) {
    EXPECT_EQ(CallTextUtf8(ExtPen(0), 0),
              "ExtCreatePen(PS_COSMETIC | PS_SOLID, 1, lplb, 0, lpStyle);\r\n\t  // "
              "EMREXTCREATEPEN.ihPen = 2");
    EXPECT_EQ(
        CallTextUtf8(ExtPen(0), 1),
        "ExtCreatePen(PS_COSMETIC | PS_SOLID, 1, lplb, 0, lpStyle);\r\n\t  // "
        "EMREXTCREATEPEN.ihPen = 2\r\n\t  // Parameter(s):\r\n\t  const LOGBRUSH* "
        "lplb;\r\n\t  lplb->lbStyle = BS_SOLID;\r\n\t  lplb->lbColor = RGB(0, 0, 255);\r\n\t  "
        "// Parameter(s):....");
}

TEST(FormatExtCreatePen, NamesTypeStyleAndForGeometricPensCapAndJoin) {
    EXPECT_EQ(PenStyle(0x00012200), "PS_GEOMETRIC | PS_SOLID | PS_ENDCAP_FLAT | PS_JOIN_MITER");
    EXPECT_EQ(PenStyle(0x00010300), "PS_GEOMETRIC | PS_SOLID | (EndCap)0x00000300 | PS_JOIN_ROUND");
    EXPECT_EQ(PenStyle(0x00000207), "PS_COSMETIC | PS_USERSTYLE");
    EXPECT_EQ(PenStyle(0x00020000), "(Type)0x00020000 | PS_SOLID");
    EXPECT_EQ(PenStyle(0xFFF3F00C), "(Type)0x00030000 | 0x0000000C");
}

TEST(FormatExtCreatePen, NonCosmeticPenListsItsBrush) {
    EXPECT_NE(CallTextUtf8(ExtPen(0x00020000, 2), 1)
                  .find("const LOGBRUSH* lplb;\r\n\t  lplb->lbStyle = BS_HATCHED;\r\n\t  "
                        "lplb->lbColor = RGB(0, 0, 255);\r\n\t  lplb->lbHatch = "
                        "HS_BDIAGONAL;\r\n\t  // Parameter(s):...."),
              std::string::npos);
    EXPECT_NE(CallTextUtf8(ExtPen(0x00010000, 3), 1)
                  .find("lplb->lbColor = (COLORREF)0x00FF0000 ████;\r\n\t  lplb->lbHatch = "
                        "0x00000003 ████;"),
              std::string::npos);
}

TEST(FormatCreatePalette, ListsThePaletteHeaderWhenVerbose) {
    RecordBuilder r(kEmrCreatePalette, 16);
    r.U32(8, 4).U16(12, 0x0300).U16(14, 16);
    const std::string line = "CreatePalette(lplgpl);    // EMRCREATEPALETTE.ihPal = 4";
    EXPECT_EQ(CallTextUtf8(r, 0), line);
    EXPECT_EQ(CallTextUtf8(r, 1), line +
                                      "\r\n\t  // Parameter(s):\r\n\t  CONST LOGPALETTE "
                                      "*lplgpl;\r\n\t  lplgpl->palVersion = 0x0300;\r\n\t  "
                                      "lplgpl->palNumEntries = 16;\r\n\t  "
                                      "lplgpl->palPalEntry[...]");
}

}  // namespace
