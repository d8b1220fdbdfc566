// Decides whether the EMF+ records inside the comment records of a metafile are sound for the
// platform's EMF+ player, and mends the ones that are not.
#include "emfplus/emfplus_guard.h"

#include <array>
#include <cmath>
#include <cstring>

#include "emfplus/decode_support.h"
#include "emfplus/emfplus_names.h"
#include "emfplus/emfplus_object_types.h"
#include "emfplus/emfplus_walk.h"
#include "emfplus/split_objects.h"

namespace {

using Fault = EmfPlusGuardFault;
using Verdict = EmfPlusGuardVerdict;

constexpr uint32_t kD = kEmfPlusRecordHeaderBytes;
constexpr uint32_t kObjectSlots = 64;
// Deeper region trees than this are not handed on: the player walks them recursively.
constexpr uint32_t kDeepestRegion = 1024;

using namespace emfplus_object_types;

constexpr Verdict Fail(Fault fault, const char* field) {
    return Verdict{fault, field};
}

// The bytes of one object, or of one record's data: [at, end) of `r`, every read checked against
// both the range and the record.
struct Span {
    RecordReader& r;
    uint32_t end;

    bool Has(uint64_t at, uint64_t length) const { return at <= end && length <= end - at; }
    uint32_t U32(uint64_t at) { return Has(at, 4) ? r.U32(static_cast<uint32_t>(at)) : 0; }
    uint8_t U8(uint64_t at) { return Has(at, 1) ? r.U8(static_cast<uint32_t>(at)) : 0; }
    Span Sub(uint64_t at, uint64_t length) const {
        return Span{r, Has(at, length) ? static_cast<uint32_t>(at + length) : end};
    }
};

// The largest magnitude of a coordinate, angle or matrix element handed on: the player's
// flattening of curves subdivides without end on a coordinate that is not a number, and products
// of larger values reach infinity.
constexpr float kLargestFloat = 1e18f;

// Whether the `count` floats from `at` are numbers within kLargestFloat; those the span does not
// hold are left to the size checks.
bool FloatsInRange(Span& s, uint64_t at, uint64_t count) {
    for (uint64_t i = 0; i < count && s.Has(at + 4 * i, 4); ++i) {
        const uint32_t bits = s.U32(at + 4 * i);
        float value;
        std::memcpy(&value, &bits, 4);
        if (!(std::fabs(value) <= kLargestFloat)) {
            return false;
        }
    }
    return true;
}

// Moves `at` past `count` points of `form`; false when they do not all lie in the span.
bool SkipPoints(Span& s, uint64_t* at, uint32_t count, PointForm form) {
    if (form != PointForm::kRelative) {
        const uint64_t bytes = uint64_t{count} * (form == PointForm::kInt16 ? 4 : 8);
        if (!s.Has(*at, bytes)) {
            return false;
        }
        *at += bytes;
        return true;
    }
    // Relative points: each coordinate one byte, or two when the first byte's top bit is set.
    uint64_t p = *at;
    for (uint64_t coordinate = 0; coordinate < uint64_t{count} * 2; ++coordinate) {
        if (!s.Has(p, 1)) {
            return false;
        }
        p += (s.U8(p) & 0x80) ? 2 : 1;
    }
    if (p > s.end) {
        return false;
    }
    *at = p;
    return true;
}

// A counted array inside an object: a 4-byte count at `*at`, then count elements of `width`.
bool SkipCounted(Span& s, uint64_t* at, uint32_t width) {
    if (!s.Has(*at, 4)) {
        return false;
    }
    const uint64_t bytes = uint64_t{s.U32(*at)} * width;
    if (!s.Has(*at + 4, bytes)) {
        return false;
    }
    *at += 4 + bytes;
    return true;
}

// Two arrays of one count: positions then values.
bool SkipCountedPair(Span& s, uint64_t* at, uint32_t width_each) {
    return SkipCounted(s, at, 2 * width_each);
}

Verdict CheckPath(Span s, uint64_t at) {
    if (!s.Has(at, 12)) {
        return Fail(Fault::kObjectDataBeyondObject, "PathPointCount");
    }
    const uint32_t count = s.U32(at + 4);
    const uint32_t flags = s.U32(at + 8);
    const PointForm form = (flags & 0x0800)   ? PointForm::kRelative
                           : (flags & 0x4000) ? PointForm::kInt16
                                              : PointForm::kFloat;
    uint64_t p = at + 12;
    if (!SkipPoints(s, &p, count, form)) {
        return Fail(Fault::kCountBeyondRecord, "PathPoints");
    }
    if (form == PointForm::kFloat && !FloatsInRange(s, at + 12, uint64_t{count} * 2)) {
        return Fail(Fault::kUnsafeValue, "PathPoints");
    }
    if ((flags & 0x1000) == 0) {
        return s.Has(p, count) ? Verdict{} : Fail(Fault::kCountBeyondRecord, "PathPointTypes");
    }
    // Run-length encoded types: a run count in the low 6 bits of the first byte, then the type.
    uint64_t types = 0;
    while (types < count) {
        if (!s.Has(p, 2)) {
            return Fail(Fault::kCountBeyondRecord, "PathPointTypes");
        }
        types += s.U8(p) & 0x3F;
        p += 2;
        if ((s.U8(p - 2) & 0x3F) == 0) {
            return Fail(Fault::kPartsDisagree, "PathPointTypes");
        }
    }
    return types == count ? Verdict{} : Fail(Fault::kPartsDisagree, "PathPointTypes");
}

// A path held inside another object: its 4-byte size, then the path of that size.
Verdict CheckSizedPath(Span& s, uint64_t* at) {
    if (!s.Has(*at, 4)) {
        return Fail(Fault::kObjectDataBeyondObject, "PathLength");
    }
    const uint32_t length = s.U32(*at);
    if (!s.Has(*at + 4, length)) {
        return Fail(Fault::kObjectDataBeyondObject, "PathLength");
    }
    const Verdict path = CheckPath(s.Sub(*at + 4, length), *at + 4);
    *at += 4 + uint64_t{length};
    return path;
}

// One region node and its children; `*at` moves past them.
Verdict CheckRegionNode(Span& s, uint64_t* at, uint32_t depth) {
    if (depth > kDeepestRegion) {
        return Fail(Fault::kUnsafeValue, "RegionNode");
    }
    if (!s.Has(*at, 4)) {
        return Fail(Fault::kObjectDataBeyondObject, "RegionNode");
    }
    const uint32_t type = s.U32(*at);
    *at += 4;
    switch (type) {
        case 1:
        case 2:
        case 3:
        case 4:
        case 5: {
            const Verdict left = CheckRegionNode(s, at, depth + 1);
            return left.sound() ? CheckRegionNode(s, at, depth + 1) : left;
        }
        case 0x10000000:
            if (!s.Has(*at, 16)) {
                return Fail(Fault::kObjectDataBeyondObject, "RegionNodeRect");
            }
            *at += 16;
            return Verdict{};
        case 0x10000001:
            return CheckSizedPath(s, at);
        case 0x10000002:
        case 0x10000003:
            return Verdict{};
        default:
            return Fail(Fault::kUnsafeValue, "RegionNodeDataType");
    }
}

Verdict CheckRegion(Span s, uint64_t at) {
    if (!s.Has(at, 8)) {
        return Fail(Fault::kObjectDataBeyondObject, "RegionNodeCount");
    }
    uint64_t p = at + 8;
    return CheckRegionNode(s, &p, 0);
}

Verdict CheckImage(Span s, uint64_t at);

// The optional data of a gradient brush after its fixed fields, by its flags.
Verdict CheckGradientTail(Span& s, uint64_t p, uint32_t flags, bool linear) {
    if ((flags & 0x02) && !s.Has(p, 24)) {
        return Fail(Fault::kObjectDataBeyondObject, "Transform");
    }
    p += (flags & 0x02) ? 24 : 0;
    if ((flags & 0x04) && !SkipCountedPair(s, &p, 4)) {
        return Fail(Fault::kCountBeyondRecord, "PresetColors");
    }
    if ((flags & 0x08) && !SkipCountedPair(s, &p, 4)) {
        return Fail(Fault::kCountBeyondRecord, "BlendFactorsH");
    }
    if (linear) {
        if ((flags & 0x10) && !SkipCountedPair(s, &p, 4)) {
            return Fail(Fault::kCountBeyondRecord, "BlendFactorsV");
        }
        return Verdict{};
    }
    if (flags & 0x40) {
        if (!s.Has(p, 12) || s.U32(p) != 2) {
            return Fail(Fault::kCountBeyondRecord, "FocusScaleCount");
        }
    }
    return Verdict{};
}

Verdict CheckBrush(Span s, uint64_t at) {
    if (!s.Has(at, 8)) {
        return Fail(Fault::kObjectDataBeyondObject, "BrushData");
    }
    const uint32_t type = s.U32(at + 4);
    const uint64_t data = at + 8;
    switch (type) {
        case 0:  // solid colour
            return s.Has(data, 4) ? Verdict{} : Fail(Fault::kObjectDataBeyondObject, "SolidColor");
        case 1:  // hatch: the style picks one of the player's patterns
            if (!s.Has(data, 12)) {
                return Fail(Fault::kObjectDataBeyondObject, "HatchStyle");
            }
            return s.U32(data) <= 52 ? Verdict{} : Fail(Fault::kUnsafeValue, "HatchStyle");
        case 2: {  // texture: an image object after the optional transform
            if (!s.Has(data, 8)) {
                return Fail(Fault::kObjectDataBeyondObject, "BrushDataFlags");
            }
            const uint32_t flags = s.U32(data);
            uint64_t p = data + 8;
            if (flags & 0x02) {
                if (!s.Has(p, 24)) {
                    return Fail(Fault::kObjectDataBeyondObject, "Transform");
                }
                p += 24;
            }
            return CheckImage(s, p);
        }
        case 3: {  // path gradient
            if (!s.Has(data, 24)) {
                return Fail(Fault::kObjectDataBeyondObject, "SurroundingColorCount");
            }
            const uint32_t flags = s.U32(data);
            uint64_t p = data + 20;
            if (!SkipCounted(s, &p, 4)) {
                return Fail(Fault::kCountBeyondRecord, "SurroundingColor");
            }
            if (flags & 0x01) {
                const Verdict path = CheckSizedPath(s, &p);
                if (!path.sound()) {
                    return path;
                }
            } else if (!SkipCounted(s, &p, 8)) {
                return Fail(Fault::kCountBeyondRecord, "BoundaryPointData");
            }
            return CheckGradientTail(s, p, flags, false);
        }
        case 4: {  // linear gradient
            if (!s.Has(data, 40)) {
                return Fail(Fault::kObjectDataBeyondObject, "LinearGradientBrushData");
            }
            return CheckGradientTail(s, data + 40, s.U32(data), true);
        }
        default:
            return Fail(Fault::kUnsafeValue, "BrushType");
    }
}

Verdict CheckCustomLineCap(Span s, uint64_t at) {
    if (!s.Has(at, 8)) {
        return Fail(Fault::kObjectDataBeyondObject, "CustomLineCapData");
    }
    const uint32_t type = s.U32(at + 4);
    const uint64_t data = at + 8;
    if (type == 1) {  // adjustable arrow
        return s.Has(data, 52) ? Verdict{}
                               : Fail(Fault::kObjectDataBeyondObject, "CustomLineCapData");
    }
    if (type != 0) {
        return Fail(Fault::kUnsafeValue, "CustomLineCapDataType");
    }
    if (!s.Has(data, 48)) {
        return Fail(Fault::kObjectDataBeyondObject, "CustomLineCapData");
    }
    const uint32_t flags = s.U32(data);
    uint64_t p = data + 48;
    for (uint32_t bit : {1u, 2u}) {  // the fill path, then the line path
        if (flags & bit) {
            const Verdict path = CheckSizedPath(s, &p);
            if (!path.sound()) {
                return path;
            }
        }
    }
    return Verdict{};
}

Verdict CheckPen(Span s, uint64_t at) {
    if (!s.Has(at, 20)) {
        return Fail(Fault::kObjectDataBeyondObject, "PenData");
    }
    const uint32_t flags = s.U32(at + 8);
    // Transform, start cap, end cap, join, miter limit, line style, dash cap, dash offset.
    constexpr uint32_t kFixed[] = {24, 4, 4, 4, 4, 4, 4, 4};
    uint64_t p = at + 20;
    for (uint32_t bit = 0; bit < 8; ++bit) {
        p += (flags & (1u << bit)) ? kFixed[bit] : 0;
    }
    if ((flags & 0x100) && !SkipCounted(s, &p, 4)) {
        return Fail(Fault::kCountBeyondRecord, "DashedLineData");
    }
    p += (flags & 0x200) ? 4 : 0;
    if ((flags & 0x400) && !SkipCounted(s, &p, 4)) {
        return Fail(Fault::kCountBeyondRecord, "CompoundLineData");
    }
    for (uint32_t bit : {0x800u, 0x1000u}) {  // the custom start cap, then the end cap
        if (flags & bit) {
            if (!s.Has(p, 4) || !s.Has(p + 4, s.U32(p))) {
                return Fail(Fault::kObjectDataBeyondObject, "CustomCapSize");
            }
            const uint32_t length = s.U32(p);
            const Verdict cap = CheckCustomLineCap(s.Sub(p + 4, length), p + 4);
            if (!cap.sound()) {
                return cap;
            }
            p += 4 + uint64_t{length};
        }
    }
    if (p > s.end) {
        return Fail(Fault::kObjectDataBeyondObject, "OptionalData");
    }
    return CheckBrush(s, p);
}

// The bits per pixel of a known pixel format other than the undefined one, or 0.
uint32_t BitsPerPixel(uint32_t format) {
    const SymbolTable& table = kEmfPlusPixelFormatSymbols;
    for (size_t k = 0; k < table.count; ++k) {
        if (table.entries[k].value == format) {
            return (format >> 8) & 0xFF;
        }
    }
    return 0;
}

Verdict CheckImage(Span s, uint64_t at) {
    if (!s.Has(at, 8)) {
        return Fail(Fault::kObjectDataBeyondObject, "ImageData");
    }
    const uint32_t type = s.U32(at + 4);
    const uint64_t data = at + 8;
    if (type == 2) {
        // A metafile inside the picture would be played by the same player, unguarded.
        return Fail(Fault::kNestedMetafile, "ImageDataType");
    }
    if (type != 1) {
        return Fail(Fault::kUnsafeValue, "ImageDataType");
    }
    if (!s.Has(data, 20)) {
        return Fail(Fault::kObjectDataBeyondObject, "BitmapData");
    }
    const uint32_t width = s.U32(data);
    const uint32_t height = s.U32(data + 4);
    const int32_t stride = static_cast<int32_t>(s.U32(data + 8));
    const uint32_t format = s.U32(data + 12);
    const uint32_t bitmap_type = s.U32(data + 16);
    if (bitmap_type == 1) {  // compressed: the codec is given the rest of the object
        return Verdict{};
    }
    if (bitmap_type != 0) {
        return Fail(Fault::kUnsafeValue, "BitmapDataType");
    }
    const uint32_t bits = BitsPerPixel(format);
    if (bits == 0) {
        return Fail(Fault::kUnsafeValue, "PixelFormat");
    }
    uint64_t p = data + 20;
    if (format & 0x00010000) {  // indexed: a palette first
        if (!s.Has(p, 8)) {
            return Fail(Fault::kObjectDataBeyondObject, "PaletteCount");
        }
        const uint32_t entries = s.U32(p + 4);
        if (entries == 0 || entries > (1u << bits)) {
            return Fail(Fault::kUnsafeValue, "PaletteCount");
        }
        p += 4;
        if (!SkipCounted(s, &p, 4)) {
            return Fail(Fault::kCountBeyondRecord, "PaletteEntries");
        }
    }
    const uint64_t row = (uint64_t{width} * bits + 7) / 8;
    if (width == 0 || height == 0 || stride <= 0 || static_cast<uint64_t>(stride) < row) {
        return Fail(Fault::kPartsDisagree, "Stride");
    }
    if (!s.Has(p, static_cast<uint64_t>(stride) * height)) {
        return Fail(Fault::kObjectDataBeyondObject, "BitmapDataPixels");
    }
    return Verdict{};
}

// The object of `type` whose bytes are [at, s.end).
Verdict CheckObject(Span s, uint64_t at, uint32_t type) {
    switch (type) {
        case kBrush:
            return CheckBrush(s, at);
        case kPen:
            return CheckPen(s, at);
        case kPath:
            return CheckPath(s, at);
        case kRegion:
            return CheckRegion(s, at);
        case kImage:
            return CheckImage(s, at);
        case kFont:
            if (!s.Has(at, 24)) {
                return Fail(Fault::kObjectDataBeyondObject, "FontData");
            }
            return s.Has(at + 24, uint64_t{s.U32(at + 20)} * 2)
                       ? Verdict{}
                       : Fail(Fault::kCountBeyondRecord, "Length");
        case kStringFormat:
            if (!s.Has(at, 60)) {
                return Fail(Fault::kObjectDataBeyondObject, "StringFormatData");
            }
            return s.Has(at + 60, uint64_t{s.U32(at + 52)} * 4 + uint64_t{s.U32(at + 56)} * 8)
                       ? Verdict{}
                       : Fail(Fault::kCountBeyondRecord, "TabStopCount");
        case kImageAttributes:
            return s.Has(at, 24) ? Verdict{}
                                 : Fail(Fault::kObjectDataBeyondObject, "ImageAttributes");
        case kCustomLineCap:
            return CheckCustomLineCap(s, at);
        default:
            return Fail(Fault::kUnknownObjectType, "ObjectType");
    }
}

// The object table as the records so far leave it: the type of each slot, 0 while undefined.
using ObjectTable = std::array<uint8_t, kObjectSlots>;

Verdict Uses(const ObjectTable& table, uint32_t id, uint8_t type, const char* field) {
    if (id >= kObjectSlots) {
        return Fail(Fault::kObjectIdOutsideTable, field);
    }
    if (table[id] == 0) {
        return Fail(Fault::kObjectNotDefined, field);
    }
    return table[id] == type ? Verdict{} : Fail(Fault::kObjectWrongType, field);
}

// An id the player looks up only when it names an object: inside the table, and when defined,
// of the right type.
Verdict MayUse(const ObjectTable& table, uint32_t id, uint8_t type, const char* field) {
    if (id >= kObjectSlots) {
        return Fail(Fault::kObjectIdOutsideTable, field);
    }
    return table[id] == 0 || table[id] == type ? Verdict{} : Fail(Fault::kObjectWrongType, field);
}

// The checks of one record that is not an object record, over its data [12, 12 + DataSize).
struct RecordCheck {
    Span s;
    uint16_t type;
    uint16_t flags;
    const ObjectTable& table;

