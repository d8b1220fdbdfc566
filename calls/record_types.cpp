// The record-type table: record name, call name and formatter of every type 1 to 120.
#include "calls/formatters.h"

namespace {

struct RecordTypeRow {
    uint32_t type;
    const char16_t* record_name;
    const char16_t* call_name;
    CallFormatter formatter;
};

// One row per type, in type order. The call name of row 69 is "unfined(69)": that is the
// text this program has always shown for the undefined type, kept so that lists compare.
constexpr RecordTypeRow kRecordTypes[] = {
    {1, u"EMR_HEADER", u"EMR_HEADER", FormatPlaceholder},
    {2, u"EMR_POLYBEZIER", u"PolyBezier", FormatPolyPoints},
    {3, u"EMR_POLYGON", u"Polygon", FormatPolyPoints},
    {4, u"EMR_POLYLINE", u"Polyline", FormatPolyPoints},
    {5, u"EMR_POLYBEZIERTO", u"PolyBezierTo", FormatPolyPoints},
    {6, u"EMR_POLYLINETO", u"PolylineTo", FormatPolyPoints},
    {7, u"EMR_POLYPOLYLINE", u"PolyPolyline", FormatPlaceholder},
    {8, u"EMR_POLYPOLYGON", u"PolyPolygon", FormatPlaceholder},
    {9, u"EMR_SETWINDOWEXTEX", u"SetWindowExtEx", FormatExtOrgEx},
    {10, u"EMR_SETWINDOWORGEX", u"SetWindowOrgEx", FormatExtOrgEx},
    {11, u"EMR_SETVIEWPORTEXTEX", u"SetViewportExtEx", FormatExtOrgEx},
    {12, u"EMR_SETVIEWPORTORGEX", u"SetViewportOrgEx", FormatExtOrgEx},
    {13, u"EMR_SETBRUSHORGEX", u"SetBrushOrgEx", FormatExtOrgEx},
    {14, u"EMR_EOF", u"EMR_EOF", FormatPlaceholder},
    {15, u"EMR_SETPIXELV", u"SetPixelV", FormatPlaceholder},
    {16, u"EMR_SETMAPPERFLAGS", u"SetMapperFlags", FormatPlaceholder},
    {17, u"EMR_SETMAPMODE", u"SetMapMode", FormatMapMode},
    {18, u"EMR_SETBKMODE", u"SetBkMode", FormatBkMode},
    {19, u"EMR_SETPOLYFILLMODE", u"SetPolyFillMode", FormatPolyFillMode},
    {20, u"EMR_SETROP2", u"SetROP2", FormatRop2},
    {21, u"EMR_SETSTRETCHBLTMODE", u"SetStretchBltMode", FormatStretchBltMode},
    {22, u"EMR_SETTEXTALIGN", u"SetTextAlign", FormatTextAlign},
    {23, u"EMR_SETCOLORADJUSTMENT", u"SetColorAdjustment", FormatPlaceholder},
    {24, u"EMR_SETTEXTCOLOR", u"SetTextColor", FormatColorArg},
    {25, u"EMR_SETBKCOLOR", u"SetBkColor", FormatColorArg},
    {26, u"EMR_OFFSETCLIPRGN", u"OffsetClipRgn", FormatPlaceholder},
    {27, u"EMR_MOVETOEX", u"MoveToEx", FormatMoveLineTo},
    {28, u"EMR_SETMETARGN", u"SetMetaRgn", FormatDcOnly},
    {29, u"EMR_EXCLUDECLIPRECT", u"ExcludeClipRect", FormatRectArgs},
    {30, u"EMR_INTERSECTCLIPRECT", u"IntersectClipRect", FormatRectArgs},
    {31, u"EMR_SCALEVIEWPORTEXTEX", u"ScaleViewportExtEx", FormatPlaceholder},
    {32, u"EMR_SCALEWINDOWEXTEX", u"ScaleWindowExtEx", FormatPlaceholder},
    {33, u"EMR_SAVEDC", u"SaveDC", FormatDcOnly},
    {34, u"EMR_RESTOREDC", u"RestoreDC", FormatRestoreDC},
    {35, u"EMR_SETWORLDTRANSFORM", u"SetWorldTransform", FormatSetWorldTransform},
    {36, u"EMR_MODIFYWORLDTRANSFORM", u"ModifyWorldTransform", FormatModifyWorldTransform},
    {37, u"EMR_SELECTOBJECT", u"SelectObject", FormatObjectIndex},
    {38, u"EMR_CREATEPEN", u"CreatePen", FormatCreatePen},
    {39, u"EMR_CREATEBRUSHINDIRECT", u"CreateBrushIndirect", FormatCreateBrushIndirect},
    {40, u"EMR_DELETEOBJECT", u"DeleteObject", FormatObjectIndex},
    {41, u"EMR_ANGLEARC", u"AngleArc", FormatAngleArc},
    {42, u"EMR_ELLIPSE", u"Ellipse", FormatRectArgs},
    {43, u"EMR_RECTANGLE", u"Rectangle", FormatRectArgs},
    {44, u"EMR_ROUNDRECT", u"RoundRect", FormatRoundRect},
    {45, u"EMR_ARC", u"Arc", FormatArcChordPie},
    {46, u"EMR_CHORD", u"Chord", FormatArcChordPie},
    {47, u"EMR_PIE", u"Pie", FormatArcChordPie},
    {48, u"EMR_SELECTPALETTE", u"SelectPalette", FormatSelectPalette},
    {49, u"EMR_CREATEPALETTE", u"CreatePalette", FormatCreatePalette},
    {50, u"EMR_SETPALETTEENTRIES", u"SetPaletteEntries", FormatPlaceholder},
    {51, u"EMR_RESIZEPALETTE", u"ResizePalette", FormatPlaceholder},
    {52, u"EMR_REALIZEPALETTE", u"RealizePalette", FormatDcOnly},
    {53, u"EMR_EXTFLOODFILL", u"ExtFloodFill", FormatExtFloodFill},
    {54, u"EMR_LINETO", u"LineTo", FormatMoveLineTo},
    {55, u"EMR_ARCTO", u"ArcTo", FormatArcChordPie},
    {56, u"EMR_POLYDRAW", u"PolyDraw", FormatPlaceholder},
    {57, u"EMR_SETARCDIRECTION", u"SetArcDirection", FormatPlaceholder},
    {58, u"EMR_SETMITERLIMIT", u"SetMiterLimit", FormatMiterLimit},
    {59, u"EMR_BEGINPATH", u"BeginPath", FormatDcOnly},
    {60, u"EMR_ENDPATH", u"EndPath", FormatDcOnly},
    {61, u"EMR_CLOSEFIGURE", u"CloseFigure", FormatDcOnly},
    {62, u"EMR_FILLPATH", u"FillPath", FormatPathDraw},
    {63, u"EMR_STROKEANDFILLPATH", u"StrokeAndFillPath", FormatPathDraw},
    {64, u"EMR_STROKEPATH", u"StrokePath", FormatPathDraw},
    {65, u"EMR_FLATTENPATH", u"FlattenPath", FormatDcOnly},
    {66, u"EMR_WIDENPATH", u"WidenPath", FormatDcOnly},
    {67, u"EMR_SELECTCLIPPATH", u"SelectClipPath", FormatSelectClipPath},
    {68, u"EMR_ABORTPATH", u"AbortPath", FormatDcOnly},
    {69, u"undefined(69)", u"unfined(69)", FormatPlaceholder},
    {70, u"EMR_GDICOMMENT", u"GdiComment", FormatPlaceholder},
    {71, u"EMR_FILLRGN", u"FillRgn", FormatFillRgn},
    {72, u"EMR_FRAMERGN", u"FrameRgn", FormatFrameRgn},
    {73, u"EMR_INVERTRGN", u"InvertRgn", FormatInvertRgn},
    {74, u"EMR_PAINTRGN", u"PaintRgn", FormatPaintRgn},
    {75, u"EMR_EXTSELECTCLIPRGN", u"ExtSelectClipRgn", FormatExtSelectClipRgn},
    {76, u"EMR_BITBLT", u"BitBlt", FormatBitBlt},
    {77, u"EMR_STRETCHBLT", u"StretchBlt", FormatStretchBlt},
    {78, u"EMR_MASKBLT", u"MaskBlt", FormatMaskBlt},
    {79, u"EMR_PLGBLT", u"PlgBlt", FormatPlgBlt},
    {80, u"EMR_SETDIBITSTODEVICE", u"SetDIBitsToDevice", FormatPlaceholder},
    {81, u"EMR_STRETCHDIBITS", u"StretchDIBits", FormatStretchDIBits},
    {82, u"EMR_EXTCREATEFONTINDIRECTW", u"CreateFontIndirect", FormatCreateFont},
    {83, u"EMR_EXTTEXTOUTA", u"ExtTextOutA", FormatExtTextOut},
    {84, u"EMR_EXTTEXTOUTW", u"ExtTextOutW", FormatExtTextOut},
    {85, u"EMR_POLYBEZIER16", u"PolyBezier", FormatPolyPoints16},
    {86, u"EMR_POLYGON16", u"Polygon", FormatPolyPoints16},
    {87, u"EMR_POLYLINE16", u"Polyline", FormatPolyPoints16},
    {88, u"EMR_POLYBEZIERTO16", u"PolyBezierTo", FormatPolyPoints16},
    {89, u"EMR_POLYLINETO16", u"PolylineTo", FormatPolyPoints16},
    {90, u"EMR_POLYPOLYLINE16", u"PolyPolyline", FormatPolyPolyPoints16},
    {91, u"EMR_POLYPOLYGON16", u"PolyPolygon", FormatPolyPolyPoints16},
    {92, u"EMR_POLYDRAW16", u"EMR_POLYDRAW16", FormatPlaceholder},
    {93, u"EMR_CREATEMONOBRUSH", u"CreatePatternBrush", FormatMonoBrush},
    {94, u"EMR_CREATEDIBPATTERNBRUSHPT", u"CreateDIBPatternBrushPt", FormatDIBPatternBrushPt},
    {95, u"EMR_EXTCREATEPEN", u"ExtCreatePen", FormatExtCreatePen},
    {96, u"EMR_POLYTEXTOUTA", u"PolyTextOutA", FormatPlaceholder},
    {97, u"EMR_POLYTEXTOUTW", u"PolyTextOutW", FormatPlaceholder},
    {98, u"EMR_SETICMMODE", u"SetICMMode", FormatICMMode},
    {99, u"EMR_CREATECOLORSPACE", u"CreateColorSpace", FormatPlaceholder},
    {100, u"EMR_SETCOLORSPACE", u"SetColorSpace", FormatSetColorSpace},
    {101, u"EMR_DELETECOLORSPACE", u"DeleteColorSpace", FormatDeleteColorSpace},
    {102, u"EMR_GLSRECORD", u"EMR_GLSRECORD", FormatPlaceholder},
    {103, u"EMR_GLSBOUNDEDRECORD", u"EMR_GLSBOUNDEDRECORD", FormatPlaceholder},
    {104, u"EMR_PIXELFORMAT", u"PixelFormat", FormatPlaceholder},
    {105, u"EMR_DRAWESCAPE", u"DrawEscape", FormatPlaceholder},
    {106, u"EMR_EXTESCAPE", u"ExtEscape", FormatPlaceholder},
    {107, u"EMR_STARTDOC", u"StartDoc", FormatPlaceholder},
    {108, u"EMR_SMALLTEXTOUT", u"TextOut", FormatSmallTextOut},
    {109, u"EMR_FORCEUFIMAPPING", u"EMR_FORCEUFIMAPPING", FormatPlaceholder},
    {110, u"EMR_NAMEDESCAPE", u"EMR_NAMEDESCAPE", FormatPlaceholder},
    {111, u"EMR_COLORCORRECTPALETTE", u"ColorCorrectPalette", FormatPlaceholder},
    {112, u"EMR_SETICMPROFILEA", u"SetICMProfileA", FormatPlaceholder},
    {113, u"EMR_SETICMPROFILEW", u"SetICMProfileW", FormatPlaceholder},
    {114, u"EMR_ALPHABLEND", u"AlphaBlend", FormatPlaceholder},
    {115, u"EMR_ALPHADIBBLEND", u"EMR_ALPHADIBBLEND", FormatPlaceholder},
    {116, u"EMR_TRANSPARENTBLT", u"TransparentBlt", FormatPlaceholder},
    {117, u"EMR_TRANSPARENTDIB", u"EMR_TRANSPARENTDIB", FormatPlaceholder},
    {118, u"EMR_GRADIENTFILL", u"GradientFill", FormatPlaceholder},
    {119, u"EMR_SETLINKEDUFIS", u"EMR_SETLINKEDUFIS", FormatPlaceholder},
    {120, u"EMR_SETTEXTJUSTIFICATION", u"SetTextJustification", FormatTextJustification},
};

constexpr bool RowsAreInTypeOrder() {
    uint32_t expected = 1;
    for (const RecordTypeRow& row : kRecordTypes) {
        if (row.type != expected++) {
            return false;
        }
    }
    return expected == 121;
}
static_assert(RowsAreInTypeOrder(), "one row per type 1 to 120, in order");

const RecordTypeRow* FindRow(uint32_t type) {
    if (type == 0 || type > 120) {
        return nullptr;
    }
    return &kRecordTypes[type - 1];
}

}  // namespace

const char16_t* LookupCallName(uint32_t type) {
    const RecordTypeRow* row = FindRow(type);
    return row != nullptr ? row->call_name : nullptr;
}

const char16_t* LookupRecordName(uint32_t type) {
    const RecordTypeRow* row = FindRow(type);
    return row != nullptr ? row->record_name : nullptr;
}

CallFormatter LookupFormatter(uint32_t type) {
    const RecordTypeRow* row = FindRow(type);
    return row != nullptr ? row->formatter : nullptr;
}
