// The GDI constant tables and the naming of values through them.
#pragma once

#include <cstddef>
#include <cstdint>

#include "text/wide_text.h"

struct SymbolEntry {
    uint32_t value;
    const char16_t* name;
};

// A fixed list of values and their names, searched in stored order for an exact match.
struct SymbolTable {
    const SymbolEntry* entries;
    size_t count;
};

extern const SymbolTable kPenStyleSymbols;
extern const SymbolTable kBrushStyleSymbols;
extern const SymbolTable kHatchStyleSymbols;
extern const SymbolTable kRasterOpSymbols;
extern const SymbolTable kRegionModeSymbols;
extern const SymbolTable kBackgroundModeSymbols;
extern const SymbolTable kMapModeSymbols;
extern const SymbolTable kTextAlignUpdateSymbols;
extern const SymbolTable kTextAlignHorizontalSymbols;
extern const SymbolTable kTextAlignVerticalSymbols;
extern const SymbolTable kPolyFillModeSymbols;
extern const SymbolTable kStockObjectSymbols;
extern const SymbolTable kStretchModeSymbols;
extern const SymbolTable kMixModeSymbols;
extern const SymbolTable kFontWeightSymbols;
extern const SymbolTable kCharSetSymbols;
extern const SymbolTable kOutPrecisionSymbols;
extern const SymbolTable kClipPrecisionSymbols;
extern const SymbolTable kFontQualitySymbols;
extern const SymbolTable kPitchSymbols;
extern const SymbolTable kFontFamilySymbols;
extern const SymbolTable kIcmModeSymbols;
extern const SymbolTable kWorldTransformModeSymbols;
extern const SymbolTable kPenTypeSymbols;
extern const SymbolTable kEndCapSymbols;
extern const SymbolTable kLineJoinSymbols;
extern const SymbolTable kDibUsageSymbols;
extern const SymbolTable kFloodFillModeSymbols;

// Replaces `out` with the name of the first entry whose value equals `key` in all 32 bits and
// returns 1; without such an entry, replaces it with `fallback` printed with the key as its
// one integer argument and returns 0.
int LookupSymbol(const SymbolTable& table, uint32_t key, const char16_t* fallback, WideText& out);

// Each replaces `out` and returns the length of the name written, in UTF-16 units.
size_t NamePenStyle(WideText& out, uint32_t style);
size_t NameBrushStyle(WideText& out, uint32_t style);
// The colour as the brush style lets it be read: RGB(...) for solid and hatched brushes,
// (COLORREF)0 for a null brush, the marked hexadecimal value otherwise.
size_t NameBrushColor(WideText& out, uint32_t color, uint32_t brush_style);
// The hatch as the brush style lets it be read: 0 for solid and null brushes, its name for a
// hatched brush, the marked hexadecimal value otherwise.
size_t NameBrushHatch(WideText& out, uint32_t hatch, uint32_t brush_style);
size_t NameRasterOp(WideText& out, uint32_t rop);
size_t NameRegionMode(WideText& out, uint32_t mode);
