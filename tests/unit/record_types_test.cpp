// The record-type table: every row's names, and which types print fixed arguments.
#include <gtest/gtest.h>

#include <string>

#include "calls/call_text.h"
#include "tests/support/call_text_utf8.h"

namespace {

struct TypeRow {
    uint32_t type;
    const char16_t* record_name;
    const char16_t* call_name;
};

// Every row as the program must name it, written out here so that a slip in either copy shows.
// clang-format off
constexpr TypeRow kExpectedRows[] = {
    {1, u"EMR_HEADER", u"EMR_HEADER"},
    {2, u"EMR_POLYBEZIER", u"PolyBezier"},
    {3, u"EMR_POLYGON", u"Polygon"},
    {4, u"EMR_POLYLINE", u"Polyline"},
    {5, u"EMR_POLYBEZIERTO", u"PolyBezierTo"},
    {6, u"EMR_POLYLINETO", u"PolylineTo"},
    {7, u"EMR_POLYPOLYLINE", u"PolyPolyline"},
    {8, u"EMR_POLYPOLYGON", u"PolyPolygon"},
    {9, u"EMR_SETWINDOWEXTEX", u"SetWindowExtEx"},
    {10, u"EMR_SETWINDOWORGEX", u"SetWindowOrgEx"},
    {11, u"EMR_SETVIEWPORTEXTEX", u"SetViewportExtEx"},
    {12, u"EMR_SETVIEWPORTORGEX", u"SetViewportOrgEx"},
    {13, u"EMR_SETBRUSHORGEX", u"SetBrushOrgEx"},
    {14, u"EMR_EOF", u"EMR_EOF"},
    {15, u"EMR_SETPIXELV", u"SetPixelV"},
    {16, u"EMR_SETMAPPERFLAGS", u"SetMapperFlags"},
    {17, u"EMR_SETMAPMODE", u"SetMapMode"},
    {18, u"EMR_SETBKMODE", u"SetBkMode"},
    {19, u"EMR_SETPOLYFILLMODE", u"SetPolyFillMode"},
    {20, u"EMR_SETROP2", u"SetROP2"},
    {21, u"EMR_SETSTRETCHBLTMODE", u"SetStretchBltMode"},
    {22, u"EMR_SETTEXTALIGN", u"SetTextAlign"},
    {23, u"EMR_SETCOLORADJUSTMENT", u"SetColorAdjustment"},
    {24, u"EMR_SETTEXTCOLOR", u"SetTextColor"},
    {25, u"EMR_SETBKCOLOR", u"SetBkColor"},
    {26, u"EMR_OFFSETCLIPRGN", u"OffsetClipRgn"},
    {27, u"EMR_MOVETOEX", u"MoveToEx"},
    {28, u"EMR_SETMETARGN", u"SetMetaRgn"},
    {29, u"EMR_EXCLUDECLIPRECT", u"ExcludeClipRect"},
    {30, u"EMR_INTERSECTCLIPRECT", u"IntersectClipRect"},
    {31, u"EMR_SCALEVIEWPORTEXTEX", u"ScaleViewportExtEx"},
    {32, u"EMR_SCALEWINDOWEXTEX", u"ScaleWindowExtEx"},
    {33, u"EMR_SAVEDC", u"SaveDC"},
    {34, u"EMR_RESTOREDC", u"RestoreDC"},
    {35, u"EMR_SETWORLDTRANSFORM", u"SetWorldTransform"},
    {36, u"EMR_MODIFYWORLDTRANSFORM", u"ModifyWorldTransform"},
    {37, u"EMR_SELECTOBJECT", u"SelectObject"},
    {38, u"EMR_CREATEPEN", u"CreatePen"},
    {39, u"EMR_CREATEBRUSHINDIRECT", u"CreateBrushIndirect"},
    {40, u"EMR_DELETEOBJECT", u"DeleteObject"},
    {41, u"EMR_ANGLEARC", u"AngleArc"},
    {42, u"EMR_ELLIPSE", u"Ellipse"},
    {43, u"EMR_RECTANGLE", u"Rectangle"},
    {44, u"EMR_ROUNDRECT", u"RoundRect"},
    {45, u"EMR_ARC", u"Arc"},
    {46, u"EMR_CHORD", u"Chord"},
    {47, u"EMR_PIE", u"Pie"},
    {48, u"EMR_SELECTPALETTE", u"SelectPalette"},
    {49, u"EMR_CREATEPALETTE", u"CreatePalette"},
    {50, u"EMR_SETPALETTEENTRIES", u"SetPaletteEntries"},
    {51, u"EMR_RESIZEPALETTE", u"ResizePalette"},
    {52, u"EMR_REALIZEPALETTE", u"RealizePalette"},
    {53, u"EMR_EXTFLOODFILL", u"ExtFloodFill"},
    {54, u"EMR_LINETO", u"LineTo"},
    {55, u"EMR_ARCTO", u"ArcTo"},
    {56, u"EMR_POLYDRAW", u"PolyDraw"},
    {57, u"EMR_SETARCDIRECTION", u"SetArcDirection"},
    {58, u"EMR_SETMITERLIMIT", u"SetMiterLimit"},
    {59, u"EMR_BEGINPATH", u"BeginPath"},
    {60, u"EMR_ENDPATH", u"EndPath"},
    {61, u"EMR_CLOSEFIGURE", u"CloseFigure"},
    {62, u"EMR_FILLPATH", u"FillPath"},
    {63, u"EMR_STROKEANDFILLPATH", u"StrokeAndFillPath"},
    {64, u"EMR_STROKEPATH", u"StrokePath"},
    {65, u"EMR_FLATTENPATH", u"FlattenPath"},
    {66, u"EMR_WIDENPATH", u"WidenPath"},
    {67, u"EMR_SELECTCLIPPATH", u"SelectClipPath"},
    {68, u"EMR_ABORTPATH", u"AbortPath"},
    {69, u"undefined(69)", u"unfined(69)"},
    {70, u"EMR_GDICOMMENT", u"GdiComment"},
    {71, u"EMR_FILLRGN", u"FillRgn"},
    {72, u"EMR_FRAMERGN", u"FrameRgn"},
    {73, u"EMR_INVERTRGN", u"InvertRgn"},
    {74, u"EMR_PAINTRGN", u"PaintRgn"},
    {75, u"EMR_EXTSELECTCLIPRGN", u"ExtSelectClipRgn"},
    {76, u"EMR_BITBLT", u"BitBlt"},
    {77, u"EMR_STRETCHBLT", u"StretchBlt"},
    {78, u"EMR_MASKBLT", u"MaskBlt"},
    {79, u"EMR_PLGBLT", u"PlgBlt"},
    {80, u"EMR_SETDIBITSTODEVICE", u"SetDIBitsToDevice"},
    {81, u"EMR_STRETCHDIBITS", u"StretchDIBits"},
    {82, u"EMR_EXTCREATEFONTINDIRECTW", u"CreateFontIndirect"},
    {83, u"EMR_EXTTEXTOUTA", u"ExtTextOutA"},
    {84, u"EMR_EXTTEXTOUTW", u"ExtTextOutW"},
    {85, u"EMR_POLYBEZIER16", u"PolyBezier"},
    {86, u"EMR_POLYGON16", u"Polygon"},
    {87, u"EMR_POLYLINE16", u"Polyline"},
    {88, u"EMR_POLYBEZIERTO16", u"PolyBezierTo"},
    {89, u"EMR_POLYLINETO16", u"PolylineTo"},
    {90, u"EMR_POLYPOLYLINE16", u"PolyPolyline"},
    {91, u"EMR_POLYPOLYGON16", u"PolyPolygon"},
    {92, u"EMR_POLYDRAW16", u"EMR_POLYDRAW16"},
    {93, u"EMR_CREATEMONOBRUSH", u"CreatePatternBrush"},
    {94, u"EMR_CREATEDIBPATTERNBRUSHPT", u"CreateDIBPatternBrushPt"},
    {95, u"EMR_EXTCREATEPEN", u"ExtCreatePen"},
    {96, u"EMR_POLYTEXTOUTA", u"PolyTextOutA"},
    {97, u"EMR_POLYTEXTOUTW", u"PolyTextOutW"},
    {98, u"EMR_SETICMMODE", u"SetICMMode"},
    {99, u"EMR_CREATECOLORSPACE", u"CreateColorSpace"},
    {100, u"EMR_SETCOLORSPACE", u"SetColorSpace"},
    {101, u"EMR_DELETECOLORSPACE", u"DeleteColorSpace"},
    {102, u"EMR_GLSRECORD", u"EMR_GLSRECORD"},
    {103, u"EMR_GLSBOUNDEDRECORD", u"EMR_GLSBOUNDEDRECORD"},
    {104, u"EMR_PIXELFORMAT", u"PixelFormat"},
    {105, u"EMR_DRAWESCAPE", u"DrawEscape"},
    {106, u"EMR_EXTESCAPE", u"ExtEscape"},
    {107, u"EMR_STARTDOC", u"StartDoc"},
    {108, u"EMR_SMALLTEXTOUT", u"TextOut"},
    {109, u"EMR_FORCEUFIMAPPING", u"EMR_FORCEUFIMAPPING"},
    {110, u"EMR_NAMEDESCAPE", u"EMR_NAMEDESCAPE"},
    {111, u"EMR_COLORCORRECTPALETTE", u"ColorCorrectPalette"},
    {112, u"EMR_SETICMPROFILEA", u"SetICMProfileA"},
    {113, u"EMR_SETICMPROFILEW", u"SetICMProfileW"},
    {114, u"EMR_ALPHABLEND", u"AlphaBlend"},
    {115, u"EMR_ALPHADIBBLEND", u"EMR_ALPHADIBBLEND"},
    {116, u"EMR_TRANSPARENTBLT", u"TransparentBlt"},
    {117, u"EMR_TRANSPARENTDIB", u"EMR_TRANSPARENTDIB"},
    {118, u"EMR_GRADIENTFILL", u"GradientFill"},
    {119, u"EMR_SETLINKEDUFIS", u"EMR_SETLINKEDUFIS"},
    {120, u"EMR_SETTEXTJUSTIFICATION", u"SetTextJustification"},
};
// clang-format on

TEST(RecordTypes, EveryRowNamesItsTypeAsExpected) {
    ASSERT_EQ(std::size(kExpectedRows), 120u);
    for (const TypeRow& row : kExpectedRows) {
        SCOPED_TRACE(row.type);
        ASSERT_NE(LookupRecordName(row.type), nullptr);
        ASSERT_NE(LookupCallName(row.type), nullptr);
        EXPECT_EQ(std::u16string(LookupRecordName(row.type)), row.record_name);
        EXPECT_EQ(std::u16string(LookupCallName(row.type)), row.call_name);
    }
    EXPECT_EQ(LookupRecordName(0), nullptr);
    EXPECT_EQ(LookupCallName(121), nullptr);
    EXPECT_EQ(LookupCallName(0xFFFFFFFF), nullptr);
}

TEST(RecordTypes, UntranslatedTypesPrintThePlaceholderAndDcOnlyTypesTheDeviceContext) {
    const uint32_t placeholders[] = {1,   7,   8,   14,  15,  16,  23,  26,  31,  32,
                                     50,  51,  56,  57,  69,  70,  80,  92,  96,  97,
                                     99,  102, 103, 104, 105, 106, 107, 109, 110, 111,
                                     112, 113, 114, 115, 116, 117, 118, 119};
    const uint32_t dc_only[] = {28, 33, 52, 59, 60, 61, 65, 66, 68};
    EXPECT_EQ(std::size(placeholders), 38u);
    EXPECT_EQ(std::size(dc_only), 9u);
    for (const uint32_t type : placeholders) {
        SCOPED_TRACE(type);
        const std::string name = ToUtf8(LookupCallName(type));
        // Large enough for every fixed structure, so no formatter finds it short.
        EXPECT_EQ(CallTextUtf8(RecordBuilder(type, 512), 0), name + "(████████);");
        EXPECT_EQ(CallTextUtf8(RecordBuilder(type, 512), 1), name + "(████████);");
    }
    for (const uint32_t type : dc_only) {
        SCOPED_TRACE(type);
        EXPECT_EQ(CallTextUtf8(RecordBuilder(type, 8), 1), ToUtf8(LookupCallName(type)) + "(hDC);");
    }
}

}  // namespace
