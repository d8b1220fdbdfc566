// Formatters of brushes, extended pens, palettes and colour spaces.
#include "calls/format_support.h"
#include "calls/symbols.h"

namespace {

constexpr uint32_t kPenTypeMask = 0x000F0000;
constexpr uint32_t kPenGeometric = 0x00010000;

// Type and style of a pen, then, for a geometric pen only, its end cap and join.
void NameExtPenStyle(WideText& out, uint32_t pen_style) {
    const uint32_t type = pen_style & kPenTypeMask;
    FixedWideText<64> part;
    LookupSymbol(kPenTypeSymbols, type, u"(Type)0x%08X", out);
    NamePenStyle(part, pen_style & 0x0F);
    out.Append(u" | ");
    out.Append(part.view());
    if (type != kPenGeometric) {
        return;
    }
    LookupSymbol(kEndCapSymbols, pen_style & 0x0F00, u"(EndCap)0x%08X", part);
    out.Append(u" | ");
    out.Append(part.view());
    LookupSymbol(kLineJoinSymbols, pen_style & 0xF000, u"(Join)0x%08X", part);
    out.Append(u" | ");
    out.Append(part.view());
}

// The pen's brush. A cosmetic pen is always drawn solid, so only its colour is shown.
void AppendPenBrushBlock(WideText& args, RecordReader& r, uint32_t type) {
    const uint32_t color = r.U32(40);
    args.Append(u"\r\n\t  // Parameter(s):\r\n\t  const LOGBRUSH* lplb;");
    if (type == 0) {
        args.Append(u"\r\n\t  lplb->lbStyle = BS_SOLID;");
        args.Print(u"\r\n\t  lplb->lbColor = RGB(%d, %d, %d);", color & 0xFF, (color >> 8) & 0xFF,
                   (color >> 16) & 0xFF);
    } else {
        const uint32_t brush_style = r.U32(36);
        FixedWideText<64> name;
        NameBrushStyle(name, brush_style);
        args.Print(u"\r\n\t  lplb->lbStyle = %s;", name.c_str());
        NameBrushColor(name, color, brush_style);
        args.Print(u"\r\n\t  lplb->lbColor = %s;", name.c_str());
        NameBrushHatch(name, r.U32(44), brush_style);
        args.Print(u"\r\n\t  lplb->lbHatch = %s;", name.c_str());
    }
    args.Append(u"\r\n\t  // Parameter(s):....");
}

}  // namespace

int FormatCreateBrushIndirect(RecordView record, WideText& args) {
    RecordReader r(record);
    if (!r.Has(0, 24)) {
        return FormatUntranslated(args);
    }
    args.Print(u"(&lb);    // EMRCREATEBRUSHINDIRECT.ihBrush = %d", r.U32(8));
    if (VerboseFlag() == 0) {
        return 1;
    }
    const uint32_t style = r.U32(12);
    FixedWideText<64> name;
    args.Append(u"\r\n\t  // Parameter(s):\r\n\t  LOGBRUSH lb;");
    NameBrushStyle(name, style);
    args.Print(u"\r\n\t  lb.lbStyle = %s;", name.c_str());
    NameBrushColor(name, r.U32(16), style);
    args.Print(u"\r\n\t  lb.lbColor = %s;", name.c_str());
    NameBrushHatch(name, r.U32(20), style);
    args.Print(u"\r\n\t  lb.lbHatch = %s;", name.c_str());
    return 1;
}

int FormatExtCreatePen(RecordView record, WideText& args) {
    RecordReader r(record);
    if (!r.Has(0, 52)) {
        return FormatUntranslated(args);
    }
    const uint32_t pen_style = r.U32(28);
    FixedWideText<256> style;
    NameExtPenStyle(style, pen_style);
    args.Print(u"(%s, %d, lplb, %d, lpStyle);\r\n\t  // EMREXTCREATEPEN.ihPen = %d", style.c_str(),
               r.U32(32), r.U32(48), r.U32(8));
    if (VerboseFlag() != 0) {
        AppendPenBrushBlock(args, r, pen_style & kPenTypeMask);
    }
    return 1;
}

int FormatCreatePalette(RecordView record, WideText& args) {
    RecordReader r(record);
    if (!r.Has(0, 16)) {
        return FormatUntranslated(args);
    }
    args.Print(u"(lplgpl);    // EMRCREATEPALETTE.ihPal = %d", r.U32(8));
    if (VerboseFlag() == 0) {
        return 1;
    }
    args.Append(u"\r\n\t  // Parameter(s):\r\n\t  CONST LOGPALETTE *lplgpl;");
    args.Print(u"\r\n\t  lplgpl->palVersion = 0x%04X;", r.U16(12));
    args.Print(u"\r\n\t  lplgpl->palNumEntries = %d;", r.U16(14));
    args.Append(u"\r\n\t  lplgpl->palPalEntry[...]");
    return 1;
}

int FormatSelectPalette(RecordView record, WideText& args) {
    RecordReader r(record);
    if (!r.Has(0, 12)) {
        return FormatUntranslated(args);
    }
    const uint32_t palette = r.U32(8);
    // With bit 31 set the index names a stock object, and the only stock palette is the default.
    if ((palette & 0x80000000u) != 0) {
        args.Append(u"(hDC, DEFAULT_PALETTE, TRUE);");
    } else {
        args.Print(u"(hDC, %d, TRUE);", palette);
    }
    return 1;
}

int FormatICMMode(RecordView record, WideText& args) {
    RecordReader r(record);
    if (!r.Has(0, 12)) {
        return FormatUntranslated(args);
    }
    FixedWideText<64> mode;
    LookupSymbol(kIcmModeSymbols, r.U32(8), u"%d", mode);
    args.Print(u"(hDC, %s);", mode.c_str());
    return 1;
}

int FormatSetColorSpace(RecordView record, WideText& args) {
    RecordReader r(record);
    if (!r.Has(0, 12)) {
        return FormatUntranslated(args);
    }
    args.Print(u"(hDC, 0x%08X);", r.U32(8));
    return 1;
}

int FormatDeleteColorSpace(RecordView record, WideText& args) {
    RecordReader r(record);
    if (!r.Has(0, 12)) {
        return FormatUntranslated(args);
    }
    args.Print(u"(0x%08X);", r.U32(8));
    return 1;
}
