// The names of EMF+ record types and the EMF+ constant tables.
#include "emfplus/emfplus_names.h"

namespace {

// Indexed by type - 0x4001.
constexpr const char16_t* kRecordNames[] = {
    u"EmfPlusHeader",
    u"EmfPlusEndOfFile",
    u"EmfPlusComment",
    u"EmfPlusGetDC",
    u"EmfPlusMultiFormatStart",
    u"EmfPlusMultiFormatSection",
    u"EmfPlusMultiFormatEnd",
    u"EmfPlusObject",
    u"EmfPlusClear",
    u"EmfPlusFillRects",
    u"EmfPlusDrawRects",
    u"EmfPlusFillPolygon",
    u"EmfPlusDrawLines",
    u"EmfPlusFillEllipse",
    u"EmfPlusDrawEllipse",
    u"EmfPlusFillPie",
    u"EmfPlusDrawPie",
    u"EmfPlusDrawArc",
    u"EmfPlusFillRegion",
    u"EmfPlusFillPath",
    u"EmfPlusDrawPath",
    u"EmfPlusFillClosedCurve",
    u"EmfPlusDrawClosedCurve",
    u"EmfPlusDrawCurve",
    u"EmfPlusDrawBeziers",
    u"EmfPlusDrawImage",
    u"EmfPlusDrawImagePoints",
    u"EmfPlusDrawString",
    u"EmfPlusSetRenderingOrigin",
    u"EmfPlusSetAntiAliasMode",
    u"EmfPlusSetTextRenderingHint",
    u"EmfPlusSetTextContrast",
    u"EmfPlusSetInterpolationMode",
    u"EmfPlusSetPixelOffsetMode",
    u"EmfPlusSetCompositingMode",
    u"EmfPlusSetCompositingQuality",
    u"EmfPlusSave",
    u"EmfPlusRestore",
    u"EmfPlusBeginContainer",
    u"EmfPlusBeginContainerNoParams",
    u"EmfPlusEndContainer",
    u"EmfPlusSetWorldTransform",
    u"EmfPlusResetWorldTransform",
    u"EmfPlusMultiplyWorldTransform",
    u"EmfPlusTranslateWorldTransform",
    u"EmfPlusScaleWorldTransform",
    u"EmfPlusRotateWorldTransform",
    u"EmfPlusSetPageTransform",
    u"EmfPlusResetClip",
    u"EmfPlusSetClipRect",
    u"EmfPlusSetClipPath",
    u"EmfPlusSetClipRegion",
    u"EmfPlusOffsetClip",
    u"EmfPlusDrawDriverString",
    u"EmfPlusStrokeFillPath",
    u"EmfPlusSerializableObject",
    u"EmfPlusSetTSGraphics",
    u"EmfPlusSetTSClip",
};
static_assert(sizeof kRecordNames / sizeof kRecordNames[0] ==
              kEmfPlusLastType - kEmfPlusFirstType + 1);

constexpr SymbolEntry kObjectTypeEntries[] = {
    {0, u"ObjectTypeInvalid"},
    {1, u"ObjectTypeBrush"},
    {2, u"ObjectTypePen"},
    {3, u"ObjectTypePath"},
    {4, u"ObjectTypeRegion"},
    {5, u"ObjectTypeImage"},
    {6, u"ObjectTypeFont"},
    {7, u"ObjectTypeStringFormat"},
    {8, u"ObjectTypeImageAttributes"},
    {9, u"ObjectTypeCustomLineCap"},
};
constexpr SymbolEntry kGraphicsVersionEntries[] = {
    {1, u"GraphicsVersion1"},
    {2, u"GraphicsVersion1_1"},
};
constexpr SymbolEntry kBrushTypeEntries[] = {
    {0, u"BrushTypeSolidColor"},   {1, u"BrushTypeHatchFill"},      {2, u"BrushTypeTextureFill"},
    {3, u"BrushTypePathGradient"}, {4, u"BrushTypeLinearGradient"},
};
constexpr SymbolEntry kUnitEntries[] = {
    {0, u"UnitTypeWorld"},      {1, u"UnitTypeDisplay"}, {2, u"UnitTypePixel"},
    {3, u"UnitTypePoint"},      {4, u"UnitTypeInch"},    {5, u"UnitTypeDocument"},
    {6, u"UnitTypeMillimeter"},
};
constexpr SymbolEntry kImageTypeEntries[] = {
    {0, u"ImageDataTypeUnknown"},
    {1, u"ImageDataTypeBitmap"},
    {2, u"ImageDataTypeMetafile"},
};
constexpr SymbolEntry kBitmapTypeEntries[] = {
    {0, u"BitmapDataTypePixel"},
    {1, u"BitmapDataTypeCompressed"},
};
constexpr SymbolEntry kMetafileTypeEntries[] = {
    {1, u"MetafileDataTypeWmf"},         {2, u"MetafileDataTypeWmfPlaceable"},
    {3, u"MetafileDataTypeEmf"},         {4, u"MetafileDataTypeEmfPlusOnly"},
    {5, u"MetafileDataTypeEmfPlusDual"},
};
constexpr SymbolEntry kPixelFormatEntries[] = {
    {0x00000000, u"PixelFormatUndefined"},      {0x00030101, u"PixelFormat1bppIndexed"},
    {0x00030402, u"PixelFormat4bppIndexed"},    {0x00030803, u"PixelFormat8bppIndexed"},
    {0x00101004, u"PixelFormat16bppGrayScale"}, {0x00021005, u"PixelFormat16bppRGB555"},
    {0x00021006, u"PixelFormat16bppRGB565"},    {0x00061007, u"PixelFormat16bppARGB1555"},
    {0x00021808, u"PixelFormat24bppRGB"},       {0x00022009, u"PixelFormat32bppRGB"},
    {0x0026200A, u"PixelFormat32bppARGB"},      {0x000E200B, u"PixelFormat32bppPARGB"},
    {0x0010300C, u"PixelFormat48bppRGB"},       {0x0034400D, u"PixelFormat64bppARGB"},
    {0x001A400E, u"PixelFormat64bppPARGB"},
};
constexpr SymbolEntry kRegionNodeEntries[] = {
    {0x00000001, u"RegionNodeDataTypeAnd"},        {0x00000002, u"RegionNodeDataTypeOr"},
    {0x00000003, u"RegionNodeDataTypeXor"},        {0x00000004, u"RegionNodeDataTypeExclude"},
    {0x00000005, u"RegionNodeDataTypeComplement"}, {0x10000000, u"RegionNodeDataTypeRect"},
    {0x10000001, u"RegionNodeDataTypePath"},       {0x10000002, u"RegionNodeDataTypeEmpty"},
    {0x10000003, u"RegionNodeDataTypeInfinite"},
};
constexpr SymbolEntry kWrapModeEntries[] = {
    {0, u"WrapModeTile"},       {1, u"WrapModeTileFlipX"}, {2, u"WrapModeTileFlipY"},
    {3, u"WrapModeTileFlipXY"}, {4, u"WrapModeClamp"},
};
constexpr SymbolEntry kStringAlignmentEntries[] = {
    {0, u"StringAlignmentNear"},
    {1, u"StringAlignmentCenter"},
    {2, u"StringAlignmentFar"},
};
constexpr SymbolEntry kLineCapTypeEntries[] = {
    {0, u"CustomLineCapDataTypeDefault"},
    {1, u"CustomLineCapDataTypeAdjustableArrow"},
};
constexpr SymbolEntry kSmoothingModeEntries[] = {
    {0, u"SmoothingModeDefault"},      {1, u"SmoothingModeHighSpeed"},
    {2, u"SmoothingModeHighQuality"},  {3, u"SmoothingModeNone"},
    {4, u"SmoothingModeAntiAlias8x4"}, {5, u"SmoothingModeAntiAlias8x8"},
};
constexpr SymbolEntry kTextRenderingHintEntries[] = {
    {0, u"TextRenderingHintSystemDefault"},     {1, u"TextRenderingHintSingleBitPerPixelGridFit"},
    {2, u"TextRenderingHintSingleBitPerPixel"}, {3, u"TextRenderingHintAntialiasGridFit"},
    {4, u"TextRenderingHintAntialias"},         {5, u"TextRenderingHintClearTypeGridFit"},
};
constexpr SymbolEntry kInterpolationModeEntries[] = {
    {0, u"InterpolationModeDefault"},
    {1, u"InterpolationModeLowQuality"},
    {2, u"InterpolationModeHighQuality"},
    {3, u"InterpolationModeBilinear"},
    {4, u"InterpolationModeBicubic"},
    {5, u"InterpolationModeNearestNeighbor"},
    {6, u"InterpolationModeHighQualityBilinear"},
    {7, u"InterpolationModeHighQualityBicubic"},
};
constexpr SymbolEntry kPixelOffsetModeEntries[] = {
    {0, u"PixelOffsetModeDefault"},     {1, u"PixelOffsetModeHighSpeed"},
    {2, u"PixelOffsetModeHighQuality"}, {3, u"PixelOffsetModeNone"},
    {4, u"PixelOffsetModeHalf"},
};
constexpr SymbolEntry kCompositingModeEntries[] = {
    {0, u"CompositingModeSourceOver"},
    {1, u"CompositingModeSourceCopy"},
};
constexpr SymbolEntry kCompositingQualityEntries[] = {
    {1, u"CompositingQualityDefault"},      {2, u"CompositingQualityHighSpeed"},
    {3, u"CompositingQualityHighQuality"},  {4, u"CompositingQualityGammaCorrected"},
    {5, u"CompositingQualityAssumeLinear"},
};
constexpr SymbolEntry kCombineModeEntries[] = {
    {0, u"CombineModeReplace"}, {1, u"CombineModeIntersect"}, {2, u"CombineModeUnion"},
    {3, u"CombineModeXOR"},     {4, u"CombineModeExclude"},   {5, u"CombineModeComplement"},
};
constexpr SymbolEntry kMatrixOrderEntries[] = {
    {0, u"MatrixOrderPrepend"},
    {1, u"MatrixOrderAppend"},
};
constexpr SymbolEntry kPublicCommentEntries[] = {
    {0x00000002, u"GDICOMMENT_BEGINGROUP"},     {0x00000003, u"GDICOMMENT_ENDGROUP"},
    {0x40000004, u"GDICOMMENT_MULTIFORMATS"},   {0x80000001, u"GDICOMMENT_WINDOWS_METAFILE"},
    {0x00000040, u"GDICOMMENT_UNICODE_STRING"}, {0x00000080, u"GDICOMMENT_UNICODE_END"},
};

template <size_t N>
constexpr SymbolTable MakeTable(const SymbolEntry (&entries)[N]) {
    return SymbolTable{entries, N};
}

}  // namespace

