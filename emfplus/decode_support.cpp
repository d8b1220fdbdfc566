// Pieces shared by the EMF+ decoders: numbers, colours, names, points, rectangles and strings
// written into one line, each read through the record's bounded reader.
#include "emfplus/decode_support.h"

#include "calls/struct_blocks.h"
#include "emfplus/emfplus_decode.h"
#include "text/utf16.h"

namespace {

const char16_t* FormName(PointForm form) {
    switch (form) {
        case PointForm::kInt16:
            return u"compressed";
        case PointForm::kRelative:
            return u"relative";
        case PointForm::kFloat:
            break;
    }
    return u"float";
}

// The notes after a capped list: items beyond the cap, then items the record does not hold.
void AppendListNotes(WideText& out, uint32_t count, uint32_t inside, uint32_t listed,
                     const char16_t* items) {
    if (inside > listed) {
        out.Print(u" (%u more %s not listed)", inside - listed, items);
    }
    if (count > inside) {
        out.Print(u" (%u %s beyond the record)", count - inside, items);
    }
}

// One coordinate of a relative point: 7 bits in one byte, or 15 bits in two (big-endian) when
// the first byte's top bit is set. False when the record ends first.
bool ReadRelative(RecordReader& record, uint32_t* offset, int32_t* value) {
    if (!record.Has(*offset, 1)) {
        return false;
    }
    const uint8_t first = record.U8(*offset);
    if ((first & 0x80) == 0) {
        *value = static_cast<int8_t>(static_cast<uint8_t>(first << 1)) >> 1;
        *offset += 1;
        return true;
    }
    if (!record.Has(*offset, 2)) {
        return false;
    }
    const uint16_t both = static_cast<uint16_t>(((first & 0x7F) << 8) | record.U8(*offset + 1));
    *value = static_cast<int16_t>(static_cast<uint16_t>(both << 1)) >> 1;
    *offset += 2;
    return true;
}

}  // namespace

PointForm PointFormOf(uint16_t flags) {
    if (flags & kFlagRelative) {
        return PointForm::kRelative;
    }
    return (flags & kFlagCompressed) ? PointForm::kInt16 : PointForm::kFloat;
}

void AppendTooShort(WideText& out) {
    out.Append(
        u"\u2588\u2588\u2588\u2588\u2588\u2588\u2588\u2588 (the record ends before its "
        u"fields)");
}

void AppendFloat(WideText& out, float value) {
    FixedWideText<kFixed6MaxUnits + 1> number;
    FormatFixed6(number, value);
    out.Append(number.view());
}

void AppendSymbol(WideText& out, const SymbolTable& table, uint32_t value,
                  const char16_t* fallback) {
    FixedWideText<64> name;
    LookupSymbol(table, value, fallback, name);
    out.Append(name.view());
}

void AppendColor(WideText& out, uint32_t argb) {
    out.Print(u"ARGB(%d, %d, %d, %d)", argb >> 24, (argb >> 16) & 0xFF, (argb >> 8) & 0xFF,
              argb & 0xFF);
}

void AppendBrush(WideText& out, RecordReader& record, uint16_t flags, uint32_t offset) {
    const uint32_t value = record.U32(offset);
    if (flags & kFlagBrushIsColor) {
        out.Append(u"brush ");
        AppendColor(out, value);
    } else {
        out.Print(u"brush #%u", value);
    }
}

// `count` floats from `offset` in parentheses; false, with nothing written, when they do not
// all lie inside the record.
bool AppendFloats(WideText& out, RecordReader& record, uint32_t offset, uint32_t count) {
    if (!record.Has(offset, 4 * count)) {
        return false;
    }
    out.Append(u'(');
    for (uint32_t k = 0; k < count; ++k) {
        if (k > 0) {
            out.Append(u", ");
        }
        AppendFloat(out, record.F32(offset + 4 * k));
    }
    out.Append(u')');
    return true;
}

bool AppendRect(WideText& out, RecordReader& record, uint32_t offset, bool compressed) {
    if (compressed) {
        if (!record.Has(offset, 8)) {
            return false;
        }
        out.Print(u"(%d, %d, %d, %d)", record.I16(offset), record.I16(offset + 2),
                  record.I16(offset + 4), record.I16(offset + 6));
        return true;
    }
    return AppendFloats(out, record, offset, 4);
}

