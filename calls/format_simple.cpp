// Formatters of device-context state, CreatePen, object selection and deletion.
#include "calls/format_support.h"
#include "calls/struct_blocks.h"
#include "calls/symbols.h"

namespace {

// Every field these formatters read is a 32-bit word; a record must hold the last of them.
constexpr uint32_t kFirstField = 8;
constexpr uint32_t kSecondField = 12;

constexpr uint32_t kStockObjectBit = 0x80000000;
// The bit pattern of the smallest normal float, 2^-126.
constexpr uint32_t kSmallestNormalFloatBits = 0x00800000;

uint32_t Red(uint32_t color) {
    return color & 0xFF;
}
uint32_t Green(uint32_t color) {
    return (color >> 8) & 0xFF;
}
uint32_t Blue(uint32_t color) {
    return (color >> 16) & 0xFF;
}

// "(hDC, NAME);" for the records whose one field is a mode named through `table`.
int FormatNamedMode(RecordView record, WideText& args, const SymbolTable& table) {
    RecordReader r(record);
    if (!r.Has(0, kFirstField + 4)) {
        return FormatUntranslated(args);
    }
    FixedWideText<64> name;
    LookupSymbol(table, r.U32(kFirstField), u"0x%08X", name);
    args.Print(u"(hDC, %s);", name.c_str());
    return 1;
}

}  // namespace

int FormatBkMode(RecordView record, WideText& args) {
    return FormatNamedMode(record, args, kBackgroundModeSymbols);
}

int FormatMapMode(RecordView record, WideText& args) {
    return FormatNamedMode(record, args, kMapModeSymbols);
}

int FormatPolyFillMode(RecordView record, WideText& args) {
    return FormatNamedMode(record, args, kPolyFillModeSymbols);
}

int FormatRop2(RecordView record, WideText& args) {
    return FormatNamedMode(record, args, kMixModeSymbols);
}

int FormatStretchBltMode(RecordView record, WideText& args) {
    return FormatNamedMode(record, args, kStretchModeSymbols);
}

// The alignment is three fields, each named by itself; only the reading-order flag is shown
// beside them.
int FormatTextAlign(RecordView record, WideText& args) {
    RecordReader r(record);
    if (!r.Has(0, kFirstField + 4)) {
        return FormatUntranslated(args);
    }
    const uint32_t mode = r.U32(kFirstField);
    FixedWideText<64> horizontal;
    FixedWideText<64> vertical;
    FixedWideText<64> update;
    LookupSymbol(kTextAlignHorizontalSymbols, mode & 0x6, u"%d", horizontal);
    LookupSymbol(kTextAlignVerticalSymbols, mode & 0x18, u"%d", vertical);
    LookupSymbol(kTextAlignUpdateSymbols, mode & 0x1, u"%d", update);
    args.Print(u"(hDC, %s | %s | %s", horizontal.c_str(), vertical.c_str(), update.c_str());
    if ((mode & 0x100) != 0) {
        args.Append(u"| TA_RTLREADING");
    }
    args.Append(u");");
    return 1;
}

int FormatColorArg(RecordView record, WideText& args) {
    RecordReader r(record);
    if (!r.Has(0, kFirstField + 4)) {
        return FormatUntranslated(args);
    }
    const uint32_t color = r.U32(kFirstField);
    args.Print(u"(hDC, RGB(%d, %d, %d));", Red(color), Green(color), Blue(color));
    return 1;
}

int FormatTextJustification(RecordView record, WideText& args) {
    RecordReader r(record);
    if (!r.Has(0, kSecondField + 4)) {
        return FormatUntranslated(args);
    }
    args.Print(u"(hDC, %d, %d);", r.I32(kFirstField), r.I32(kSecondField));
    return 1;
}

// Window and viewport extents and origins, and the brush origin: one pair of numbers each.
int FormatExtOrgEx(RecordView record, WideText& args) {
    RecordReader r(record);
    if (!r.Has(0, kSecondField + 4)) {
        return FormatUntranslated(args);
    }
    args.Print(u"(hDC, %d, %d, NULL);", r.I32(kFirstField), r.I32(kSecondField));
    return 1;
}

int FormatCreatePen(RecordView record, WideText& args) {
    constexpr uint32_t kPenIndex = 8;
    constexpr uint32_t kStyle = 12;
    constexpr uint32_t kWidth = 16;
    constexpr uint32_t kColor = 24;
    RecordReader r(record);
    if (!r.Has(0, kColor + 4)) {
        return FormatUntranslated(args);
    }
    FixedWideText<64> style;
    NamePenStyle(style, r.U32(kStyle));
    const uint32_t color = r.U32(kColor);
    args.Print(u"(%s, %d, RGB(%d, %d, %d));    // EMRCREATEPEN.ihPen = %d", style.c_str(),
               r.I32(kWidth), Red(color), Green(color), Blue(color), r.I32(kPenIndex));
    return 1;
}

// An index into the metafile's object table prints as a number; a stock object by its name.
int FormatObjectIndex(RecordView record, WideText& args) {
    RecordReader r(record);
    if (!r.Has(0, kFirstField + 4)) {
        return FormatUntranslated(args);
    }
    const uint32_t index = r.U32(kFirstField);
    if ((index & kStockObjectBit) == 0) {
        args.Print(u"(hDC, %d);", index);
        return 1;
    }
    FixedWideText<64> name;
    LookupSymbol(kStockObjectSymbols, index & 0xFFFF, u"0x%08X", name);
    args.Print(u"(hDC, (HGDIOBJ)%s);", name.c_str());
    return 1;
}

int FormatMiterLimit(RecordView record, WideText& args) {
    RecordReader r(record);
    if (!r.Has(0, kFirstField + 4)) {
        return FormatUntranslated(args);
    }
    // Producers write the limit as the unsigned integer the file format defines, although the
    // platform's record structure calls it a float. A bit pattern that as a float would be
    // zero or subnormal (below 2^-126, never a miter limit) is that integer; any other is the
    // float. So both a stored 10 and a stored 10.0 read as 10.000000.
    const uint32_t bits = r.U32(kFirstField);
    FixedWideText<kFixed6MaxUnits + 1> limit;
    if (bits < kSmallestNormalFloatBits) {
        limit.Print(u"%d.000000", bits);
    } else {
        FormatFixed6(limit, r.F32(kFirstField));
    }
    args.Print(u"(hDC, %s, NULL);", limit.c_str());
    return 1;
}

int FormatRestoreDC(RecordView record, WideText& args) {
    RecordReader r(record);
    if (!r.Has(0, kFirstField + 4)) {
        return FormatUntranslated(args);
    }
    args.Print(u"(hDC, %ld);", r.I32(kFirstField));
    return 1;
}
