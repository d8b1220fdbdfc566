// Formatters of block transfers, DIB stretches and pattern brushes.
#include "calls/format_support.h"
#include "calls/struct_blocks.h"
#include "calls/symbols.h"

namespace {

// Closes the parameter block of a block transfer: the source bitmap is not listed.
constexpr char16_t kBitmapNotListed[] = u"\r\n\t  // Parameter(s):\u2588\u2588";

void NameDibUsage(WideText& out, uint32_t usage) {
    LookupSymbol(kDibUsageSymbols, usage, u"%d", out);
}

// The bitmap header at `offset`, or a note when it does not lie inside the record.
void AppendBitmapHeader(WideText& args, RecordReader& r, uint32_t offset) {
    BitmapInfoHeader header;
    if (!ReadBitmapInfoHeader(r, offset, &header)) {
        AppendStructureBeyondRecordNote(args, u"BITMAPINFOHEADER");
        return;
    }
    FixedWideText<512> block;
    FormatBitmapInfoHeaderBlock(block, header);
    args.Append(block.view());
}

}  // namespace

int FormatBitBlt(RecordView record, WideText& args) {
    RecordReader r(record);
    if (!r.Has(0, 52)) {
        return FormatUntranslated(args);
    }
    FixedWideText<64> rop;
    NameRasterOp(rop, r.U32(40));
    args.Print(u"(hDC, %d, %d, %d, %d, hdcSrc, %d, %d, %s);", r.I32(24), r.I32(28), r.I32(32),
               r.I32(36), r.I32(44), r.I32(48), rop.c_str());
    if (VerboseFlag() != 0) {
        args.Append(kBitmapNotListed);
    }
    return 1;
}

int FormatStretchBlt(RecordView record, WideText& args) {
    RecordReader r(record);
    if (!r.Has(0, 108)) {
        return FormatUntranslated(args);
    }
    FixedWideText<64> rop;
    NameRasterOp(rop, r.U32(40));
    args.Print(u"(hDC, %d, %d, %d, %d, hdcSrc, %d, %d, %d, %d, %s);", r.I32(24), r.I32(28),
               r.I32(32), r.I32(36), r.I32(44), r.I32(48), r.I32(100), r.I32(104), rop.c_str());
    if (VerboseFlag() != 0) {
        args.Append(kBitmapNotListed);
    }
    return 1;
}

int FormatMaskBlt(RecordView record, WideText& args) {
    RecordReader r(record);
    if (!r.Has(0, 108)) {
        return FormatUntranslated(args);
    }
    FixedWideText<64> rop;
    NameRasterOp(rop, r.U32(40));
    args.Print(u"(hDC, %d, %d, %d, %d, hdcSrc, %d, %d, hbmMask, %d, %d, %s);", r.I32(24), r.I32(28),
               r.I32(32), r.I32(36), r.I32(44), r.I32(48), r.I32(100), r.I32(104), rop.c_str());
    if (VerboseFlag() != 0) {
        args.Append(kBitmapNotListed);
    }
    return 1;
}

int FormatPlgBlt(RecordView record, WideText& args) {
    RecordReader r(record);
    if (!r.Has(0, 120)) {
        return FormatUntranslated(args);
    }
    args.Print(u"(hDCDest, lpPoint, hDCSrc, %d, %d, %d, %d, hBMMask, %d, %d);", r.I32(48),
               r.I32(52), r.I32(56), r.I32(60), r.I32(112), r.I32(116));
    if (VerboseFlag() == 0) {
        return 1;
    }
    args.Append(u"\r\n\t  // Parameter(s):\r\n\t  const POINT* lpPoint;");
    for (uint32_t i = 0; i < 3; ++i) {
        args.Print(u"\r\n\t  lpPoint[%d] = (%d, %d);", i, r.I32(24 + 8 * i), r.I32(28 + 8 * i));
    }
    args.Append(kBitmapNotListed);
    return 1;
}

int FormatStretchDIBits(RecordView record, WideText& args) {
    RecordReader r(record);
    if (!r.Has(0, 80)) {
        return FormatUntranslated(args);
    }
    FixedWideText<64> usage;
    FixedWideText<64> rop;
    NameDibUsage(usage, r.U32(64));
    NameRasterOp(rop, r.U32(68));
    // The destination size follows the destination origin, as in the call, not as stored.
    args.Print(u"(hDC, %d, %d, %d, %d, %d, %d, %d, %d, lpBits, lpBitsInfo, %s, %s);", r.I32(24),
               r.I32(28), r.I32(72), r.I32(76), r.I32(32), r.I32(36), r.I32(40), r.I32(44),
               usage.c_str(), rop.c_str());
    if (VerboseFlag() == 0) {
        return 1;
    }
    args.Append(
        u"\r\n\t  // Parameter(s):\r\n\t  const BITMAPINFO* lpBitsInfo;\r\n\t  const "
        u"BITMAPINFOHEADER* lpBMIH = &(lpBitsInfo->bmiHeader);");
    AppendBitmapHeader(args, r, r.U32(48));
    return 1;
}

int FormatMonoBrush(RecordView record, WideText& args) {
    RecordReader r(record);
    if (!r.Has(0, 20)) {
        return FormatUntranslated(args);
    }
    args.Print(u"(hbmp);\t// or CreateDIBPatternBrush. ihBrush = %d", r.U32(8));
    if (VerboseFlag() == 0) {
        return 1;
    }
    args.Append(u"\r\n\t  // Parameter(s):\r\n\t  const BITMAPINFOHEADER* lpBMIH;");
    AppendBitmapHeader(args, r, r.U32(16));
    return 1;
}

int FormatDIBPatternBrushPt(RecordView record, WideText& args) {
    RecordReader r(record);
    if (!r.Has(0, 20)) {
        return FormatUntranslated(args);
    }
    FixedWideText<64> usage;
    NameDibUsage(usage, r.U32(12));
    args.Print(u"(lpPackedDIB, %s);", usage.c_str());
    if (VerboseFlag() == 0) {
        return 1;
    }
    args.Append(
        u"\r\n\t  // Parameter(s):\r\n\t  const BITMAPINFO* lpBMPInfo = (const "
        u"BITMAPINFO*)lpPackedDIB;\r\n\t  const BITMAPINFOHEADER* lpBMIH = "
        u"&(lpBMPInfo->bmiHeader);");
    AppendBitmapHeader(args, r, r.U32(16));
    return 1;
}
