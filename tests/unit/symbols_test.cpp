// The GDI constant tables and the naming of values through them.
#include <gtest/gtest.h>

#include <algorithm>
#include <set>
#include <string>

#include "calls/symbols.h"
#include "tests/support/emf_builder.h"

namespace {

// Each table's names share a prefix and a suffix; an entry may list aliases with " | ".
struct TablePattern {
    const char* label;
    const SymbolTable* table;
    const char* prefix;
    const char* suffix;
};

const TablePattern kTables[] = {{"pen-style", &kPenStyleSymbols, "PS_", ""},
                                {"brush-style", &kBrushStyleSymbols, "BS_", ""},
                                {"hatch-style", &kHatchStyleSymbols, "HS_", ""},
                                {"raster-op", &kRasterOpSymbols, "", ""},
                                {"region-mode", &kRegionModeSymbols, "RGN_", ""},
                                {"background-mode", &kBackgroundModeSymbols, "", ""},
                                {"map-mode", &kMapModeSymbols, "MM_", ""},
                                {"text-align update", &kTextAlignUpdateSymbols, "TA_", "CP"},
                                {"text-align horizontal", &kTextAlignHorizontalSymbols, "TA_", ""},
                                {"text-align vertical", &kTextAlignVerticalSymbols, "TA_", ""},
                                {"poly-fill-mode", &kPolyFillModeSymbols, "", ""},
                                {"stock-object", &kStockObjectSymbols, "", ""},
                                {"stretch-mode", &kStretchModeSymbols, "", ""},
                                {"mix-mode", &kMixModeSymbols, "R2_", ""},
                                {"font-weight", &kFontWeightSymbols, "FW_", ""},
                                {"character-set", &kCharSetSymbols, "", "_CHARSET"},
                                {"output-precision", &kOutPrecisionSymbols, "OUT_", "_PRECIS"},
                                {"clip-precision", &kClipPrecisionSymbols, "CLIP_", ""},
                                {"font-quality", &kFontQualitySymbols, "", "_QUALITY"},
                                {"pitch", &kPitchSymbols, "", ""},
                                {"font-family", &kFontFamilySymbols, "FF_", ""},
                                {"ICM-mode", &kIcmModeSymbols, "ICM_", ""},
                                {"world-transform-mode", &kWorldTransformModeSymbols, "MWT_", ""},
                                {"pen-type", &kPenTypeSymbols, "PS_", ""},
                                {"end-cap", &kEndCapSymbols, "PS_ENDCAP_", ""},
                                {"line-join", &kLineJoinSymbols, "PS_JOIN_", ""},
                                {"DIB-usage", &kDibUsageSymbols, "DIB_", "_COLORS"},
                                {"flood-fill-mode", &kFloodFillModeSymbols, "FLOODFILL", ""}};

TEST(SymbolTables, NamesFollowTheirTablesPatternAndNoValueRepeats) {
    for (const TablePattern& pattern : kTables) {
        SCOPED_TRACE(pattern.label);
        ASSERT_GT(pattern.table->count, 1u);
        std::set<uint32_t> values;
        for (size_t i = 0; i < pattern.table->count; ++i) {
            const SymbolEntry& entry = pattern.table->entries[i];
            EXPECT_TRUE(values.insert(entry.value).second) << "value repeated: " << entry.value;
            const std::string names = ToUtf8(entry.name);
            for (size_t start = 0; start <= names.size();) {
                const size_t bar = std::min(names.find(" | ", start), names.size());
                const std::string name = names.substr(start, bar - start);
                EXPECT_TRUE(name.starts_with(pattern.prefix) && name.ends_with(pattern.suffix) &&
                            name.find_first_not_of("ABCDEFGHIJKLMNOPQRSTUVWXYZ0123456789_") ==
                                std::string::npos)
                    << name;
                start = bar + 3;
            }
        }
    }
}

std::string Name(const SymbolTable& table, uint32_t key, const char16_t* fallback) {
    FixedWideText<64> out;
    LookupSymbol(table, key, fallback, out);
    return ToUtf8(out.view());
}

// Values the documented constants give, a few from every kind of table, aliases printed
// whole, and missing values printed by the fallback with the key, all 32 bits of it.
TEST(SymbolTables, SpotChecksOfDocumentedValuesAndFallbacks) {
    const struct {
        const SymbolTable* table;
        uint32_t value;
        const char* name;
    } kSpots[] = {{&kPenStyleSymbols, 8, "PS_ALTERNATE"},
                  {&kBrushStyleSymbols, 9, "BS_MONOPATTERN"},
                  {&kHatchStyleSymbols, 5, "HS_DIAGCROSS"},
                  {&kRasterOpSymbols, 0x440328, "SRCERASE"},
                  {&kRasterOpSymbols, 0x40000000, "NOMIRRORBITMAP"},
                  {&kRegionModeSymbols, 1, "RGN_AND | RGN_MIN"},

                  {&kTextAlignHorizontalSymbols, 6, "TA_CENTER"},
                  {&kTextAlignVerticalSymbols, 24, "TA_BASELINE"},
                  {&kStockObjectSymbols, 16, "SYSTEM_FIXED_FONT"},

                  {&kMixModeSymbols, 16, "R2_WHITE"},
                  {&kFontWeightSymbols, 600, "FW_SEMIBOLD | FW_DEMIBOLD"},
                  {&kCharSetSymbols, 77, "MAC_CHARSET"},
                  {&kOutPrecisionSymbols, 10, "OUT_PS_ONLY_PRECIS"},
                  {&kClipPrecisionSymbols, 128, "CLIP_EMBEDDED"},
                  {&kFontQualitySymbols, 5, "CLEARTYPE_QUALITY"},
                  {&kPitchSymbols, 8, "MONO_FONT"},
                  {&kFontFamilySymbols, 80, "FF_DECORATIVE"},
                  {&kWorldTransformModeSymbols, 3, "MWT_RIGHTMULTIPLY"},
                  {&kPenTypeSymbols, 0x10000, "PS_GEOMETRIC"},
                  {&kEndCapSymbols, 0x200, "PS_ENDCAP_FLAT"},
                  {&kLineJoinSymbols, 0x2000, "PS_JOIN_MITER"},
                  {&kFloodFillModeSymbols, 1, "FLOODFILLSURFACE"},
                  {&kBackgroundModeSymbols, 3, "0x00000003"},
                  {&kStockObjectSymbols, 9, "0x00000009"},
                  {&kMapModeSymbols, 0x80000001, "0x80000001"}};
    for (const auto& spot : kSpots) {
        EXPECT_EQ(Name(*spot.table, spot.value, u"0x%08X"), spot.name);
    }
    EXPECT_EQ(Name(kPitchSymbols, 4, u"__unknown pitch:%d__"), "__unknown pitch:4__");
}

TEST(LookupSymbol, ReportsWhetherANameWasFoundAndReplacesTheOutput) {
    FixedWideText<64> out;
    out.Append(u"left over");
    EXPECT_EQ(LookupSymbol(kMixModeSymbols, 13, u"0x%08X", out), 1);
    EXPECT_EQ(ToUtf8(out.view()), "R2_COPYPEN");
    EXPECT_EQ(LookupSymbol(kMixModeSymbols, 0, u"0x%08X", out), 0);
    EXPECT_EQ(ToUtf8(out.view()), "0x00000000");
}

// Each returns the length it wrote; the brush's colour and hatch are read as its style allows.
TEST(NameValues, ReturnTheirLengthAndReadBrushFieldsByTheStyle) {
    FixedWideText<64> out;
    EXPECT_EQ(NamePenStyle(out, 6), 14u);
    EXPECT_EQ(ToUtf8(out.view()), "PS_INSIDEFRAME");
    EXPECT_EQ(NameRasterOp(out, 0), 10u);
    EXPECT_EQ(ToUtf8(out.view()), "0x00000000");
    const struct {
        size_t (*name)(WideText&, uint32_t, uint32_t);
        uint32_t value;
        uint32_t style;
        const char* text;
    } cases[] = {{NameBrushColor, 0x00FF8040, 0, "RGB(64, 128, 255)"},
                 {NameBrushColor, 0xAAFF8040, 2, "RGB(64, 128, 255)"},
                 {NameBrushColor, 0x00FF8040, 1, "(COLORREF)0"},
                 {NameBrushColor, 0x00FF8040, 3, "(COLORREF)0x00FF8040 ████"},
                 {NameBrushColor, 0x00FF8040, 0xFFFFFFFF, "(COLORREF)0x00FF8040 ████"},
                 {NameBrushHatch, 3, 0, "0"},
                 {NameBrushHatch, 3, 1, "0"},
                 {NameBrushHatch, 3, 2, "HS_BDIAGONAL"},
                 {NameBrushHatch, 9, 2, "0x00000009"},
                 {NameBrushHatch, 3, 5, "0x00000003 ████"},
                 {NameBrushHatch, 3, 0x80000000, "0x00000003 ████"}};
    for (const auto& c : cases) {
        const size_t length = c.name(out, c.value, c.style);
        EXPECT_EQ(length, out.size());
        EXPECT_EQ(ToUtf8(out.view()), c.text) << c.value << ", style " << c.style;
    }
}

}  // namespace
