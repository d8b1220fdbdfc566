// Formatters of regions and point lists.
#include "calls/format_support.h"
#include "calls/struct_blocks.h"
#include "calls/symbols.h"

namespace {

// Caps that keep the verbose text of any record well inside the call-text buffer.
constexpr int32_t kPointsListed = 32;
constexpr uint32_t kPolygonPointsListed = 32;
constexpr uint32_t kPolygonsListed = 8;

constexpr uint32_t kPointsOffset = 28;
constexpr uint32_t kPolyCountsOffset = 32;
constexpr uint32_t kPoint16Bytes = 4;
constexpr uint32_t kPoint32Bytes = 8;

// The line that points the RGNDATA at the record's own region field, then the region listing
// itself, which stays inside the record whatever its counts claim.
void AppendRgnData(RecordReader& r, WideText& args, const char16_t* variable, uint32_t offset) {
    args.Print(u"\r\n\t  const RGNDATA* pRgnData = (const RGNDATA*)(%s.RgnData);", variable);
    FixedWideText<2048> block;
    FormatRgnDataBlock(block, r, offset);
    args.Append(block.view());
}

// The parameter block of the four region-painting records, whose `cbRgnData` is at offset 24.
void AppendRegionParameters(RecordReader& r, WideText& args, const char16_t* structure,
                            const char16_t* variable, uint32_t region_offset) {
    if (VerboseFlag() == 0) {
        return;
    }
    args.Append(u"\r\n\t  // Parameter(s):");
    args.Print(u"\r\n\t  %s %s;", structure, variable);
    args.Print(u"\r\n\t  %s.cbRgnData = %d;", variable, r.U32(24));
    AppendRgnData(r, args, variable, region_offset);
}

// The first line and, in verbose form, the listing of a record of `cptl` points of
// `point_bytes` each, followed by its bounds.
void AppendPointList(RecordReader& r, WideText& args, uint32_t point_bytes) {
    const bool narrow = point_bytes == kPoint16Bytes;
    const int32_t count = r.I32(24);
    args.Print(narrow ? u"(hDC, lppt, %d);    // 16-bit version" : u"(hDC, lppt, %d);", count);
    if (VerboseFlag() == 0) {
        return;
    }
    args.Append(u"\r\n\t  // Parameter(s):");
    args.Append(narrow ? u"\r\n\t  const POINTS* lppt;" : u"\r\n\t  const POINT* lppt;");
    // A count with its top bit set is negative and lists nothing.
    const uint32_t held =
        count > 0 ? r.CountInside(kPointsOffset, static_cast<uint32_t>(count), point_bytes) : 0;
    for (int32_t i = 0; i < count; ++i) {
        if (i == kPointsListed) {
            args.Print(u"\r\n\t  // %d more point(s) is(are) bypassed...", count - kPointsListed);
            break;
        }
        if (static_cast<uint32_t>(i) >= held) {
            AppendBeyondRecordNote(args, static_cast<uint32_t>(count - i), u"point");
            break;
        }
        const uint32_t offset = kPointsOffset + static_cast<uint32_t>(i) * point_bytes;
        if (narrow) {
            args.Print(u"\r\n\t  lppt[%d] = (%d, %d);", i, r.I16(offset), r.I16(offset + 2));
        } else {
            args.Print(u"\r\n\t  lppt[%d] = (%d, %d);", i, r.I32(offset), r.I32(offset + 4));
        }
    }
    args.Print(u"\r\n\t  rclBounds = RECT(%d, %d, %d, %d);", r.I32(8), r.I32(12), r.I32(16),
               r.I32(20));
}

// Where the points of a 16-bit poly-polygon record lie: the array starts after the polygon
// counts, and `held` points of it lie inside the record. 64-bit, since the start offset of a
// record with a hostile polygon count does not fit 32 bits.
struct PointArray {
    uint64_t start;
    uint64_t held;
};

PointArray LocatePolyPoints(const RecordReader& r, uint32_t polygons) {
    PointArray points;
    points.start = kPolyCountsOffset + uint64_t{kPoint16Bytes} * polygons;
    points.held = points.start <= r.size() ? (r.size() - points.start) / kPoint16Bytes : 0;
    return points;
}

// One polygon's heading and its points, which begin at index `first` of the point array.
void AppendPolygon(RecordReader& r, WideText& args, const PointArray& points, uint32_t polygon,
                   uint32_t count, uint64_t first) {
    args.Print(u"\r\n\t  // Polygon %d, number of points: %d", polygon + 1, count);
    for (uint32_t k = 0; k < count; ++k) {
        if (k == kPolygonPointsListed) {
            args.Print(u"\r\n\t  // %d more point(s) is(are) bypassed...",
                       count - kPolygonPointsListed);
            return;
        }
        if (first + k >= points.held) {
            AppendBeyondRecordNote(args, count - k, u"point");
            return;
        }
        // Inside the record, so the offset fits 32 bits.
        const auto offset = static_cast<uint32_t>(points.start + (first + k) * kPoint16Bytes);
        args.Print(u"\r\n\t  // %d. (%d, %d)", k + 1, r.I16(offset), r.I16(offset + 2));
    }
}

}  // namespace