    uint32_t id() const { return flags & 0xFF; }
    PointForm form() const { return PointFormOf(flags); }
    uint32_t rect_bytes() const { return (flags & kFlagCompressed) ? 8 : 16; }

    Verdict Need(uint64_t bytes) {
        return s.Has(kD, bytes) ? Verdict{} : Fail(Fault::kShorterThanFields, "DataSize");
    }
    Verdict Brush(uint32_t offset) {
        if (flags & kFlagBrushIsColor) {
            return Verdict{};
        }
        return Uses(table, s.U32(offset), kBrush, "BrushId");
    }
    // `count` at `count_at`, then the points from `points`.
    Verdict Points(uint32_t count_at, uint32_t points, PointForm point_form) {
        uint64_t at = points;
        if (!SkipPoints(s, &at, s.U32(count_at), point_form)) {
            return Fail(Fault::kCountBeyondRecord, "Count");
        }
        return point_form == PointForm::kFloat ? Floats(points, uint64_t{s.U32(count_at)} * 2)
                                               : Verdict{};
    }
    Verdict Rects(uint32_t count_at, uint32_t rects) {
        if (!s.Has(rects, uint64_t{s.U32(count_at)} * rect_bytes())) {
            return Fail(Fault::kCountBeyondRecord, "Count");
        }
        return Rect(rects, s.U32(count_at));
    }
    // `count` floats from `at`, each a number within kLargestFloat.
    Verdict Floats(uint64_t at, uint64_t count) {
        return FloatsInRange(s, at, count) ? Verdict{}
                                           : Fail(Fault::kUnsafeValue, "a coordinate or angle");
    }
    // `count` rectangles from `at`, floats unless compressed.
    Verdict Rect(uint64_t at, uint64_t count = 1) {
        return (flags & kFlagCompressed) ? Verdict{} : Floats(at, 4 * count);
    }

