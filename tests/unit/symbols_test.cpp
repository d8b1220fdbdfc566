// The GDI constant tables and the naming of values through them.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "calls/symbols.h"
#include "tests/support/emf_builder.h"

namespace {

struct Pair {
    uint32_t value;
    std::string name;
};

struct ExpectedTable {
    const char* label;
    const SymbolTable* table;
    size_t length;
    std::vector<Pair> entries;
};

// Every table as the documented constants list it, in stored order. Kept apart from the code's
// own tables so that a slip in either shows as a mismatch.
// clang-format off
const ExpectedTable kExpectedTables[] = {
    {"pen-style", &kPenStyleSymbols, 9, {
        {0, "PS_SOLID"}, {1, "PS_DASH"}, {2, "PS_DOT"}, {3, "PS_DASHDOT"}, {4, "PS_DASHDOTDOT"},
        {5, "PS_NULL"}, {6, "PS_INSIDEFRAME"}, {7, "PS_USERSTYLE"}, {8, "PS_ALTERNATE"}}},
    {"brush-style", &kBrushStyleSymbols, 10, {
        {0, "BS_SOLID"}, {1, "BS_NULL | BS_HOLLOW"}, {2, "BS_HATCHED"}, {3, "BS_PATTERN"},
        {4, "BS_INDEXED"}, {5, "BS_DIBPATTERN"}, {6, "BS_DIBPATTERNPT"}, {7, "BS_PATTERN8X8"},
        {8, "BS_DIBPATTERN8X8"}, {9, "BS_MONOPATTERN"}}},
    {"hatch-style", &kHatchStyleSymbols, 6, {
        {0, "HS_HORIZONTAL"}, {1, "HS_VERTICAL"}, {2, "HS_FDIAGONAL"}, {3, "HS_BDIAGONAL"},
        {4, "HS_CROSS"}, {5, "HS_DIAGCROSS"}}},
    {"raster-op", &kRasterOpSymbols, 17, {
        {0xCC0020, "SRCCOPY"}, {0xEE0086, "SRCPAINT"}, {0x8800C6, "SRCAND"},
        {0x660046, "SRCINVERT"}, {0x440328, "SRCERASE"}, {0x330008, "NOTSRCCOPY"},
        {0x1100A6, "NOTSRCERASE"}, {0xC000CA, "MERGECOPY"}, {0xBB0226, "MERGEPAINT"},
        {0xF00021, "PATCOPY"}, {0xFB0A09, "PATPAINT"}, {0x5A0049, "PATINVERT"},
        {0x550009, "DSTINVERT"}, {0x42, "BLACKNESS"}, {0xFF0062, "WHITENESS"},
        {0x80000000, "CAPTUREBLT"}, {0x40000000, "NOMIRRORBITMAP"}}},
    {"region-mode", &kRegionModeSymbols, 5, {
        {1, "RGN_AND | RGN_MIN"}, {2, "RGN_OR"}, {3, "RGN_XOR"}, {4, "RGN_DIFF"},
        {5, "RGN_COPY | RGN_MAX"}}},
    {"background-mode", &kBackgroundModeSymbols, 2, {
        {2, "OPAQUE"}, {1, "TRANSPARENT"}}},
    {"map-mode", &kMapModeSymbols, 8, {
        {1, "MM_TEXT"}, {2, "MM_LOMETRIC"}, {3, "MM_HIMETRIC"}, {4, "MM_LOENGLISH"},
        {5, "MM_HIENGLISH"}, {6, "MM_TWIPS"}, {7, "MM_ISOTROPIC"}, {8, "MM_ANISOTROPIC"}}},
    {"text-align update", &kTextAlignUpdateSymbols, 2, {
        {0, "TA_NOUPDATECP"}, {1, "TA_UPDATECP"}}},
    {"text-align horizontal", &kTextAlignHorizontalSymbols, 3, {
        {0, "TA_LEFT"}, {2, "TA_RIGHT"}, {6, "TA_CENTER"}}},
    {"text-align vertical", &kTextAlignVerticalSymbols, 3, {
        {0, "TA_TOP"}, {8, "TA_BOTTOM"}, {24, "TA_BASELINE"}}},
    {"poly-fill-mode", &kPolyFillModeSymbols, 2, {
        {1, "ALTERNATE"}, {2, "WINDING"}}},
    {"stock-object", &kStockObjectSymbols, 16, {
        {0, "WHITE_BRUSH"}, {1, "LTGRAY_BRUSH"}, {2, "GRAY_BRUSH"}, {3, "DKGRAY_BRUSH"},
        {4, "BLACK_BRUSH"}, {5, "NULL_BRUSH | HOLLOW_BRUSH"}, {6, "WHITE_PEN"}, {7, "BLACK_PEN"},
        {8, "NULL_PEN"}, {10, "OEM_FIXED_FONT"}, {11, "ANSI_FIXED_FONT"}, {12, "ANSI_VAR_FONT"},
        {13, "SYSTEM_FONT"}, {14, "DEVICE_DEFAULT_FONT"}, {15, "DEFAULT_PALETTE"},
        {16, "SYSTEM_FIXED_FONT"}}},
    {"stretch-mode", &kStretchModeSymbols, 4, {
        {1, "BLACKONWHITE | STRETCH_ANDSCANS"}, {2, "WHITEONBLACK | STRETCH_ORSCANS"},
        {3, "COLORONCOLOR | STRETCH_DELETESCANS"}, {4, "HALFTONE | STRETCH_HALFTONE"}}},
    {"mix-mode", &kMixModeSymbols, 16, {
        {1, "R2_BLACK"}, {2, "R2_NOTMERGEPEN"}, {3, "R2_MASKNOTPEN"}, {4, "R2_NOTCOPYPEN"},
        {5, "R2_MASKPENNOT"}, {6, "R2_NOT"}, {7, "R2_XORPEN"}, {8, "R2_NOTMASKPEN"},
        {9, "R2_MASKPEN"}, {10, "R2_NOTXORPEN"}, {11, "R2_NOP"}, {12, "R2_MERGENOTPEN"},
        {13, "R2_COPYPEN"}, {14, "R2_MERGEPENNOT"}, {15, "R2_MERGEPEN"}, {16, "R2_WHITE"}}},
    {"font-weight", &kFontWeightSymbols, 10, {
        {0, "FW_DONTCARE"}, {100, "FW_THIN"}, {200, "FW_EXTRALIGHT | FW_ULTRALIGHT"},
        {300, "FW_LIGHT"}, {400, "FW_NORMAL | FW_REGULAR"}, {500, "FW_MEDIUM"},
        {600, "FW_SEMIBOLD | FW_DEMIBOLD"}, {700, "FW_BOLD"}, {800, "FW_EXTRABOLD | FW_ULTRABOLD"},
        {900, "FW_BLACK | FW_HEAVY"}}},
    {"character-set", &kCharSetSymbols, 19, {
        {0, "ANSI_CHARSET"}, {1, "DEFAULT_CHARSET"}, {2, "SYMBOL_CHARSET"},
        {128, "SHIFTJIS_CHARSET"}, {129, "HANGUL_CHARSET"}, {134, "GB2312_CHARSET"},
        {136, "CHINESEBIG5_CHARSET"}, {255, "OEM_CHARSET"}, {130, "JOHAB_CHARSET"},
        {177, "HEBREW_CHARSET"}, {178, "ARABIC_CHARSET"}, {161, "GREEK_CHARSET"},
        {162, "TURKISH_CHARSET"}, {163, "VIETNAMESE_CHARSET"}, {222, "THAI_CHARSET"},
        {238, "EASTEUROPE_CHARSET"}, {204, "RUSSIAN_CHARSET"}, {77, "MAC_CHARSET"},
        {186, "BALTIC_CHARSET"}}},
    {"output-precision", &kOutPrecisionSymbols, 11, {
        {0, "OUT_DEFAULT_PRECIS"}, {1, "OUT_STRING_PRECIS"}, {2, "OUT_CHARACTER_PRECIS"},
        {3, "OUT_STROKE_PRECIS"}, {4, "OUT_TT_PRECIS"}, {5, "OUT_DEVICE_PRECIS"},
        {6, "OUT_RASTER_PRECIS"}, {7, "OUT_TT_ONLY_PRECIS"}, {8, "OUT_OUTLINE_PRECIS"},
        {9, "OUT_SCREEN_OUTLINE_PRECIS"}, {10, "OUT_PS_ONLY_PRECIS"}}},
    {"clip-precision", &kClipPrecisionSymbols, 7, {
        {0, "CLIP_DEFAULT_PRECIS"}, {1, "CLIP_CHARACTER_PRECIS"}, {2, "CLIP_STROKE_PRECIS"},
        {15, "CLIP_MASK"}, {16, "CLIP_LH_ANGLES"}, {32, "CLIP_TT_ALWAYS"}, {128, "CLIP_EMBEDDED"}}},
    {"font-quality", &kFontQualitySymbols, 6, {
        {0, "DEFAULT_QUALITY"}, {1, "DRAFT_QUALITY"}, {2, "PROOF_QUALITY"},
        {3, "NONANTIALIASED_QUALITY"}, {4, "ANTIALIASED_QUALITY"}, {5, "CLEARTYPE_QUALITY"}}},
    {"pitch", &kPitchSymbols, 4, {
        {0, "DEFAULT_PITCH"}, {1, "FIXED_PITCH"}, {2, "VARIABLE_PITCH"}, {8, "MONO_FONT"}}},
    {"font-family", &kFontFamilySymbols, 6, {
        {0, "FF_DONTCARE"}, {16, "FF_ROMAN"}, {32, "FF_SWISS"}, {48, "FF_MODERN"},
        {64, "FF_SCRIPT"}, {80, "FF_DECORATIVE"}}},
    {"ICM-mode", &kIcmModeSymbols, 4, {
        {1, "ICM_OFF"}, {2, "ICM_ON"}, {3, "ICM_QUERY"}, {4, "ICM_DONE_OUTSIDEDC"}}},
    {"world-transform-mode", &kWorldTransformModeSymbols, 3, {
        {1, "MWT_IDENTITY"}, {2, "MWT_LEFTMULTIPLY"}, {3, "MWT_RIGHTMULTIPLY"}}},
    {"pen-type", &kPenTypeSymbols, 2, {
        {0x0, "PS_COSMETIC"}, {0x10000, "PS_GEOMETRIC"}}},
    {"end-cap", &kEndCapSymbols, 3, {
        {0x0, "PS_ENDCAP_ROUND"}, {0x100, "PS_ENDCAP_SQUARE"}, {0x200, "PS_ENDCAP_FLAT"}}},
    {"line-join", &kLineJoinSymbols, 3, {
        {0x0, "PS_JOIN_ROUND"}, {0x1000, "PS_JOIN_BEVEL"}, {0x2000, "PS_JOIN_MITER"}}},
    {"DIB-usage", &kDibUsageSymbols, 2, {
        {0, "DIB_RGB_COLORS"}, {1, "DIB_PAL_COLORS"}}},
    {"flood-fill-mode", &kFloodFillModeSymbols, 2, {
        {0, "FLOODFILLBORDER"}, {1, "FLOODFILLSURFACE"}}},
};
// clang-format on

std::string Name(const SymbolTable& table, uint32_t key, const char16_t* fallback) {
    FixedWideText<64> out;
    LookupSymbol(table, key, fallback, out);
    return ToUtf8(out.view());
}

TEST(SymbolTables, EveryTableHoldsTheDocumentedEntriesInStoredOrder) {
    for (const ExpectedTable& expected : kExpectedTables) {
        SCOPED_TRACE(expected.label);
        ASSERT_EQ(expected.entries.size(), expected.length);
        ASSERT_EQ(expected.table->count, expected.length);
        for (size_t i = 0; i < expected.length; ++i) {
            SCOPED_TRACE(i);
            EXPECT_EQ(expected.table->entries[i].value, expected.entries[i].value);
            EXPECT_EQ(ToUtf8(expected.table->entries[i].name), expected.entries[i].name);
        }
    }
}

TEST(LookupSymbol, NamesComeFromTheTableAskedAndAliasesPrintWhole) {
    EXPECT_EQ(Name(kBackgroundModeSymbols, 1, u"0x%08X"), "TRANSPARENT");
    EXPECT_EQ(Name(kMapModeSymbols, 1, u"0x%08X"), "MM_TEXT");
    EXPECT_EQ(Name(kStretchModeSymbols, 3, u"0x%08X"), "COLORONCOLOR | STRETCH_DELETESCANS");
    EXPECT_EQ(Name(kStockObjectSymbols, 5, u"0x%08X"), "NULL_BRUSH | HOLLOW_BRUSH");
}

TEST(LookupSymbol, MissingValuesPrintTheFallbackWithTheKey) {
    EXPECT_EQ(Name(kBackgroundModeSymbols, 3, u"0x%08X"), "0x00000003");
    EXPECT_EQ(Name(kPitchSymbols, 4, u"__unknown pitch:%d__"), "__unknown pitch:4__");
    EXPECT_EQ(Name(kCharSetSymbols, 254, u"%d"), "254");
    EXPECT_EQ(Name(kClipPrecisionSymbols, 0x12, u"%d"), "18");
    EXPECT_EQ(Name(kEndCapSymbols, 0x300, u"(EndCap)0x%08X"), "(EndCap)0x00000300");
    EXPECT_EQ(Name(kPenTypeSymbols, 0x20000, u"(Type)0x%08X"), "(Type)0x00020000");
    EXPECT_EQ(Name(kStockObjectSymbols, 9, u"0x%08X"), "0x00000009");
    // A match needs all 32 bits: a value with a stray high bit is not its low part.
    EXPECT_EQ(Name(kMapModeSymbols, 0x80000001, u"0x%08X"), "0x80000001");
}

TEST(LookupSymbol, ReportsWhetherANameWasFoundAndReplacesTheOutput) {
    FixedWideText<64> out;
    out.Append(u"left over");
    EXPECT_EQ(LookupSymbol(kMixModeSymbols, 13, u"0x%08X", out), 1);
    EXPECT_EQ(ToUtf8(out.view()), "R2_COPYPEN");
    EXPECT_EQ(LookupSymbol(kMixModeSymbols, 0, u"0x%08X", out), 0);
    EXPECT_EQ(ToUtf8(out.view()), "0x00000000");
}

TEST(NameValues, PenStyleRasterOpAndRegionModeUseHexadecimalFallbacks) {
    FixedWideText<64> out;
    EXPECT_EQ(NamePenStyle(out, 6), 14u);
    EXPECT_EQ(ToUtf8(out.view()), "PS_INSIDEFRAME");
    NamePenStyle(out, 0x10000);
    EXPECT_EQ(ToUtf8(out.view()), "0x00010000");
    NameBrushStyle(out, 1);
    EXPECT_EQ(ToUtf8(out.view()), "BS_NULL | BS_HOLLOW");
    NameRasterOp(out, 0xCC0020);
    EXPECT_EQ(ToUtf8(out.view()), "SRCCOPY");
    EXPECT_EQ(NameRasterOp(out, 0), 10u);
    EXPECT_EQ(ToUtf8(out.view()), "0x00000000");
    NameRegionMode(out, 5);
    EXPECT_EQ(ToUtf8(out.view()), "RGN_COPY | RGN_MAX");
    NameRegionMode(out, 0xFFFFFFFF);
    EXPECT_EQ(ToUtf8(out.view()), "0xFFFFFFFF");
}

std::string BrushColor(uint32_t color, uint32_t style) {
    FixedWideText<64> out;
    const size_t length = NameBrushColor(out, color, style);
    EXPECT_EQ(length, out.size());
    return ToUtf8(out.view());
}

std::string BrushHatch(uint32_t hatch, uint32_t style) {
    FixedWideText<64> out;
    const size_t length = NameBrushHatch(out, hatch, style);
    EXPECT_EQ(length, out.size());
    return ToUtf8(out.view());
}

TEST(NameBrushColor, ReadsTheColourAsTheBrushStyleAllows) {
    EXPECT_EQ(BrushColor(0x00FF8040, 0), "RGB(64, 128, 255)");
    EXPECT_EQ(BrushColor(0xAAFF8040, 2), "RGB(64, 128, 255)");
    EXPECT_EQ(BrushColor(0x00FF8040, 1), "(COLORREF)0");
    EXPECT_EQ(BrushColor(0x00FF8040, 3), "(COLORREF)0x00FF8040 ████");
    EXPECT_EQ(BrushColor(0x00FF8040, 0xFFFFFFFF), "(COLORREF)0x00FF8040 ████");
}

TEST(NameBrushHatch, NamesTheHatchOfHatchedBrushesOnly) {
    EXPECT_EQ(BrushHatch(3, 0), "0");
    EXPECT_EQ(BrushHatch(3, 1), "0");
    EXPECT_EQ(BrushHatch(3, 2), "HS_BDIAGONAL");
    EXPECT_EQ(BrushHatch(9, 2), "0x00000009");
    EXPECT_EQ(BrushHatch(3, 5), "0x00000003 ████");
    EXPECT_EQ(BrushHatch(3, 0x80000000), "0x00000003 ████");
}

}  // namespace