void AppendRects(WideText& out, RecordReader& record, uint32_t offset, uint32_t count,
                 bool compressed) {
    const uint32_t width = compressed ? 8 : 16;
    const uint32_t inside = record.CountInside(offset, count, width);
    const uint32_t listed = inside < kEmfPlusListCap ? inside : kEmfPlusListCap;
    out.Print(u"%u rects (%s)", count, compressed ? u"compressed" : u"float");
    for (uint32_t k = 0; k < listed; ++k) {
        out.Append(k == 0 ? u": " : u", ");
        AppendRect(out, record, offset + k * width, compressed);
    }
    AppendListNotes(out, count, inside, listed, u"rects");
}

uint32_t AppendPoints(WideText& out, RecordReader& record, uint32_t offset, uint32_t count,
                      PointForm form, bool* all_inside) {
    out.Print(u"%u points (%s)", count, FormName(form));
    uint32_t inside = 0;
    uint32_t listed = 0;
    if (form == PointForm::kRelative) {
        int32_t x = 0;
        int32_t y = 0;
        uint32_t at = offset;
        for (; inside < count; ++inside) {
            int32_t dx = 0;
            int32_t dy = 0;
            uint32_t next = at;
            if (!ReadRelative(record, &next, &dx) || !ReadRelative(record, &next, &dy)) {
                break;
            }
            at = next;
            x += dx;
            y += dy;
            if (listed < kEmfPlusListCap) {
                out.Print(listed == 0 ? u": (%d, %d)" : u", (%d, %d)", x, y);
                ++listed;
            }
        }
        AppendListNotes(out, count, inside, listed, u"points");
        if (all_inside != nullptr) {
            *all_inside = inside == count;
        }
        return at;
    }
    const uint32_t width = form == PointForm::kInt16 ? 4 : 8;
    inside = record.CountInside(offset, count, width);
    listed = inside < kEmfPlusListCap ? inside : kEmfPlusListCap;
    for (uint32_t k = 0; k < listed; ++k) {
        const uint32_t at = offset + k * width;
        if (form == PointForm::kInt16) {
            out.Print(k == 0 ? u": (%d, %d)" : u", (%d, %d)", record.I16(at), record.I16(at + 2));
            continue;
        }
        out.Append(k == 0 ? u": (" : u", (");
        AppendFloat(out, record.F32(at));
        out.Append(u", ");
        AppendFloat(out, record.F32(at + 4));
        out.Append(u')');
    }
    AppendListNotes(out, count, inside, listed, u"points");
    if (all_inside != nullptr) {
        *all_inside = inside == count;
    }
    return offset + inside * width;
}

bool AppendMatrix(WideText& out, RecordReader& record, uint32_t offset) {
    return AppendFloats(out, record, offset, 6);
}

void AppendQuotedUnit(WideText& out, char16_t unit, char16_t previous, char16_t next) {
    if (unit == u'"') {
        out.Append(u"\\\"");
        return;
    }
    AppendEscapedUnit(out, unit, previous, next);
}

void AppendEscapedUnit(WideText& out, char16_t unit, char16_t previous, char16_t next) {
    if ((IsHighSurrogate(unit) && !IsLowSurrogate(next)) ||
        (IsLowSurrogate(unit) && !IsHighSurrogate(previous))) {
        out.Append(u'\uFFFD');
        return;
    }
    switch (unit) {
        case u'\\':
            out.Append(u"\\\\");
            return;
        case u'\t':
            out.Append(u"\\t");
            return;
        case u'\r':
            out.Append(u"\\r");
            return;
        case u'\n':
            out.Append(u"\\n");
            return;
        default:
            break;
    }
    if (unit < 0x20 || unit == 0x7F) {
        out.Print(u"\\x%02X", unit);
        return;
    }
    out.Append(unit);
}

void AppendQuoted(WideText& out, RecordReader& record, uint32_t offset, uint32_t count) {
    const uint32_t inside = record.CountInside(offset, count, 2);
    uint32_t shown = inside < kEmfPlusStringCap ? inside : kEmfPlusStringCap;
    // A cut never parts a surrogate pair.
    if (shown > 0 && shown < inside) {
        const char16_t last = record.U16(offset + 2 * (shown - 1));
        if (last >= 0xD800 && last <= 0xDBFF) {
            --shown;
        }
    }
    out.Append(u'"');
    char16_t previous = 0;
    for (uint32_t k = 0; k < shown; ++k) {
        const char16_t unit = record.U16(offset + 2 * k);
        const char16_t next = k + 1 < inside ? record.U16(offset + 2 * (k + 1)) : 0;
        AppendQuotedUnit(out, unit, previous, next);
        previous = unit;
    }
    out.Append(u'"');
    AppendListNotes(out, count, inside, shown, u"characters");
}