    Verdict Run();
};

// Both must hold; the first that fails is the verdict.
Verdict Both(const Verdict& a, const Verdict& b) {
    return a.sound() ? b : a;
}

Verdict RecordCheck::Run() {
    switch (type) {
        case kEmfPlusHeader:
            return Need(16);
        case kEmfPlusEndOfFile:
        case kEmfPlusComment:
        case kEmfPlusGetDC:
        case kEmfPlusSetAntiAliasMode:
        case kEmfPlusSetTextRenderingHint:
        case kEmfPlusSetTextContrast:
        case kEmfPlusSetInterpolationMode:
        case kEmfPlusSetPixelOffsetMode:
        case kEmfPlusSetCompositingMode:
        case kEmfPlusSetCompositingQuality:
        case kEmfPlusResetWorldTransform:
        case kEmfPlusResetClip:
            return Verdict{};
        case kEmfPlusClear:
        case kEmfPlusSave:
        case kEmfPlusRestore:
        case kEmfPlusBeginContainerNoParams:
        case kEmfPlusEndContainer:
            return Need(4);
        case kEmfPlusRotateWorldTransform:
        case kEmfPlusSetPageTransform:
            return Both(Need(4), Floats(kD, 1));
        case kEmfPlusSetRenderingOrigin:
            return Need(8);
        case kEmfPlusTranslateWorldTransform:
        case kEmfPlusScaleWorldTransform:
        case kEmfPlusOffsetClip:
            return Both(Need(8), Floats(kD, 2));
        case kEmfPlusSetClipRect:
            return Both(Need(16), Floats(kD, 4));
        case kEmfPlusSetWorldTransform:
        case kEmfPlusMultiplyWorldTransform:
            return Both(Need(24), Floats(kD, 6));
        case kEmfPlusBeginContainer:
            return Both(Need(36), Floats(kD, 8));
        case kEmfPlusFillRects:
            return Both(Need(8), Both(Brush(kD), Rects(kD + 4, kD + 8)));
        case kEmfPlusDrawRects:
            return Both(Need(4), Both(Uses(table, id(), kPen, "ObjectId"), Rects(kD, kD + 4)));
        case kEmfPlusFillPolygon:
            return Both(Need(8), Both(Brush(kD), Points(kD + 4, kD + 8, form())));
        case kEmfPlusDrawLines:
        case kEmfPlusDrawBeziers:
            return Both(Need(4),
                        Both(Uses(table, id(), kPen, "ObjectId"), Points(kD, kD + 4, form())));
        case kEmfPlusFillEllipse:
            return Both(Need(4 + rect_bytes()), Both(Brush(kD), Rect(kD + 4)));
        case kEmfPlusDrawEllipse:
            return Both(Need(rect_bytes()), Both(Uses(table, id(), kPen, "ObjectId"), Rect(kD)));
        case kEmfPlusFillPie:
            return Both(Need(12 + rect_bytes()),
                        Both(Brush(kD), Both(Floats(kD + 4, 2), Rect(kD + 12))));
        case kEmfPlusDrawPie:
        case kEmfPlusDrawArc:
            return Both(Need(8 + rect_bytes()), Both(Uses(table, id(), kPen, "ObjectId"),
                                                     Both(Floats(kD, 2), Rect(kD + 8))));
        case kEmfPlusFillRegion:
            return Both(Need(4), Both(Brush(kD), Uses(table, id(), kRegion, "ObjectId")));
        case kEmfPlusFillPath:
            return Both(Need(4), Both(Brush(kD), Uses(table, id(), kPath, "ObjectId")));
        case kEmfPlusDrawPath:
            return Both(Need(4), Both(Uses(table, id(), kPath, "ObjectId"),
                                      Uses(table, s.U32(kD), kPen, "PenId")));
        case kEmfPlusFillClosedCurve:
            return Both(Need(12), Both(Brush(kD), Points(kD + 8, kD + 12, form())));
        case kEmfPlusDrawClosedCurve:
            return Both(Need(8),
                        Both(Uses(table, id(), kPen, "ObjectId"), Points(kD + 4, kD + 8, form())));
        case kEmfPlusDrawCurve: {
            const PointForm curve =
                (flags & kFlagCompressed) ? PointForm::kInt16 : PointForm::kFloat;
            const Verdict fields = Both(Need(16), Both(Uses(table, id(), kPen, "ObjectId"),
                                                       Points(kD + 12, kD + 16, curve)));
            if (!fields.sound()) {
                return fields;
            }
            // The curve runs from point Offset over NumSegments segments.
            const uint64_t last = uint64_t{s.U32(kD + 4)} + s.U32(kD + 8);
            return last < s.U32(kD + 12) ? Verdict{} : Fail(Fault::kPartsDisagree, "NumSegments");
        }
        case kEmfPlusDrawImage:
            return Both(Need(24 + rect_bytes()),
                        Both(Both(Uses(table, id(), kImage, "ObjectId"),
                                  MayUse(table, s.U32(kD), kImageAttributes, "ImageAttributesID")),
                             Both(Floats(kD + 8, 4), Rect(kD + 24))));
        case kEmfPlusDrawImagePoints: {
            const Verdict fields = Both(
                Need(28), Both(Uses(table, id(), kImage, "ObjectId"),
                               MayUse(table, s.U32(kD), kImageAttributes, "ImageAttributesID")));
            if (!fields.sound()) {
                return fields;
            }
            // The player maps the source onto exactly three points.
            if (s.U32(kD + 24) != 3) {
                return Fail(Fault::kUnsafeValue, "Count");
            }
            return Both(Floats(kD + 8, 4), Points(kD + 24, kD + 28, form()));
        }
        case kEmfPlusDrawString: {
            const Verdict fields = Both(
                Need(28),
                Both(Uses(table, id(), kFont, "ObjectId"),
                     Both(Brush(kD), MayUse(table, s.U32(kD + 4), kStringFormat, "FormatID"))));
            if (!fields.sound()) {
                return fields;
            }
            return s.Has(kD + 28, uint64_t{s.U32(kD + 8)} * 2)
                       ? Floats(kD + 12, 4)
                       : Fail(Fault::kCountBeyondRecord, "Length");
        }
        case kEmfPlusDrawDriverString: {
            const Verdict fields =
                Both(Need(16), Both(Uses(table, id(), kFont, "ObjectId"), Brush(kD)));
            if (!fields.sound()) {
                return fields;
            }
            const uint32_t options = s.U32(kD + 4);
            const uint64_t glyphs = s.U32(kD + 12);
            // With realized advance only the first glyph's position is stored.
            const uint64_t positions = (options & 0x04) ? 1 : glyphs;
            const uint64_t matrix = s.U32(kD + 8) != 0 ? 24 : 0;
            return s.Has(kD + 16, glyphs * 2 + positions * 8 + matrix)
                       ? Verdict{}
                       : Fail(Fault::kCountBeyondRecord, "GlyphCount");
        }
        case kEmfPlusSetClipPath:
        case kEmfPlusStrokeFillPath:
            return Uses(table, id(), kPath, "ObjectId");
        case kEmfPlusSetClipRegion:
            return Uses(table, id(), kRegion, "ObjectId");
        case kEmfPlusSerializableObject:
            return Both(Need(20), s.Has(kD + 20, s.U32(kD + 16))
                                      ? Verdict{}
                                      : Fail(Fault::kCountBeyondRecord, "BufferSize"));
        case kEmfPlusSetTSGraphics: {
            const Verdict fields = Need(36);
            if (!fields.sound() || (flags & 0x0001) == 0) {
                return fields;
            }
            // A palette follows: its flags and count, then the entries.
            uint64_t at = kD + 40;
            return s.Has(kD + 36, 4) && SkipCounted(s, &at, 4)
                       ? Verdict{}
                       : Fail(Fault::kCountBeyondRecord, "Palette");
        }
        case kEmfPlusSetTSClip:
            if (flags & 0x8000) {  // compressed rectangles: the data is what it is
                return Verdict{};
            }
            return s.Has(kD, uint64_t{flags & 0x7FFFu} * 8)
                       ? Verdict{}
                       : Fail(Fault::kCountBeyondRecord, "NumRects");
        default:
            return Fail(Fault::kUnknownType, "Type");
    }
}

void Put32(uint8_t* at, uint32_t value) {
    at[0] = static_cast<uint8_t>(value);
    at[1] = static_cast<uint8_t>(value >> 8);
    at[2] = static_cast<uint8_t>(value >> 16);
    at[3] = static_cast<uint8_t>(value >> 24);
}

// Overwrites the EMF+ record at `at`, of `size` bytes, with an EmfPlusComment of the same size.
void MendRecord(uint8_t* at, uint32_t size) {
    at[0] = static_cast<uint8_t>(kEmfPlusComment);
    at[1] = static_cast<uint8_t>(kEmfPlusComment >> 8);
    at[2] = 0;
    at[3] = 0;
    Put32(at + 4, size);
    Put32(at + 8, size - kD);
    std::memset(at + kD, 0, size - kD);
}

// Calls `visit(index, host)` for every comment record of the metafile that carries EMF+ records.
template <typename Visit>
void ForEachEmfPlusComment(const std::vector<uint8_t>& metafile, Visit visit) {
    const size_t size = metafile.size();
    int32_t index = 0;
    for (size_t offset = 0; size - offset >= 8; ++index) {
        const uint32_t type = LoadLe32(metafile.data() + offset);
        const uint32_t record_size = LoadLe32(metafile.data() + offset + 4);
        if (record_size < 8 || record_size > size - offset) {
            return;
        }
        const RecordView host{metafile.data() + offset, record_size};
        if (type == kEmrGdiComment && ClassifyComment(host) == CommentKind::kEmfPlus) {
            visit(index, host);
        }
        offset += record_size;
        if (type == kEmrEof) {
            return;
        }
    }
}

// The first check of every record: its DataSize lies inside its Size.
Verdict CheckSizes(const EmfPlusRecordRef& record) {
    return record.data_size <= record.size - kD ? Verdict{} : Fail(Fault::kRecordSize, "DataSize");
}

// The record's data as the player takes it: DataSize bytes after the head.
RecordView DataView(const EmfPlusRecordRef& record) {
    const uint32_t data = record.data_size < record.size - kD ? record.data_size : record.size - kD;
    return RecordView{record.view.data, kD + data};
}

}  // namespace

