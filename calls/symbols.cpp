// The GDI constant tables and the naming of values through them.
#include "calls/symbols.h"

namespace {

// The pen-style table.
constexpr SymbolEntry kPenStyleEntries[] = {
    {0, u"PS_SOLID"},       {1, u"PS_DASH"},       {2, u"PS_DOT"},
    {3, u"PS_DASHDOT"},     {4, u"PS_DASHDOTDOT"}, {5, u"PS_NULL"},
    {6, u"PS_INSIDEFRAME"}, {7, u"PS_USERSTYLE"},  {8, u"PS_ALTERNATE"},
};
// The brush-style table.
constexpr SymbolEntry kBrushStyleEntries[] = {
    {0, u"BS_SOLID"},        {1, u"BS_NULL | BS_HOLLOW"}, {2, u"BS_HATCHED"},
    {3, u"BS_PATTERN"},      {4, u"BS_INDEXED"},          {5, u"BS_DIBPATTERN"},
    {6, u"BS_DIBPATTERNPT"}, {7, u"BS_PATTERN8X8"},       {8, u"BS_DIBPATTERN8X8"},
    {9, u"BS_MONOPATTERN"},
};
// The hatch-style table.
constexpr SymbolEntry kHatchStyleEntries[] = {
    {0, u"HS_HORIZONTAL"}, {1, u"HS_VERTICAL"}, {2, u"HS_FDIAGONAL"},
    {3, u"HS_BDIAGONAL"},  {4, u"HS_CROSS"},    {5, u"HS_DIAGCROSS"},
};
// The raster-op table.
constexpr SymbolEntry kRasterOpEntries[] = {
    {0xCC0020, u"SRCCOPY"},          {0xEE0086, u"SRCPAINT"},
    {0x8800C6, u"SRCAND"},           {0x660046, u"SRCINVERT"},
    {0x440328, u"SRCERASE"},         {0x330008, u"NOTSRCCOPY"},
    {0x1100A6, u"NOTSRCERASE"},      {0xC000CA, u"MERGECOPY"},
    {0xBB0226, u"MERGEPAINT"},       {0xF00021, u"PATCOPY"},
    {0xFB0A09, u"PATPAINT"},         {0x5A0049, u"PATINVERT"},
    {0x550009, u"DSTINVERT"},        {0x42, u"BLACKNESS"},
    {0xFF0062, u"WHITENESS"},        {0x80000000, u"CAPTUREBLT"},
    {0x40000000, u"NOMIRRORBITMAP"},
};
// The region-mode table.
constexpr SymbolEntry kRegionModeEntries[] = {
    {1, u"RGN_AND | RGN_MIN"},  {2, u"RGN_OR"}, {3, u"RGN_XOR"}, {4, u"RGN_DIFF"},
    {5, u"RGN_COPY | RGN_MAX"},
};
// The background-mode table.
constexpr SymbolEntry kBackgroundModeEntries[] = {
    {2, u"OPAQUE"},
    {1, u"TRANSPARENT"},
};
// The map-mode table.
constexpr SymbolEntry kMapModeEntries[] = {
    {1, u"MM_TEXT"},      {2, u"MM_LOMETRIC"}, {3, u"MM_HIMETRIC"},  {4, u"MM_LOENGLISH"},
    {5, u"MM_HIENGLISH"}, {6, u"MM_TWIPS"},    {7, u"MM_ISOTROPIC"}, {8, u"MM_ANISOTROPIC"},
};
// The text-align update table.
constexpr SymbolEntry kTextAlignUpdateEntries[] = {
    {0, u"TA_NOUPDATECP"},
    {1, u"TA_UPDATECP"},
};
// The text-align horizontal table.
constexpr SymbolEntry kTextAlignHorizontalEntries[] = {
    {0, u"TA_LEFT"},
    {2, u"TA_RIGHT"},
    {6, u"TA_CENTER"},
};
// The text-align vertical table.
constexpr SymbolEntry kTextAlignVerticalEntries[] = {
    {0, u"TA_TOP"},
    {8, u"TA_BOTTOM"},
    {24, u"TA_BASELINE"},
};
// The poly-fill-mode table.
constexpr SymbolEntry kPolyFillModeEntries[] = {
    {1, u"ALTERNATE"},
    {2, u"WINDING"},
};
// The stock-object table.
constexpr SymbolEntry kStockObjectEntries[] = {
    {0, u"WHITE_BRUSH"},      {1, u"LTGRAY_BRUSH"},
    {2, u"GRAY_BRUSH"},       {3, u"DKGRAY_BRUSH"},
    {4, u"BLACK_BRUSH"},      {5, u"NULL_BRUSH | HOLLOW_BRUSH"},
    {6, u"WHITE_PEN"},        {7, u"BLACK_PEN"},
    {8, u"NULL_PEN"},         {10, u"OEM_FIXED_FONT"},
    {11, u"ANSI_FIXED_FONT"}, {12, u"ANSI_VAR_FONT"},
    {13, u"SYSTEM_FONT"},     {14, u"DEVICE_DEFAULT_FONT"},
    {15, u"DEFAULT_PALETTE"}, {16, u"SYSTEM_FIXED_FONT"},
};
// The stretch-mode table.
constexpr SymbolEntry kStretchModeEntries[] = {
    {1, u"BLACKONWHITE | STRETCH_ANDSCANS"},
    {2, u"WHITEONBLACK | STRETCH_ORSCANS"},
    {3, u"COLORONCOLOR | STRETCH_DELETESCANS"},
    {4, u"HALFTONE | STRETCH_HALFTONE"},
};
// The mix-mode table.
constexpr SymbolEntry kMixModeEntries[] = {
    {1, u"R2_BLACK"},      {2, u"R2_NOTMERGEPEN"},  {3, u"R2_MASKNOTPEN"}, {4, u"R2_NOTCOPYPEN"},
    {5, u"R2_MASKPENNOT"}, {6, u"R2_NOT"},          {7, u"R2_XORPEN"},     {8, u"R2_NOTMASKPEN"},
    {9, u"R2_MASKPEN"},    {10, u"R2_NOTXORPEN"},   {11, u"R2_NOP"},       {12, u"R2_MERGENOTPEN"},
    {13, u"R2_COPYPEN"},   {14, u"R2_MERGEPENNOT"}, {15, u"R2_MERGEPEN"},  {16, u"R2_WHITE"},
};
// The font-weight table.
constexpr SymbolEntry kFontWeightEntries[] = {
    {0, u"FW_DONTCARE"},
    {100, u"FW_THIN"},
    {200, u"FW_EXTRALIGHT | FW_ULTRALIGHT"},
    {300, u"FW_LIGHT"},
    {400, u"FW_NORMAL | FW_REGULAR"},
    {500, u"FW_MEDIUM"},
    {600, u"FW_SEMIBOLD | FW_DEMIBOLD"},
    {700, u"FW_BOLD"},
    {800, u"FW_EXTRABOLD | FW_ULTRABOLD"},
    {900, u"FW_BLACK | FW_HEAVY"},
};
// The character-set table.
constexpr SymbolEntry kCharSetEntries[] = {
    {0, u"ANSI_CHARSET"},          {1, u"DEFAULT_CHARSET"},      {2, u"SYMBOL_CHARSET"},
    {128, u"SHIFTJIS_CHARSET"},    {129, u"HANGUL_CHARSET"},     {134, u"GB2312_CHARSET"},
    {136, u"CHINESEBIG5_CHARSET"}, {255, u"OEM_CHARSET"},        {130, u"JOHAB_CHARSET"},
    {177, u"HEBREW_CHARSET"},      {178, u"ARABIC_CHARSET"},     {161, u"GREEK_CHARSET"},
    {162, u"TURKISH_CHARSET"},     {163, u"VIETNAMESE_CHARSET"}, {222, u"THAI_CHARSET"},
    {238, u"EASTEUROPE_CHARSET"},  {204, u"RUSSIAN_CHARSET"},    {77, u"MAC_CHARSET"},
    {186, u"BALTIC_CHARSET"},
};
// The output-precision table.
constexpr SymbolEntry kOutPrecisionEntries[] = {
    {0, u"OUT_DEFAULT_PRECIS"},        {1, u"OUT_STRING_PRECIS"},   {2, u"OUT_CHARACTER_PRECIS"},
    {3, u"OUT_STROKE_PRECIS"},         {4, u"OUT_TT_PRECIS"},       {5, u"OUT_DEVICE_PRECIS"},
    {6, u"OUT_RASTER_PRECIS"},         {7, u"OUT_TT_ONLY_PRECIS"},  {8, u"OUT_OUTLINE_PRECIS"},
    {9, u"OUT_SCREEN_OUTLINE_PRECIS"}, {10, u"OUT_PS_ONLY_PRECIS"},
};
// The clip-precision table.
constexpr SymbolEntry kClipPrecisionEntries[] = {
    {0, u"CLIP_DEFAULT_PRECIS"}, {1, u"CLIP_CHARACTER_PRECIS"}, {2, u"CLIP_STROKE_PRECIS"},
    {15, u"CLIP_MASK"},          {16, u"CLIP_LH_ANGLES"},       {32, u"CLIP_TT_ALWAYS"},
    {128, u"CLIP_EMBEDDED"},
};
// The font-quality table.
constexpr SymbolEntry kFontQualityEntries[] = {
    {0, u"DEFAULT_QUALITY"},        {1, u"DRAFT_QUALITY"},       {2, u"PROOF_QUALITY"},
    {3, u"NONANTIALIASED_QUALITY"}, {4, u"ANTIALIASED_QUALITY"}, {5, u"CLEARTYPE_QUALITY"},
};
// The pitch table.
constexpr SymbolEntry kPitchEntries[] = {
    {0, u"DEFAULT_PITCH"},
    {1, u"FIXED_PITCH"},
    {2, u"VARIABLE_PITCH"},
    {8, u"MONO_FONT"},
};
// The font-family table.
constexpr SymbolEntry kFontFamilyEntries[] = {
    {0, u"FF_DONTCARE"}, {16, u"FF_ROMAN"},  {32, u"FF_SWISS"},
    {48, u"FF_MODERN"},  {64, u"FF_SCRIPT"}, {80, u"FF_DECORATIVE"},
};
// The ICM-mode table.
constexpr SymbolEntry kIcmModeEntries[] = {
    {1, u"ICM_OFF"},
    {2, u"ICM_ON"},
    {3, u"ICM_QUERY"},
    {4, u"ICM_DONE_OUTSIDEDC"},
};
// The world-transform-mode table.
constexpr SymbolEntry kWorldTransformModeEntries[] = {
    {1, u"MWT_IDENTITY"},
    {2, u"MWT_LEFTMULTIPLY"},
    {3, u"MWT_RIGHTMULTIPLY"},
};
// The pen-type table.
constexpr SymbolEntry kPenTypeEntries[] = {
    {0x0, u"PS_COSMETIC"},
    {0x10000, u"PS_GEOMETRIC"},
};
// The end-cap table.
constexpr SymbolEntry kEndCapEntries[] = {
    {0x0, u"PS_ENDCAP_ROUND"},
    {0x100, u"PS_ENDCAP_SQUARE"},
    {0x200, u"PS_ENDCAP_FLAT"},
};
// The line-join table.
constexpr SymbolEntry kLineJoinEntries[] = {
    {0x0, u"PS_JOIN_ROUND"},
    {0x1000, u"PS_JOIN_BEVEL"},
    {0x2000, u"PS_JOIN_MITER"},
};
// The DIB-usage table.
constexpr SymbolEntry kDibUsageEntries[] = {
    {0, u"DIB_RGB_COLORS"},
    {1, u"DIB_PAL_COLORS"},
};
// The flood-fill-mode table.
constexpr SymbolEntry kFloodFillModeEntries[] = {
    {0, u"FLOODFILLBORDER"},
    {1, u"FLOODFILLSURFACE"},
};

template <size_t N>
constexpr SymbolTable MakeTable(const SymbolEntry (&entries)[N]) {
    return SymbolTable{entries, N};
}

}  // namespace

