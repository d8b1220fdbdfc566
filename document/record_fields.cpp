// The fields of each record type, written as one layout line per type and read once into a
// table: "name:K" a value of kind K, "name:K3" three of them, "name:K[count]" as many as the
// field `count` says ("name:K[count!]": twice as many when the text options hold ETO_PDY, a
// spacing array of x and y pairs), "...@off" found at the offset the field `off` gives rather than
// after the field before it, and "name:*" every byte to the record's end. The kinds: i int32, u
// uint32, x hexadecimal, f float, c colour, w uint16, s int16, b bytes, t UTF-16 text, R rectangle,
// P point, S size, X transform, p 16-bit point, h object used, o object made.
#include "document/record_fields.h"

#include <algorithm>
#include <array>
#include <string>

#include "document/record_types.h"

namespace {

// The text option whose spacing array holds an x and a y for each character.
constexpr uint32_t kPdy = 0x2000;

struct Layout {
    uint32_t type;
    const char* fields;
};

// The drawing records' bitmap parts, shared by the bit-block records.
#define SOURCE_BITMAP \
    "xformSrc:X crBkColorSrc:c iUsageSrc:u offBmiSrc:u cbBmiSrc:u offBitsSrc:u cbBitsSrc:u"
#define SOURCE_BITS " BmiSrc:b[cbBmiSrc]@offBmiSrc BitsSrc:b[cbBitsSrc]@offBitsSrc"
#define MASK_BITMAP \
    " xMask:i yMask:i iUsageMask:u offBmiMask:u cbBmiMask:u offBitsMask:u cbBitsMask:u"
#define MASK_BITS " BmiMask:b[cbBmiMask]@offBmiMask BitsMask:b[cbBitsMask]@offBitsMask"
#define POINTS32 "rclBounds:R cptl:u aptl:P[cptl]"
#define POLY32 "rclBounds:R nPolys:u cptl:u aPolyCounts:u[nPolys] aptl:P[cptl]"
#define POINTS16 "rclBounds:R cpts:u apts:p[cpts]"
#define POLY16 "rclBounds:R nPolys:u cpts:u aPolyCounts:u[nPolys] apts:p[cpts]"
#define ARC "rclBox:R ptlStart:P ptlEnd:P"
#define TEXT_HEAD "rclBounds:R iGraphicsMode:u exScale:f eyScale:f"
#define EMRTEXT                                                                       \
    " emrtext.ptlReference:P emrtext.nChars:u emrtext.offString:u emrtext.fOptions:x" \
    " emrtext.rcl:R emrtext.offDx:u"
#define REGION "rclBounds:R cbRgnData:u"

constexpr Layout kLayouts[] = {
    {kEmrHeader,
     "rclBounds:R rclFrame:R dSignature:x nVersion:x nBytes:u nRecords:u nHandles:w sReserved:w"
     " nDescription:u offDescription:u nPalEntries:u szlDevice:S szlMillimeters:S"
     " cbPixelFormat:u offPixelFormat:u bOpenGL:u szlMicrometers:S"
     " Description:t[nDescription]@offDescription PixelFormat:b[cbPixelFormat]@offPixelFormat"},
    {kEmrPolyBezier, POINTS32},
    {kEmrPolygon, POINTS32},
    {kEmrPolyline, POINTS32},
    {kEmrPolyBezierTo, POINTS32},
    {kEmrPolylineTo, POINTS32},
    {kEmrPolyPolyline, POLY32},
    {kEmrPolyPolygon, POLY32},
    {kEmrSetWindowExtEx, "szlExtent:S"},
    {kEmrSetWindowOrgEx, "ptlOrigin:P"},
    {kEmrSetViewportExtEx, "szlExtent:S"},
    {kEmrSetViewportOrgEx, "ptlOrigin:P"},
    {kEmrSetBrushOrgEx, "ptlOrigin:P"},
    {kEmrEof, "nPalEntries:u offPalEntries:u aPalEntries:x[nPalEntries] nSizeLast:u"},
    {kEmrSetPixelV, "ptlPixel:P crColor:c"},
    {kEmrSetMapperFlags, "dwFlags:x"},
    {kEmrSetMapMode, "iMode:u"},
    {kEmrSetBkMode, "iMode:u"},
    {kEmrSetPolyFillMode, "iMode:u"},
    {kEmrSetRop2, "iMode:u"},
    {kEmrSetStretchBltMode, "iMode:u"},
    {kEmrSetTextAlign, "iMode:x"},
    {kEmrSetColorAdjustment,
     "caSize:w caFlags:w caIlluminantIndex:w caRedGamma:w caGreenGamma:w caBlueGamma:w"
     " caReferenceBlack:w caReferenceWhite:w caContrast:s caBrightness:s caColorfulness:s"
     " caRedGreenTint:s"},
    {kEmrSetTextColor, "crColor:c"},
    {kEmrSetBkColor, "crColor:c"},
    {kEmrOffsetClipRgn, "ptlOffset:P"},
    {kEmrMoveToEx, "ptl:P"},
    {kEmrSetMetaRgn, ""},
    {kEmrExcludeClipRect, "rclClip:R"},
    {kEmrIntersectClipRect, "rclClip:R"},
    {kEmrScaleViewportExtEx, "xNum:i xDenom:i yNum:i yDenom:i"},
    {kEmrScaleWindowExtEx, "xNum:i xDenom:i yNum:i yDenom:i"},
    {kEmrSaveDc, ""},
    {kEmrRestoreDc, "iRelative:i"},
    {kEmrSetWorldTransform, "xform:X"},
    {kEmrModifyWorldTransform, "xform:X iMode:u"},
    {kEmrSelectObject, "ihObject:h"},
    {kEmrCreatePen, "ihPen:o lopn.lopnStyle:x lopn.lopnWidth:P lopn.lopnColor:c"},
    {kEmrCreateBrushIndirect, "ihBrush:o lb.lbStyle:u lb.lbColor:c lb.lbHatch:u"},
    {kEmrDeleteObject, "ihObject:h"},
    {kEmrAngleArc, "ptlCenter:P nRadius:u eStartAngle:f eSweepAngle:f"},
    {kEmrEllipse, "rclBox:R"},
    {kEmrRectangle, "rclBox:R"},
    {kEmrRoundRect, "rclBox:R szlCorner:S"},
    {kEmrArc, ARC},
    {kEmrChord, ARC},
    {kEmrPie, ARC},
    {kEmrSelectPalette, "ihPal:h"},
    {kEmrCreatePalette,
     "ihPal:o lgpl.palVersion:w lgpl.palNumEntries:w lgpl.palPalEntry:x[lgpl.palNumEntries]"},
    {kEmrSetPaletteEntries, "ihPal:h iStart:u cEntries:u aPalEntries:x[cEntries]"},
    {kEmrResizePalette, "ihPal:h cEntries:u"},
    {kEmrRealizePalette, ""},
    {kEmrExtFloodFill, "ptlStart:P crColor:c iMode:u"},
    {kEmrLineTo, "ptl:P"},
    {kEmrArcTo, ARC},
    {kEmrPolyDraw, "rclBounds:R cptl:u aptl:P[cptl] abTypes:b[cptl]"},
    {kEmrSetArcDirection, "iArcDirection:u"},
    {kEmrSetMiterLimit, "eMiterLimit:f"},
    {kEmrBeginPath, ""},
    {kEmrEndPath, ""},
    {kEmrCloseFigure, ""},
    {kEmrFillPath, "rclBounds:R"},
    {kEmrStrokeAndFillPath, "rclBounds:R"},
    {kEmrStrokePath, "rclBounds:R"},
    {kEmrFlattenPath, ""},
    {kEmrWidenPath, ""},
    {kEmrSelectClipPath, "iMode:u"},
    {kEmrAbortPath, ""},
    {kEmrGdiComment, "cbData:u Data:b[cbData]"},
    {kEmrFillRgn, REGION " ihBrush:h RgnData:b[cbRgnData]"},
    {kEmrFrameRgn, REGION " ihBrush:h szlStroke:S RgnData:b[cbRgnData]"},
    {kEmrInvertRgn, REGION " RgnData:b[cbRgnData]"},
    {kEmrPaintRgn, REGION " RgnData:b[cbRgnData]"},
    {kEmrExtSelectClipRgn, "cbRgnData:u iMode:u RgnData:b[cbRgnData]"},
    {kEmrBitBlt,
     "rclBounds:R xDest:i yDest:i cxDest:i cyDest:i dwRop:x xSrc:i ySrc:i " SOURCE_BITMAP
         SOURCE_BITS},
    {kEmrStretchBlt,
     "rclBounds:R xDest:i yDest:i cxDest:i cyDest:i dwRop:x xSrc:i ySrc:i " SOURCE_BITMAP
     " cxSrc:i cySrc:i" SOURCE_BITS},
    {kEmrMaskBlt,
     "rclBounds:R xDest:i yDest:i cxDest:i cyDest:i dwRop:x xSrc:i ySrc:i " SOURCE_BITMAP
         MASK_BITMAP SOURCE_BITS MASK_BITS},
    {kEmrPlgBlt, "rclBounds:R aptlDest:P3 xSrc:i ySrc:i cxSrc:i cySrc:i " SOURCE_BITMAP MASK_BITMAP
                     SOURCE_BITS MASK_BITS},
    {kEmrSetDiBitsToDevice,
     "rclBounds:R xDest:i yDest:i xSrc:i ySrc:i cxSrc:i cySrc:i offBmiSrc:u cbBmiSrc:u"
     " offBitsSrc:u cbBitsSrc:u iUsageSrc:u iStartScan:u cScans:u" SOURCE_BITS},
    {kEmrStretchDiBits,
     "rclBounds:R xDest:i yDest:i xSrc:i ySrc:i cxSrc:i cySrc:i offBmiSrc:u cbBmiSrc:u"
     " offBitsSrc:u cbBitsSrc:u iUsageSrc:u dwRop:x cxDest:i cyDest:i" SOURCE_BITS},
    {kEmrExtCreateFontIndirectW,
     "ihFont:o elfw.lfHeight:i elfw.lfWidth:i elfw.lfEscapement:i elfw.lfOrientation:i"
     " elfw.lfWeight:i elfw.lfItalic:b elfw.lfUnderline:b elfw.lfStrikeOut:b elfw.lfCharSet:b"
     " elfw.lfOutPrecision:b elfw.lfClipPrecision:b elfw.lfQuality:b elfw.lfPitchAndFamily:b"
     " elfw.lfFaceName:t32 elfw.elfFullName:t64 elfw.elfStyle:t32 elfw.elfVersion:u"
     " elfw.elfStyleSize:u elfw.elfMatch:u elfw.elfReserved:u elfw.elfVendorId:x"
     " elfw.elfCulture:u elfw.elfPanose:b10"},
    {kEmrExtTextOutA, TEXT_HEAD EMRTEXT
     " String:b[emrtext.nChars]@emrtext.offString Dx:i[emrtext.nChars!]@emrtext.offDx"},
    {kEmrExtTextOutW, TEXT_HEAD EMRTEXT
     " String:t[emrtext.nChars]@emrtext.offString Dx:i[emrtext.nChars!]@emrtext.offDx"},
    {kEmrPolyBezier16, POINTS16},
    {kEmrPolygon16, POINTS16},
    {kEmrPolyline16, POINTS16},
    {kEmrPolyBezierTo16, POINTS16},
    {kEmrPolylineTo16, POINTS16},
    {kEmrPolyPolyline16, POLY16},
    {kEmrPolyPolygon16, POLY16},
    {kEmrPolyDraw16, "rclBounds:R cpts:u apts:p[cpts] abTypes:b[cpts]"},
    {kEmrCreateMonoBrush,
     "ihBrush:o iUsage:u offBmi:u cbBmi:u offBits:u cbBits:u Bmi:b[cbBmi]@offBmi"
     " Bits:b[cbBits]@offBits"},
    {kEmrCreateDibPatternBrushPt,
     "ihBrush:o iUsage:u offBmi:u cbBmi:u offBits:u cbBits:u Bmi:b[cbBmi]@offBmi"
     " Bits:b[cbBits]@offBits"},
    {kEmrExtCreatePen,
     "ihPen:o offBmi:u cbBmi:u offBits:u cbBits:u elp.elpPenStyle:x elp.elpWidth:u"
     " elp.elpBrushStyle:u elp.elpColor:c elp.elpHatch:u elp.elpNumEntries:u"
     " elp.elpStyleEntry:u[elp.elpNumEntries] Bmi:b[cbBmi]@offBmi Bits:b[cbBits]@offBits"},
    {kEmrPolyTextOutA, TEXT_HEAD " cStrings:u aemrtext:*"},
    {kEmrPolyTextOutW, TEXT_HEAD " cStrings:u aemrtext:*"},
    {kEmrSetIcmMode, "iMode:u"},
    {kEmrCreateColorSpace, "ihCS:o lcs:*"},
    {kEmrSetColorSpace, "ihCS:h"},
    {kEmrDeleteColorSpace, "ihCS:h"},
    {kEmrGlsRecord, "cbData:u Data:*"},
    {kEmrGlsBoundedRecord, "rclBounds:R cbData:u Data:*"},
    {kEmrPixelFormat, "pfd:*"},
    {kEmrDrawEscape, "iEscape:i cjIn:u Data:b[cjIn]"},
    {kEmrExtEscape, "iEscape:i cjIn:u Data:b[cjIn]"},
    {kEmrSmallTextOut, "x:i y:i cChars:u fuOptions:x iGraphicsMode:u exScale:f eyScale:f rest:*"},
    {kEmrForceUfiMapping, "ufi.CheckSum:x ufi.Index:u"},
    {kEmrNamedEscape, "iEscape:i cjDriver:u cjIn:u rest:*"},
    {kEmrColorCorrectPalette, "ihPalette:h nFirstEntry:u nPalEntries:u nReserved:u"},
    {kEmrSetIcmProfileA, "dwFlags:x cbName:u cbData:u Data:*"},
    {kEmrSetIcmProfileW, "dwFlags:x cbName:u cbData:u Data:*"},
    {kEmrAlphaBlend,
     "rclBounds:R xDest:i yDest:i cxDest:i cyDest:i BlendFunction:x xSrc:i ySrc:i " SOURCE_BITMAP
     " cxSrc:i cySrc:i" SOURCE_BITS},
    {kEmrSetLayout, "iMode:x"},
    {kEmrTransparentBlt,
     "rclBounds:R xDest:i yDest:i cxDest:i cyDest:i TransparentColor:c xSrc:i ySrc:i " SOURCE_BITMAP
     " cxSrc:i cySrc:i" SOURCE_BITS},
    {kEmrGradientFill, "rclBounds:R nVer:u nTri:u ulMode:u Ver:*"},
    {kEmrSetLinkedUfis, "data:*"},
    {kEmrSetTextJustification, "nBreakExtra:i nBreakCount:i"},
    {kEmrColorMatchToTargetW, "dwAction:u dwFlags:x cbName:u cbData:u Data:*"},
    {kEmrCreateColorSpaceW, "ihCS:o lcs:*"},
};

// One field of a layout line, as read from it.
struct FieldSpec {
    std::string_view name;
    FieldKind kind;
    FieldClass field_class;
    uint32_t fixed = 1;      // elements when no field gives the count
    int count_field = -1;    // the field that gives the count, or -1
    int offset_field = -1;   // the field that gives the offset, or -1
    int options_field = -1;  // the text options that double the count, or -1
    bool array = false;
    bool rest = false;  // every byte to the record's end
};

struct TypeLayout {
    bool known = false;
    std::vector<FieldSpec> fields;
};

constexpr std::string_view kHeaderFields[] = {"rclBounds",      "rclFrame",    "nBytes",
                                              "nRecords",       "nHandles",    "nDescription",
                                              "offDescription", "szlDevice",   "szlMillimeters",
                                              "szlMicrometers", "Description", "offPixelFormat"};

FieldKind KindOf(char letter) {
    switch (letter) {
        case 'i':
            return FieldKind::kInt;
        case 'u':
            return FieldKind::kUnsigned;
        case 'x':
            return FieldKind::kHex;
        case 'f':
            return FieldKind::kFloat;
        case 'c':
            return FieldKind::kColor;
        case 'w':
            return FieldKind::kWord;
        case 's':
            return FieldKind::kShort;
        case 't':
            return FieldKind::kText;
        case 'R':
            return FieldKind::kRect;
        case 'P':
            return FieldKind::kPoint;
        case 'S':
            return FieldKind::kSize;
        case 'X':
            return FieldKind::kXform;
        case 'p':
            return FieldKind::kPoint16;
        case 'h':
            return FieldKind::kHandle;
        case 'o':
            return FieldKind::kObject;
        default:
            return FieldKind::kByte;
    }
}

FieldClass ClassOf(uint32_t type, std::string_view name, FieldKind kind) {
    if (type == kEmrHeader) {
        for (const std::string_view header : kHeaderFields) {
            if (name == header) {
                return FieldClass::kHeader;
            }
        }
        return FieldClass::kDrawing;
    }
    if (kind == FieldKind::kHandle || kind == FieldKind::kObject) {
        return FieldClass::kNumbering;
    }
    if (name == "rclBounds") {
        return FieldClass::kBounds;
    }
    if (name == "exScale" || name == "eyScale") {
        return FieldClass::kScale;
    }
    const size_t last = name.rfind('.');
    const std::string_view leaf = last == std::string_view::npos ? name : name.substr(last + 1);
    return leaf.starts_with("off") ? FieldClass::kLayout : FieldClass::kDrawing;
}

int FindSpec(const std::vector<FieldSpec>& specs, std::string_view name) {
    for (size_t i = 0; i < specs.size(); ++i) {
        if (specs[i].name == name) {
            return static_cast<int>(i);
        }
    }
    return -1;
}

TypeLayout ParseLayout(uint32_t type, std::string_view line) {
    TypeLayout layout;
    layout.known = true;
    while (!line.empty()) {
        const size_t space = line.find(' ');
        std::string_view token = line.substr(0, space);
        line = space == std::string_view::npos ? std::string_view() : line.substr(space + 1);
        if (token.empty()) {
            continue;
        }
        const size_t colon = token.find(':');
        FieldSpec spec;
        spec.name = token.substr(0, colon);
        std::string_view kind = token.substr(colon + 1);
        if (const size_t at = kind.find('@'); at != std::string_view::npos) {
            spec.offset_field = FindSpec(layout.fields, kind.substr(at + 1));
            kind = kind.substr(0, at);
        }
        spec.rest = kind == "*";
        spec.kind = spec.rest ? FieldKind::kByte : KindOf(kind[0]);
        kind.remove_prefix(1);
        if (kind.starts_with('[')) {
            std::string_view count = kind.substr(1, kind.size() - 2);
            if (count.ends_with('!')) {
                count.remove_suffix(1);
                spec.options_field = FindSpec(layout.fields, "emrtext.fOptions");
            }
            spec.count_field = FindSpec(layout.fields, count);
            spec.array = true;
        } else if (!kind.empty()) {
            spec.fixed = 0;
            for (const char digit : kind) {
                spec.fixed = spec.fixed * 10 + static_cast<uint32_t>(digit - '0');
            }
            spec.array = true;
        }
        // A block of bytes or a string is one value, whatever its length.
        spec.array = spec.array && spec.kind != FieldKind::kByte && spec.kind != FieldKind::kText;
        spec.field_class = ClassOf(type, spec.name, spec.kind);
        layout.fields.push_back(spec);
    }
    return layout;
}

const std::array<TypeLayout, kEmrLastType + 1>& Layouts() {
    static const std::array<TypeLayout, kEmrLastType + 1> layouts = [] {
        std::array<TypeLayout, kEmrLastType + 1> table;
        for (const Layout& layout : kLayouts) {
            table[layout.type] = ParseLayout(layout.type, layout.fields);
        }
        return table;
    }();
    return layouts;
}

}  // namespace