const char* EmfPlusGuardFaultText(EmfPlusGuardFault fault) {
    switch (fault) {
        case Fault::kNone:
            return "sound";
        case Fault::kRecordSize:
            return "DataSize does not fit the record's Size";
        case Fault::kBrokenWalk:
            return "the comment's records break off here";
        case Fault::kUnknownType:
            return "record type unknown";
        case Fault::kShorterThanFields:
            return "record shorter than its fields";
        case Fault::kCountBeyondRecord:
            return "count reaches past the record";
        case Fault::kObjectIdOutsideTable:
            return "object id outside the object table";
        case Fault::kUnknownObjectType:
            return "object type unknown";
        case Fault::kObjectNotDefined:
            return "object used before it is defined";
        case Fault::kObjectWrongType:
            return "object of another type";
        case Fault::kObjectDataBeyondObject:
            return "object data reaches past the object";
        case Fault::kPartsDisagree:
            return "fields disagree";
        case Fault::kSplitObjectUnsound:
            return "object split over records is incomplete or inconsistent";
        case Fault::kNestedMetafile:
            return "image object holds a metafile";
        case Fault::kUnsafeValue:
            return "unsafe value";
    }
    return "unknown fault";
}

std::vector<EmfPlusReplacement> GuardEmfPlusRecords(std::vector<uint8_t>& metafile) {
    std::vector<EmfPlusReplacement> replacements;
    // First the split objects, since a part is sound only when all parts of its object are.
    SplitObjects split;
    std::vector<Verdict> slot_verdicts;
    ForEachEmfPlusComment(metafile, [&](int32_t, RecordView host) {
        EmfPlusWalker walker(host);
        EmfPlusRecordRef record;
        while (walker.Next(&record)) {
            if (record.type != kEmfPlusObject) {
                continue;
            }
            const ObjectPartPlace place = split.Add(record);
            if (place.part == 0) {
                continue;
            }
            if (place.part == 1) {
                slot_verdicts.emplace_back();
            }
            // The parts are joined by their Sizes: a DataSize that leaves padding disagrees.
            if (record.data_size != record.size - kD && slot_verdicts[place.slot].sound()) {
                slot_verdicts[place.slot] = Fail(Fault::kRecordSize, "DataSize");
            }
        }
    });

    ObjectTable table{};
    SplitObjectTracker tracker;
    std::vector<uint8_t> whole;
    uint8_t* const base = metafile.data();
    ForEachEmfPlusComment(metafile, [&](int32_t index, RecordView host) {
        EmfPlusWalker walker(host);
        EmfPlusRecordRef record;
        uint32_t k = 0;
        for (; walker.Next(&record); ++k) {
            Verdict verdict = CheckSizes(record);
            RecordReader reader(DataView(record));
            Span span{reader, reader.size()};
            if (record.type == kEmfPlusObject) {
                const ObjectPartPlace place = tracker.Advance(record);
                const uint32_t id = record.flags & 0xFF;
                const uint32_t type = (record.flags >> 8) & 0x7F;
                if (verdict.sound() && id >= kObjectSlots) {
                    verdict = Fail(Fault::kObjectIdOutsideTable, "ObjectId");
                } else if (verdict.sound() && (type < kBrush || type > kCustomLineCap)) {
                    verdict = Fail(Fault::kUnknownObjectType, "ObjectType");
                } else if (!verdict.sound()) {
                    // A part whose sizes disagree already fails its whole object.
                } else if (place.part == 0) {
                    verdict = CheckObject(span, kD, type);
                } else if (place.slot >= slot_verdicts.size()) {
                    // Both passes see the same object records, so every part has its slot.
                    verdict = Fail(Fault::kSplitObjectUnsound, "TotalObjectSize");
                } else if (place.part == 1) {
                    Verdict& slot = slot_verdicts[place.slot];
                    const SplitObject* object = split.Find(place.slot);
                    if (slot.sound() && (object == nullptr || !object->sound())) {
                        slot = Fail(Fault::kSplitObjectUnsound, "TotalObjectSize");
                    }
                    if (slot.sound()) {
                        if (split.Reassemble(place.slot, whole)) {
                            RecordReader joined(
                                RecordView{whole.data(), static_cast<uint32_t>(whole.size())});
                            slot = CheckObject(Span{joined, joined.size()}, kD, type);
                        } else {
                            slot = Fail(Fault::kSplitObjectUnsound, "TotalObjectSize");
                        }
                    }
                    verdict = slot;
                } else {
                    verdict = slot_verdicts[place.slot];
                }
                if (verdict.sound() && place.part <= 1) {
                    table[id] = static_cast<uint8_t>(type);
                }
            } else if (verdict.sound()) {
                verdict = RecordCheck{span, record.type, record.flags, table}.Run();
            }
            if (!verdict.sound()) {
                MendRecord(base + (record.view.data - base), record.size);
                replacements.push_back({index, k, record.type, verdict});
            }
        }
        if (walker.end() == WalkEnd::kComplete) {
            return;
        }
        // The rest of the comment becomes one EmfPlusComment where it can hold one; whatever
        // cannot is cut off the comment's data, so the player never reads a broken record.
        uint8_t* const comment = base + (host.data - base);
        const uint32_t at = walker.end_offset();
        const uint32_t left = walker.bytes_left();
        const uint16_t type = left >= 2 ? LoadLe16(comment + at) : 0;
        const uint32_t kept = left >= kD ? left & ~3u : 0;
        if (kept > 0) {
            MendRecord(comment + at, kept);
        }
        Put32(comment + 8, at + kept - kCommentDataOffset);
        replacements.push_back({index, k, type, Fail(Fault::kBrokenWalk, "Size")});
    });
    return replacements;
}
