// The names of EMF+ record types and the EMF+ constant tables.
#pragma once

#include <cstdint>

#include "calls/symbols.h"
#include "text/wide_text.h"

inline constexpr uint16_t kEmfPlusFirstType = 0x4001;
inline constexpr uint16_t kEmfPlusLastType = 0x403A;

// The EMF+ record types the decoder gives fields of their own.
enum EmfPlusType : uint16_t {
    kEmfPlusHeader = 0x4001,
    kEmfPlusEndOfFile = 0x4002,
    kEmfPlusComment = 0x4003,
    kEmfPlusGetDC = 0x4004,
    kEmfPlusObject = 0x4008,
    kEmfPlusClear = 0x4009,
    kEmfPlusFillRects = 0x400A,
    kEmfPlusDrawRects = 0x400B,
    kEmfPlusFillPolygon = 0x400C,
    kEmfPlusDrawLines = 0x400D,
    kEmfPlusFillEllipse = 0x400E,
    kEmfPlusDrawEllipse = 0x400F,
    kEmfPlusFillPie = 0x4010,
    kEmfPlusDrawPie = 0x4011,
    kEmfPlusDrawArc = 0x4012,
    kEmfPlusFillRegion = 0x4013,
    kEmfPlusFillPath = 0x4014,
    kEmfPlusDrawPath = 0x4015,
    kEmfPlusFillClosedCurve = 0x4016,
    kEmfPlusDrawClosedCurve = 0x4017,
    kEmfPlusDrawCurve = 0x4018,
    kEmfPlusDrawBeziers = 0x4019,
    kEmfPlusDrawImage = 0x401A,
    kEmfPlusDrawImagePoints = 0x401B,
    kEmfPlusDrawString = 0x401C,
    kEmfPlusSetRenderingOrigin = 0x401D,
    kEmfPlusSetAntiAliasMode = 0x401E,
    kEmfPlusSetTextRenderingHint = 0x401F,
    kEmfPlusSetTextContrast = 0x4020,
    kEmfPlusSetInterpolationMode = 0x4021,
    kEmfPlusSetPixelOffsetMode = 0x4022,
    kEmfPlusSetCompositingMode = 0x4023,
    kEmfPlusSetCompositingQuality = 0x4024,
    kEmfPlusSave = 0x4025,
    kEmfPlusRestore = 0x4026,
    kEmfPlusBeginContainer = 0x4027,
    kEmfPlusBeginContainerNoParams = 0x4028,
    kEmfPlusEndContainer = 0x4029,
    kEmfPlusSetWorldTransform = 0x402A,
    kEmfPlusResetWorldTransform = 0x402B,
    kEmfPlusMultiplyWorldTransform = 0x402C,
    kEmfPlusTranslateWorldTransform = 0x402D,
    kEmfPlusScaleWorldTransform = 0x402E,
    kEmfPlusRotateWorldTransform = 0x402F,
    kEmfPlusSetPageTransform = 0x4030,
    kEmfPlusResetClip = 0x4031,
    kEmfPlusSetClipRect = 0x4032,
    kEmfPlusSetClipPath = 0x4033,
    kEmfPlusSetClipRegion = 0x4034,
    kEmfPlusOffsetClip = 0x4035,
    kEmfPlusDrawDriverString = 0x4036,
    kEmfPlusStrokeFillPath = 0x4037,
    kEmfPlusSerializableObject = 0x4038,
    kEmfPlusSetTSGraphics = 0x4039,
    kEmfPlusSetTSClip = 0x403A,
};

// The record type's name, or nullptr for a type outside the table.
const char16_t* LookupEmfPlusName(uint16_t type);
// Replaces `out` with the type's name, or "Unknown(0xXXXX)" for a type outside the table.
void NameEmfPlusRecord(uint16_t type, WideText& out);

extern const SymbolTable kEmfPlusObjectTypeSymbols;
extern const SymbolTable kEmfPlusGraphicsVersionSymbols;
extern const SymbolTable kEmfPlusBrushTypeSymbols;
extern const SymbolTable kEmfPlusUnitSymbols;
extern const SymbolTable kEmfPlusImageTypeSymbols;
extern const SymbolTable kEmfPlusBitmapTypeSymbols;
extern const SymbolTable kEmfPlusMetafileTypeSymbols;
extern const SymbolTable kEmfPlusPixelFormatSymbols;
extern const SymbolTable kEmfPlusRegionNodeSymbols;
extern const SymbolTable kEmfPlusWrapModeSymbols;
extern const SymbolTable kEmfPlusStringAlignmentSymbols;
extern const SymbolTable kEmfPlusLineCapTypeSymbols;
extern const SymbolTable kEmfPlusSmoothingModeSymbols;
extern const SymbolTable kEmfPlusTextRenderingHintSymbols;
extern const SymbolTable kEmfPlusInterpolationModeSymbols;
extern const SymbolTable kEmfPlusPixelOffsetModeSymbols;
extern const SymbolTable kEmfPlusCompositingModeSymbols;
extern const SymbolTable kEmfPlusCompositingQualitySymbols;
extern const SymbolTable kEmfPlusCombineModeSymbols;
extern const SymbolTable kEmfPlusMatrixOrderSymbols;
extern const SymbolTable kPublicCommentSymbols;