uint32_t FieldElementBytes(FieldKind kind) {
    switch (kind) {
        case FieldKind::kByte:
            return 1;
        case FieldKind::kWord:
        case FieldKind::kShort:
        case FieldKind::kText:
            return 2;
        case FieldKind::kRect:
            return 16;
        case FieldKind::kPoint:
        case FieldKind::kSize:
            return 8;
        case FieldKind::kXform:
            return 24;
        default:
            return 4;
    }
}

std::vector<std::string_view> FieldPartNames(FieldKind kind) {
    switch (kind) {
        case FieldKind::kRect:
            return {"left", "top", "right", "bottom"};
        case FieldKind::kPoint:
        case FieldKind::kPoint16:
            return {"x", "y"};
        case FieldKind::kSize:
            return {"cx", "cy"};
        case FieldKind::kXform:
            return {"eM11", "eM12", "eM21", "eM22", "eDx", "eDy"};
        default:
            return {};
    }
}

uint32_t ReadRecordFields(RecordView record, std::vector<RecordField>& fields) {
    fields.clear();
    RecordReader reader(record);
    const uint32_t size = reader.size();
    const uint32_t type = RecordType(record);
    const TypeLayout* layout = type <= kEmrLastType ? &Layouts()[type] : nullptr;
    if (layout == nullptr || !layout->known) {
        const uint32_t count = size > 8 ? size - 8 : 0;
        fields.push_back({"data", FieldKind::kByte, FieldClass::kDrawing, 8, count, count, false});
        return size;
    }
    // Where each field lies, for the counts and offsets later fields take from it.
    uint32_t offsets[64];
    uint64_t next = 8;
    uint32_t end = size < 8 ? size : 8;
    for (size_t i = 0; i < layout->fields.size() && i < 64; ++i) {
        const FieldSpec& spec = layout->fields[i];
        const uint32_t width = FieldElementBytes(spec.kind);
        uint64_t at = next;
        if (spec.offset_field >= 0) {
            const FieldSpec& from = layout->fields[static_cast<size_t>(spec.offset_field)];
            at = from.kind == FieldKind::kWord ? reader.U16(offsets[spec.offset_field])
                                               : reader.U32(offsets[spec.offset_field]);
        }
        uint64_t declared = spec.fixed;
        if (spec.count_field >= 0) {
            const FieldSpec& from = layout->fields[static_cast<size_t>(spec.count_field)];
            declared = from.kind == FieldKind::kWord ? reader.U16(offsets[spec.count_field])
                                                     : reader.U32(offsets[spec.count_field]);
        }
        if (spec.options_field >= 0 && (reader.U32(offsets[spec.options_field]) & kPdy) != 0) {
            declared *= 2;
        }
        if (spec.rest) {
            declared = at < size ? size - at : 0;
        }
        const uint32_t start = at < size ? static_cast<uint32_t>(at) : size;
        offsets[i] = start;
        const uint32_t inside = reader.CountInside(
            start, declared > UINT32_MAX ? UINT32_MAX : static_cast<uint32_t>(declared), width);
        const uint32_t claimed = declared > UINT32_MAX ? UINT32_MAX : uint32_t(declared);
        fields.push_back(
            {spec.name, spec.kind, spec.field_class, start, inside, claimed, spec.array});
        if (inside > 0) {
            end = std::max(end, start + inside * width);
        }
        if (spec.offset_field < 0) {
            next = at + declared * width;
        }
    }
    return end;
}