int FormatExtSelectClipRgn(RecordView record, WideText& args) {
    RecordReader r(record);
    if (!r.Has(0, 16)) {
        return FormatUntranslated(args);
    }
    const uint32_t size = r.U32(8);
    FixedWideText<64> mode;
    NameRegionMode(mode, r.U32(12));
    // Without region data the call resets the clipping region: there is nothing to list.
    if (size == 0) {
        args.Print(u"(hDC, NULL, %s);", mode.c_str());
        return 1;
    }
    args.Print(u"(hDC, hRgn, %s);", mode.c_str());
    if (VerboseFlag() == 0) {
        return 1;
    }
    args.Append(u"\r\n\t  // Parameter(s):\r\n\t  EMREXTSELECTCLIPRGN emrESCR;");
    args.Print(u"\r\n\t  emrESCR.cbRgnData = %d;", size);
    args.Print(u"\r\n\t  emrESCR.iMode = %s;", mode.c_str());
    AppendRgnData(r, args, u"emrESCR", 16);
    return 1;
}

int FormatFillRgn(RecordView record, WideText& args) {
    RecordReader r(record);
    if (!r.Has(0, 32)) {
        return FormatUntranslated(args);
    }
    args.Print(u"(hDC, hRgn, (HBRUSH)%d);", r.U32(28));
    AppendRegionParameters(r, args, u"EMRFILLRGN", u"emrFR", 32);
    return 1;
}

int FormatFrameRgn(RecordView record, WideText& args) {
    RecordReader r(record);
    if (!r.Has(0, 40)) {
        return FormatUntranslated(args);
    }
    args.Print(u"(hDC, hRgn, (HBRUSH)%d, %d, %d);", r.U32(28), r.I32(32), r.I32(36));
    AppendRegionParameters(r, args, u"EMRFRAMERGN", u"emrFR", 40);
    return 1;
}

// The brief forms of InvertRgn and PaintRgn read no field, but the verbose forms read
// `cbRgnData`; both forms check for it, so that the first line never depends on the flag.
int FormatInvertRgn(RecordView record, WideText& args) {
    RecordReader r(record);
    if (!r.Has(0, 28)) {
        return FormatUntranslated(args);
    }
    args.Append(u"(hDC, hRgn);");
    AppendRegionParameters(r, args, u"EMRINVERTRGN", u"emrIR", 28);
    return 1;
}

int FormatPaintRgn(RecordView record, WideText& args) {
    RecordReader r(record);
    if (!r.Has(0, 28)) {
        return FormatUntranslated(args);
    }
    args.Append(u"(hDC, hRgn);");
    AppendRegionParameters(r, args, u"EMRPAINTRGN", u"emrPR", 28);
    return 1;
}

int FormatPolyPoints(RecordView record, WideText& args) {
    RecordReader r(record);
    if (!r.Has(0, kPointsOffset)) {
        return FormatUntranslated(args);
    }
    AppendPointList(r, args, kPoint32Bytes);
    return 1;
}

int FormatPolyPoints16(RecordView record, WideText& args) {
    RecordReader r(record);
    if (!r.Has(0, kPointsOffset)) {
        return FormatUntranslated(args);
    }
    AppendPointList(r, args, kPoint16Bytes);
    return 1;
}

int FormatPolyPolyPoints16(RecordView record, WideText& args) {
    RecordReader r(record);
    if (!r.Has(0, kPolyCountsOffset)) {
        return FormatUntranslated(args);
    }
    const uint32_t polygons = r.U32(24);
    args.Print(u"(hDC, lpPoints, lpPolyCounts, %d);\t// %d points total. 16-bit version", polygons,
               r.U32(28));
    if (VerboseFlag() == 0 || polygons == 0) {
        return 1;
    }
    const uint32_t counts_held = r.CountInside(kPolyCountsOffset, polygons, 4);
    const PointArray points = LocatePolyPoints(r, polygons);
    // Each polygon starts after every point of the polygons before it, listed or not; the
    // total in the first line is printed only, never used to walk the points.
    uint64_t first = 0;
    for (uint32_t j = 0; j < polygons; ++j) {
        if (j == kPolygonsListed) {
            args.Print(u"\r\n\t  // %d more polygon(s) is(are) bypassed...",
                       polygons - kPolygonsListed);
            break;
        }
        if (j >= counts_held) {
            AppendBeyondRecordNote(args, polygons - j, u"polygon");
            break;
        }
        const uint32_t count = r.U32(kPolyCountsOffset + j * 4);
        AppendPolygon(r, args, points, j, count, first);
        first += count;
    }
    return 1;
}