const SymbolTable kEmfPlusObjectTypeSymbols = MakeTable(kObjectTypeEntries);
const SymbolTable kEmfPlusGraphicsVersionSymbols = MakeTable(kGraphicsVersionEntries);
const SymbolTable kEmfPlusBrushTypeSymbols = MakeTable(kBrushTypeEntries);
const SymbolTable kEmfPlusUnitSymbols = MakeTable(kUnitEntries);
const SymbolTable kEmfPlusImageTypeSymbols = MakeTable(kImageTypeEntries);
const SymbolTable kEmfPlusBitmapTypeSymbols = MakeTable(kBitmapTypeEntries);
const SymbolTable kEmfPlusMetafileTypeSymbols = MakeTable(kMetafileTypeEntries);
const SymbolTable kEmfPlusPixelFormatSymbols = MakeTable(kPixelFormatEntries);
const SymbolTable kEmfPlusRegionNodeSymbols = MakeTable(kRegionNodeEntries);
const SymbolTable kEmfPlusWrapModeSymbols = MakeTable(kWrapModeEntries);
const SymbolTable kEmfPlusStringAlignmentSymbols = MakeTable(kStringAlignmentEntries);
const SymbolTable kEmfPlusLineCapTypeSymbols = MakeTable(kLineCapTypeEntries);
const SymbolTable kEmfPlusSmoothingModeSymbols = MakeTable(kSmoothingModeEntries);
const SymbolTable kEmfPlusTextRenderingHintSymbols = MakeTable(kTextRenderingHintEntries);
const SymbolTable kEmfPlusInterpolationModeSymbols = MakeTable(kInterpolationModeEntries);
const SymbolTable kEmfPlusPixelOffsetModeSymbols = MakeTable(kPixelOffsetModeEntries);
const SymbolTable kEmfPlusCompositingModeSymbols = MakeTable(kCompositingModeEntries);
const SymbolTable kEmfPlusCompositingQualitySymbols = MakeTable(kCompositingQualityEntries);
const SymbolTable kEmfPlusCombineModeSymbols = MakeTable(kCombineModeEntries);
const SymbolTable kEmfPlusMatrixOrderSymbols = MakeTable(kMatrixOrderEntries);
const SymbolTable kPublicCommentSymbols = MakeTable(kPublicCommentEntries);

const char16_t* LookupEmfPlusName(uint16_t type) {
    if (type < kEmfPlusFirstType || type > kEmfPlusLastType) {
        return nullptr;
    }
    return kRecordNames[type - kEmfPlusFirstType];
}

void NameEmfPlusRecord(uint16_t type, WideText& out) {
    out.Clear();
    if (const char16_t* name = LookupEmfPlusName(type)) {
        out.Append(name);
        return;
    }
    out.Print(u"Unknown(0x%04X)", type);
}
