// Bitmap records: block transfers, DIB stretches and pattern brushes.
#include <gtest/gtest.h>

#include <string>

#include "document/record_types.h"
#include "tests/support/call_text_utf8.h"

namespace {

const std::string kHeaderBlock =
    "\r\n\t  lpBMIH->biSize = 40;\r\n\t  lpBMIH->biWidth = 8;\r\n\t  lpBMIH->biHeight = "
    "-4;\r\n\t  lpBMIH->biPlanes = 65535;\r\n\t  lpBMIH->biBitCount = 24;\r\n\t  "
    "lpBMIH->biCompression = 0;\r\n\t  lpBMIH->biSizeImage = 96;\r\n\t  lpBMIH->biXPelsPerMeter = "
    "0;\r\n\t  lpBMIH->biYPelsPerMeter = 0;\r\n\t  lpBMIH->biClrUsed = 0;\r\n\t  "
    "lpBMIH->biClrImportant = 0;";

// Writes the bitmap header that kHeaderBlock lists at `offset`; its 16-bit fields read unsigned.
RecordBuilder& PutHeader(RecordBuilder& r, uint32_t offset) {
    return r.U32(offset, 40)
        .I32(offset + 4, 8)
        .I32(offset + 8, -4)
        .U16(offset + 12, 0xFFFF)
        .U16(offset + 14, 24)
        .U32(offset + 20, 96)
        .U32(offset + 36, 0);
}

RecordBuilder Blt(uint32_t type, uint32_t rop) {
    RecordBuilder r(type, 100);
    r.I32(24, 1).I32(28, 2).I32(32, 100).I32(36, 50).U32(40, rop).I32(44, 3).I32(48, 4);
    if (type != kEmrBitBlt) {
        r.Resize(108).I32(100, 5).I32(104, 6);
    }
    return r;
}

RecordBuilder StretchDIBits(uint32_t usage) {
    RecordBuilder r(kEmrStretchDiBits, 80);
    r.I32(24, 1).I32(28, 2).I32(32, 3).I32(36, 4).I32(40, 5).I32(44, 6).U32(48, 80);
    r.U32(64, usage).U32(68, 0x00CC0020).I32(72, 7).I32(76, 8);
    return PutHeader(r, 80);
}

RecordBuilder PatternBrush(uint32_t type) {
    RecordBuilder r(type, 32);
    r.U32(8, 3).U32(12, 1).U32(16, 32);
    return PutHeader(r, 32);
}

TEST(FormatBlt, PrintsTheTransferAndAMarkerWhenVerbose) {
    RecordBuilder bit_blt(kEmrBitBlt, 100);
    bit_blt.I32(32, 100).I32(36, 50).U32(40, 0x00CC0020);
    EXPECT_EQ(CallTextUtf8(bit_blt, 1),
              "BitBlt(hDC, 0, 0, 100, 50, hdcSrc, 0, 0, SRCCOPY);\r\n\t  // Parameter(s):██");
    EXPECT_EQ(CallTextUtf8(bit_blt, 0), "BitBlt(hDC, 0, 0, 100, 50, hdcSrc, 0, 0, SRCCOPY);");

    EXPECT_EQ(CallTextUtf8(Blt(kEmrStretchBlt, 0x00CC0021), 0),
              "StretchBlt(hDC, 1, 2, 100, 50, hdcSrc, 3, 4, 5, 6, 0x00CC0021);");
    EXPECT_EQ(CallTextUtf8(Blt(kEmrMaskBlt, 0xAACC0020), 1),
              "MaskBlt(hDC, 1, 2, 100, 50, hdcSrc, 3, 4, hbmMask, 5, 6, 0xAACC0020);\r\n\t  // "
              "Parameter(s):██");
}

TEST(FormatBlt, PlgBltListsItsThreeCornersWhenVerbose) {
    RecordBuilder r(kEmrPlgBlt, 140);
    r.I32(24, 70000).I32(28, -5).I32(32, 1).I32(36, 2).I32(40, 3).I32(44, 4);
    r.I32(48, 10).I32(52, 11).I32(56, 12).I32(60, 13).I32(112, 14).I32(116, 15);
    const std::string line = "PlgBlt(hDCDest, lpPoint, hDCSrc, 10, 11, 12, 13, hBMMask, 14, 15);";
    EXPECT_EQ(CallTextUtf8(r, 0), line);
    EXPECT_EQ(CallTextUtf8(r, 1), line +
                                      "\r\n\t  // Parameter(s):\r\n\t  const POINT* lpPoint;\r\n\t "
                                      " lpPoint[0] = (70000, -5);\r\n\t  lpPoint[1] = (1, "
                                      "2);\r\n\t  lpPoint[2] = (3, 4);\r\n\t  // Parameter(s):██");
}

TEST(FormatStretchDIBits, PrintsDestinationSizeSecondAndTheHeaderWhenVerbose) {
    const std::string line =
        "StretchDIBits(hDC, 1, 2, 7, 8, 3, 4, 5, 6, lpBits, lpBitsInfo, DIB_RGB_COLORS, SRCCOPY);";
    EXPECT_EQ(CallTextUtf8(StretchDIBits(0), 0), line);
    EXPECT_EQ(CallTextUtf8(StretchDIBits(0), 1),
              line +
                  "\r\n\t  // Parameter(s):\r\n\t  const BITMAPINFO* lpBitsInfo;\r\n\t  const "
                  "BITMAPINFOHEADER* lpBMIH = &(lpBitsInfo->bmiHeader);" +
                  kHeaderBlock);
    EXPECT_NE(CallTextUtf8(StretchDIBits(1)).find(", DIB_PAL_COLORS, SRCCOPY);"),
              std::string::npos);
    EXPECT_NE(CallTextUtf8(StretchDIBits(2)).find(", 2, SRCCOPY);"), std::string::npos);
}

TEST(FormatPatternBrush, PrintsTheBrushAndItsHeaderWhenVerbose) {
    EXPECT_EQ(CallTextUtf8(PatternBrush(kEmrCreateMonoBrush), 0),
              "CreatePatternBrush(hbmp);\t// or CreateDIBPatternBrush. ihBrush = 3");
    EXPECT_EQ(CallTextUtf8(PatternBrush(kEmrCreateMonoBrush), 1),
              "CreatePatternBrush(hbmp);\t// or CreateDIBPatternBrush. ihBrush = 3\r\n\t  // "
              "Parameter(s):\r\n\t  const BITMAPINFOHEADER* lpBMIH;" +
                  kHeaderBlock);
    EXPECT_EQ(CallTextUtf8(PatternBrush(kEmrCreateDibPatternBrushPt), 0),
              "CreateDIBPatternBrushPt(lpPackedDIB, DIB_PAL_COLORS);");
    EXPECT_EQ(CallTextUtf8(PatternBrush(kEmrCreateDibPatternBrushPt), 1),
              "CreateDIBPatternBrushPt(lpPackedDIB, DIB_PAL_COLORS);\r\n\t  // "
              "Parameter(s):\r\n\t  const BITMAPINFO* lpBMPInfo = (const "
              "BITMAPINFO*)lpPackedDIB;\r\n\t  const BITMAPINFOHEADER* lpBMIH = "
              "&(lpBMPInfo->bmiHeader);" +
                  kHeaderBlock);
}

TEST(FormatBitmapHeader, HeaderNotInsideTheRecordIsNotedNotRead) {
    const std::string note = "\r\n\t  // BITMAPINFOHEADER is beyond the record...";
    for (uint32_t offset : {0xFFFFFFF0u, 81u, 72u}) {
        RecordBuilder dib = StretchDIBits(0);
        dib.U32(48, offset).NSize(111);  // the header at 80 no longer fits
        const std::string text = CallTextUtf8(dib, 1);
        EXPECT_EQ(text.substr(text.size() - note.size()), note) << offset;
    }
    RecordBuilder mono = PatternBrush(kEmrCreateMonoBrush);
    mono.U32(16, 0x7FFFFFFF);
    EXPECT_NE(CallTextUtf8(mono, 1).find("lpBMIH;" + note), std::string::npos);
    RecordBuilder dib_brush = PatternBrush(kEmrCreateDibPatternBrushPt);
    dib_brush.NSize(71);
    EXPECT_NE(CallTextUtf8(dib_brush, 1).find("bmiHeader);" + note), std::string::npos);
}

}  // namespace