const SymbolTable kPenStyleSymbols = MakeTable(kPenStyleEntries);
const SymbolTable kBrushStyleSymbols = MakeTable(kBrushStyleEntries);
const SymbolTable kHatchStyleSymbols = MakeTable(kHatchStyleEntries);
const SymbolTable kRasterOpSymbols = MakeTable(kRasterOpEntries);
const SymbolTable kRegionModeSymbols = MakeTable(kRegionModeEntries);
const SymbolTable kBackgroundModeSymbols = MakeTable(kBackgroundModeEntries);
const SymbolTable kMapModeSymbols = MakeTable(kMapModeEntries);
const SymbolTable kTextAlignUpdateSymbols = MakeTable(kTextAlignUpdateEntries);
const SymbolTable kTextAlignHorizontalSymbols = MakeTable(kTextAlignHorizontalEntries);
const SymbolTable kTextAlignVerticalSymbols = MakeTable(kTextAlignVerticalEntries);
const SymbolTable kPolyFillModeSymbols = MakeTable(kPolyFillModeEntries);
const SymbolTable kStockObjectSymbols = MakeTable(kStockObjectEntries);
const SymbolTable kStretchModeSymbols = MakeTable(kStretchModeEntries);
const SymbolTable kMixModeSymbols = MakeTable(kMixModeEntries);
const SymbolTable kFontWeightSymbols = MakeTable(kFontWeightEntries);
const SymbolTable kCharSetSymbols = MakeTable(kCharSetEntries);
const SymbolTable kOutPrecisionSymbols = MakeTable(kOutPrecisionEntries);
const SymbolTable kClipPrecisionSymbols = MakeTable(kClipPrecisionEntries);
const SymbolTable kFontQualitySymbols = MakeTable(kFontQualityEntries);
const SymbolTable kPitchSymbols = MakeTable(kPitchEntries);
const SymbolTable kFontFamilySymbols = MakeTable(kFontFamilyEntries);
const SymbolTable kIcmModeSymbols = MakeTable(kIcmModeEntries);
const SymbolTable kWorldTransformModeSymbols = MakeTable(kWorldTransformModeEntries);
const SymbolTable kPenTypeSymbols = MakeTable(kPenTypeEntries);
const SymbolTable kEndCapSymbols = MakeTable(kEndCapEntries);
const SymbolTable kLineJoinSymbols = MakeTable(kLineJoinEntries);
const SymbolTable kDibUsageSymbols = MakeTable(kDibUsageEntries);
const SymbolTable kFloodFillModeSymbols = MakeTable(kFloodFillModeEntries);

