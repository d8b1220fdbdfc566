// Formatters of lines, rectangles, arcs, paths, clipping, flood fill and transforms.
#include "calls/format_support.h"
#include "calls/struct_blocks.h"
#include "calls/symbols.h"

namespace {

constexpr uint32_t kMoveToExType = 27;
constexpr uint32_t kXformOffset = 8;

// The transform listing of a world-transform record, only in verbose form. The caller has
// checked that the transform lies inside the record.
void AppendXformBlockIfVerbose(RecordReader& r, WideText& args) {
    if (VerboseFlag() == 0) {
        return;
    }
    Xform xform;
    ReadXform(r, kXformOffset, &xform);
    FixedWideText<1024> block;
    FormatXformBlock(block, xform);
    args.Append(block.view());
}

}  // namespace

int FormatMoveLineTo(RecordView record, WideText& args) {
    RecordReader r(record);
    if (!r.Has(0, 16)) {
        return FormatUntranslated(args);
    }
    args.Print(u"(hDC, %d, %d", r.I32(8), r.I32(12));
    // Only MoveToEx has the argument that receives the previous position.
    if (r.U32(0) == kMoveToExType) {
        args.Append(u", NULL");
    }
    args.Append(u");");
    return 1;
}

int FormatRectArgs(RecordView record, WideText& args) {
    RecordReader r(record);
    if (!r.Has(0, 24)) {
        return FormatUntranslated(args);
    }
    args.Print(u"(hDC, %d, %d, %d, %d);", r.I32(8), r.I32(12), r.I32(16), r.I32(20));
    return 1;
}

int FormatRoundRect(RecordView record, WideText& args) {
    RecordReader r(record);
    if (!r.Has(0, 32)) {
        return FormatUntranslated(args);
    }
    args.Print(u"(hDC, %d, %d, %d, %d, %d, %d);", r.I32(8), r.I32(12), r.I32(16), r.I32(20),
               r.I32(24), r.I32(28));
    return 1;
}

int FormatArcChordPie(RecordView record, WideText& args) {
    RecordReader r(record);
    if (!r.Has(0, 40)) {
        return FormatUntranslated(args);
    }
    args.Print(u"(hDC, %d, %d, %d, %d, %d, %d, %d, %d);", r.I32(8), r.I32(12), r.I32(16), r.I32(20),
               r.I32(24), r.I32(28), r.I32(32), r.I32(36));
    return 1;
}

int FormatAngleArc(RecordView record, WideText& args) {
    RecordReader r(record);
    if (!r.Has(0, 28)) {
        return FormatUntranslated(args);
    }
    FixedWideText<64> start;
    FixedWideText<64> sweep;
    FormatFixed6(start, r.F32(20));
    FormatFixed6(sweep, r.F32(24));
    args.Print(u"(hDC, %d, %d, %d, %s, %s);", r.I32(8), r.I32(12), r.U32(16), start.c_str(),
               sweep.c_str());
    return 1;
}

int FormatExtFloodFill(RecordView record, WideText& args) {
    RecordReader r(record);
    if (!r.Has(0, 24)) {
        return FormatUntranslated(args);
    }
    const uint32_t color = r.U32(16);
    FixedWideText<64> mode;
    LookupSymbol(kFloodFillModeSymbols, r.U32(20), u"0x%08X", mode);
    args.Print(u"(hDC, %d, %d, RGB(%d, %d, %d), %s);", r.I32(8), r.I32(12), color & 0xFF,
               (color >> 8) & 0xFF, (color >> 16) & 0xFF, mode.c_str());
    return 1;
}

int FormatPathDraw(RecordView record, WideText& args) {
    RecordReader r(record);
    if (!r.Has(0, 24)) {
        return FormatUntranslated(args);
    }
    // The three path-drawing records share one layout, so one structure name serves them all.
    args.Print(u"(hDC);    // EMRSTROKEPATH.rclBounds = RECT(%d, %d, %d, %d);", r.I32(8), r.I32(12),
               r.I32(16), r.I32(20));
    return 1;
}

int FormatSelectClipPath(RecordView record, WideText& args) {
    RecordReader r(record);
    if (!r.Has(0, 12)) {
        return FormatUntranslated(args);
    }
    FixedWideText<64> mode;
    NameRegionMode(mode, r.U32(8));
    args.Print(u"(hDC, %s);", mode.c_str());
    return 1;
}

// The transform is a fixed field of both transform records: a record too short for it prints
// as untranslated in both forms, so that the first line never depends on the verbose flag.
int FormatSetWorldTransform(RecordView record, WideText& args) {
    RecordReader r(record);
    if (!r.Has(0, kXformOffset + kXformBytes)) {
        return FormatUntranslated(args);
    }
    args.Append(u"(hDC, lpXform);");
    AppendXformBlockIfVerbose(r, args);
    return 1;
}

int FormatModifyWorldTransform(RecordView record, WideText& args) {
    RecordReader r(record);
    if (!r.Has(0, 36)) {
        return FormatUntranslated(args);
    }
    FixedWideText<64> mode;
    LookupSymbol(kWorldTransformModeSymbols, r.U32(32), u"%d", mode);
    args.Print(u"(hDC, lpXform, %s);", mode.c_str());
    AppendXformBlockIfVerbose(r, args);
    return 1;
}
