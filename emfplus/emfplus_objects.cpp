// The fields of the EMF+ objects an EmfPlusObject record defines: brushes, pens, paths,
// regions, images, fonts, string formats, image attributes and custom line caps.
#include "emfplus/decode_support.h"
#include "emfplus/emfplus_names.h"
#include "emfplus/emfplus_object_types.h"

namespace {

using namespace emfplus_object_types;

// Every object opens with its 4-byte graphics version.
constexpr uint32_t kVersionBytes = 4;

void AppendBrushObject(WideText& out, RecordReader& record, uint32_t offset) {
    if (!record.Has(offset, 8)) {
        AppendTooShort(out);
        return;
    }
    const uint32_t type = record.U32(offset + 4);
    AppendSymbol(out, kEmfPlusBrushTypeSymbols, type);
    const uint32_t data = offset + 8;
    switch (type) {
        case 0:  // solid colour
            if (record.Has(data, 4)) {
                out.Append(u' ');
                AppendColor(out, record.U32(data));
                return;
            }
            break;
        case 1:  // hatch
            if (record.Has(data, 12)) {
                out.Print(u", HatchStyle %u, fore ", record.U32(data));
                AppendColor(out, record.U32(data + 4));
                out.Append(u", back ");
                AppendColor(out, record.U32(data + 8));
                return;
            }
            break;
        case 2:  // texture
            if (record.Has(data, 8)) {
                out.Print(u", flags 0x%08X, ", record.U32(data));
                AppendSymbol(out, kEmfPlusWrapModeSymbols, record.U32(data + 4));
                return;
            }
            break;
        case 3:  // path gradient
            if (record.Has(data, 24)) {
                out.Print(u", flags 0x%08X, ", record.U32(data));
                AppendSymbol(out, kEmfPlusWrapModeSymbols, record.U32(data + 4));
                out.Append(u", centre ");
                AppendColor(out, record.U32(data + 8));
                out.Append(u" at (");
                AppendFloat(out, record.F32(data + 12));
                out.Append(u", ");
                AppendFloat(out, record.F32(data + 16));
                out.Print(u"), %u surrounding colours", record.U32(data + 20));
                return;
            }
            break;
        case 4:  // linear gradient
            if (record.Has(data, 32)) {
                out.Print(u", flags 0x%08X, ", record.U32(data));
                AppendSymbol(out, kEmfPlusWrapModeSymbols, record.U32(data + 4));
                out.Append(u", rect ");
                AppendRect(out, record, data + 8, false);
                out.Append(u", from ");
                AppendColor(out, record.U32(data + 24));
                out.Append(u" to ");
                AppendColor(out, record.U32(data + 28));
                return;
            }
            break;
        default:
            return;
    }
    out.Append(u", ");
    AppendTooShort(out);
}

// What of the pen's optional data runs past the record: nothing, a counted list (its name, its
// count and how many of its elements the record holds), or a fixed field or a count itself.
struct PenDataCut {
    bool cut = false;
    const char16_t* list = nullptr;
    uint32_t count = 0;
    uint32_t inside = 0;
};

// Moves `offset` past the pen's optional data that the flags announce, in their stored order;
// says what runs past the record when some does.
PenDataCut SkipPenOptionalData(RecordReader& record, uint32_t flags, uint32_t* offset) {
    // Transform, start cap, end cap, join, miter limit, line style, dash cap, dash offset.
    constexpr uint32_t kFixed[] = {24, 4, 4, 4, 4, 4, 4, 4};
    PenDataCut cut;
    uint64_t at = *offset;
    for (uint32_t bit = 0; bit < 8; ++bit) {
        if (flags & (1u << bit)) {
            at += kFixed[bit];
        }
    }
    // A count, then that many elements of `width` bytes.
    auto counted = [&](uint32_t width, const char16_t* list) {
        if (at > record.size() || !record.Has(static_cast<uint32_t>(at), 4)) {
            cut.cut = true;
            return false;
        }
        const uint32_t count = record.U32(static_cast<uint32_t>(at));
        const uint32_t inside = record.CountInside(static_cast<uint32_t>(at) + 4, count, width);
        if (inside < count) {
            cut = PenDataCut{true, list, count, inside};
            return false;
        }
        at += 4 + static_cast<uint64_t>(count) * width;
        return true;
    };
    if ((flags & 0x100) && !counted(4, u"dash lengths")) {
        return cut;
    }
    if (flags & 0x200) {  // alignment
        at += 4;
    }
    if ((flags & 0x400) && !counted(4, u"compound line values")) {
        return cut;
    }
    if ((flags & 0x800) && !counted(1, u"custom start cap bytes")) {
        return cut;
    }
    if ((flags & 0x1000) && !counted(1, u"custom end cap bytes")) {
        return cut;
    }
    if (at > record.size()) {
        cut.cut = true;
        return cut;
    }
    *offset = static_cast<uint32_t>(at);
    return cut;
}

void AppendPenObject(WideText& out, RecordReader& record, uint32_t offset) {
    if (!record.Has(offset, 20)) {
        AppendTooShort(out);
        return;
    }
    const uint32_t flags = record.U32(offset + 8);
    out.Append(u"width ");
    AppendFloat(out, record.F32(offset + 16));
    out.Append(u' ');
    AppendSymbol(out, kEmfPlusUnitSymbols, record.U32(offset + 12));
    out.Print(u", flags 0x%08X, ", flags);
    uint32_t brush = offset + 20;
    const PenDataCut cut = SkipPenOptionalData(record, flags, &brush);
    if (cut.list != nullptr) {
        // The brush follows the list, so it is not read either.
        out.Print(u"%u %s (%u %s beyond the record)", cut.count, cut.list, cut.count - cut.inside,
                  cut.list);
    } else if (cut.cut) {
        AppendTooShort(out);
    } else {
        AppendBrushObject(out, record, brush);
    }
}

void AppendPathObject(WideText& out, RecordReader& record, uint32_t offset) {
    if (!record.Has(offset, 12)) {
        AppendTooShort(out);
        return;
    }
    const uint32_t count = record.U32(offset + 4);
    const uint32_t flags = record.U32(offset + 8);
    const PointForm form = (flags & 0x0800)   ? PointForm::kRelative
                           : (flags & 0x4000) ? PointForm::kInt16
                                              : PointForm::kFloat;
    bool all_points = false;
    const uint32_t after = AppendPoints(out, record, offset + 12, count, form, &all_points);
    // The types follow the last point: where the points run past the record, so do they.
    const uint32_t types = all_points ? after : record.size();
    if (flags & 0x1000) {
        out.Append(u"; point types run-length encoded");
        return;
    }
    // Point types: the low nibble is start (0), line (1) or Bezier (3); 0x80 closes a figure.
    const uint32_t inside = record.CountInside(types, count, 1);
    uint32_t starts = 0;
    uint32_t lines = 0;
    uint32_t beziers = 0;
    uint32_t closes = 0;
    for (uint32_t k = 0; k < inside; ++k) {
        const uint8_t type = record.U8(types + k);
        starts += (type & 0x0F) == 0;
        lines += (type & 0x0F) == 1;
        beziers += (type & 0x0F) == 3;
        closes += (type & 0x80) != 0;
    }
    out.Print(u"; types: %u start, %u line, %u Bezier, %u closing", starts, lines, beziers, closes);
    if (inside < count) {
        out.Print(u" (%u types beyond the record)", count - inside);
    }
}

void AppendRegionObject(WideText& out, RecordReader& record, uint32_t offset) {
    if (!record.Has(offset, 12)) {
        AppendTooShort(out);
        return;
    }
    const uint32_t root = record.U32(offset + 8);
    out.Print(u"%u child nodes, root ", record.U32(offset + 4));
    AppendSymbol(out, kEmfPlusRegionNodeSymbols, root);
    if (root == 0x10000000) {
        out.Append(u' ');
        if (!AppendRect(out, record, offset + 12, false)) {
            AppendTooShort(out);
        }
    }
}

// The kind of compressed image its first bytes announce.
const char16_t* CompressedFormat(RecordReader& record, uint32_t offset) {
    if (!record.Has(offset, 4)) {
        return nullptr;
    }
    const uint32_t head = record.U32(offset);
    if (head == 0x474E5089) {
        return u"PNG";
    }
    if ((head & 0xFFFF) == 0xD8FF) {
        return u"JPEG";
    }
    if (head == 0x38464947) {
        return u"GIF";
    }
    if ((head & 0xFFFF) == 0x4D42) {
        return u"BMP";
    }
    if (head == 0x002A4949 || head == 0x2A004D4D) {
        return u"TIFF";
    }
    return nullptr;
}

void AppendImageObject(WideText& out, RecordReader& record, uint32_t offset) {
    if (!record.Has(offset, 8)) {
        AppendTooShort(out);
        return;
    }
    const uint32_t type = record.U32(offset + 4);
    AppendSymbol(out, kEmfPlusImageTypeSymbols, type);
    const uint32_t data = offset + 8;
    if (type == 1) {
        if (!record.Has(data, 20)) {
            out.Append(u", ");
            AppendTooShort(out);
            return;
        }
        out.Print(u" %d x %d, stride %d, ", record.I32(data), record.I32(data + 4),
                  record.I32(data + 8));
        AppendSymbol(out, kEmfPlusPixelFormatSymbols, record.U32(data + 12));
        out.Append(u", ");
        const uint32_t bitmap_type = record.U32(data + 16);
        AppendSymbol(out, kEmfPlusBitmapTypeSymbols, bitmap_type);
        if (bitmap_type == 1) {
            if (const char16_t* format = CompressedFormat(record, data + 20)) {
                out.Print(u" (%s)", format);
            }
        }
    } else if (type == 2) {
        if (!record.Has(data, 8)) {
            out.Append(u", ");
            AppendTooShort(out);
            return;
        }
        out.Append(u' ');
        AppendSymbol(out, kEmfPlusMetafileTypeSymbols, record.U32(data));
        out.Print(u", %u bytes", record.U32(data + 4));
    }
}

void AppendFontObject(WideText& out, RecordReader& record, uint32_t offset) {
    if (!record.Has(offset, 24)) {
        AppendTooShort(out);
        return;
    }
    AppendFloat(out, record.F32(offset + 4));
    out.Append(u' ');
    AppendSymbol(out, kEmfPlusUnitSymbols, record.U32(offset + 8));
    const uint32_t style = record.U32(offset + 12);
    out.Append(u", style ");
    if (style == 0) {
        out.Append(u"Regular");
    }
    constexpr const char16_t* kStyles[] = {u"Bold", u"Italic", u"Underline", u"Strikeout"};
    bool first = true;
    for (uint32_t bit = 0; bit < 4; ++bit) {
        if (style & (1u << bit)) {
            out.Append(first ? u"" : u" | ");
            out.Append(kStyles[bit]);
            first = false;
        }
    }
    if (style & ~0xFu) {
        out.Print(first ? u"0x%08X" : u" | 0x%08X", style & ~0xFu);
    }
    out.Append(u", ");
    AppendQuoted(out, record, offset + 24, record.U32(offset + 20));
}

void AppendStringFormatObject(WideText& out, RecordReader& record, uint32_t offset) {
    if (!record.Has(offset, 20)) {
        AppendTooShort(out);
        return;
    }
    out.Print(u"flags 0x%08X, language 0x%04X, ", record.U32(offset + 4), record.U32(offset + 8));
    AppendSymbol(out, kEmfPlusStringAlignmentSymbols, record.U32(offset + 12));
    out.Append(u", line ");
    AppendSymbol(out, kEmfPlusStringAlignmentSymbols, record.U32(offset + 16));
}

void AppendImageAttributesObject(WideText& out, RecordReader& record, uint32_t offset) {
    if (!record.Has(offset, 20)) {
        AppendTooShort(out);
        return;
    }
    AppendSymbol(out, kEmfPlusWrapModeSymbols, record.U32(offset + 8));
    out.Append(u", clamp ");
    AppendColor(out, record.U32(offset + 12));
}

}  // namespace

void AppendObject(WideText& out, RecordReader& record, uint32_t offset, uint32_t object_type) {
    if (!record.Has(offset, kVersionBytes)) {
        AppendTooShort(out);
        return;
    }
    switch (object_type) {
        case kBrush:
            AppendBrushObject(out, record, offset);
            return;
        case kPen:
            AppendPenObject(out, record, offset);
            return;
        case kPath:
            AppendPathObject(out, record, offset);
            return;
        case kRegion:
            AppendRegionObject(out, record, offset);
            return;
        case kImage:
            AppendImageObject(out, record, offset);
            return;
        case kFont:
            AppendFontObject(out, record, offset);
            return;
        case kStringFormat:
            AppendStringFormatObject(out, record, offset);
            return;
        case kImageAttributes:
            AppendImageAttributesObject(out, record, offset);
            return;
        case kCustomLineCap:
            if (record.Has(offset, 8)) {
                AppendSymbol(out, kEmfPlusLineCapTypeSymbols, record.U32(offset + 4));
            } else {
                AppendTooShort(out);
            }
            return;
        default:
            out.Print(u"%u data bytes", record.size() - offset);
            return;
    }
}