int LookupSymbol(const SymbolTable& table, uint32_t key, const char16_t* fallback, WideText& out) {
    out.Clear();
    for (size_t i = 0; i < table.count; ++i) {
        if (table.entries[i].value == key) {
            out.Append(table.entries[i].name);
            return 1;
        }
    }
    out.Print(fallback, key);
    return 0;
}

size_t NamePenStyle(WideText& out, uint32_t style) {
    LookupSymbol(kPenStyleSymbols, style, u"0x%08X", out);
    return out.size();
}

size_t NameBrushStyle(WideText& out, uint32_t style) {
    LookupSymbol(kBrushStyleSymbols, style, u"0x%08X", out);
    return out.size();
}

size_t NameBrushColor(WideText& out, uint32_t color, uint32_t brush_style) {
    out.Clear();
    if (brush_style == 0 || brush_style == 2) {
        out.Print(u"RGB(%d, %d, %d)", color & 0xFF, (color >> 8) & 0xFF, (color >> 16) & 0xFF);
    } else if (brush_style == 1) {
        out.Append(u"(COLORREF)0");
    } else {
        out.Print(u"(COLORREF)0x%08X \u2588\u2588\u2588\u2588", color);
    }
    return out.size();
}

size_t NameBrushHatch(WideText& out, uint32_t hatch, uint32_t brush_style) {
    out.Clear();
    if (brush_style == 0 || brush_style == 1) {
        out.Append(u"0");
    } else if (brush_style == 2) {
        LookupSymbol(kHatchStyleSymbols, hatch, u"0x%08X", out);
    } else {
        out.Print(u"0x%08X \u2588\u2588\u2588\u2588", hatch);
    }
    return out.size();
}

size_t NameRasterOp(WideText& out, uint32_t rop) {
    LookupSymbol(kRasterOpSymbols, rop, u"0x%08X", out);
    return out.size();
}

size_t NameRegionMode(WideText& out, uint32_t mode) {
    LookupSymbol(kRegionModeSymbols, mode, u"0x%08X", out);
    return out.size();
}
