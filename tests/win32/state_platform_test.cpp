// The state tracker against the platform's own playback. Every corpus file, and a few built
// ones for what the corpus lacks, is played record by record through the enumeration onto a
// memory surface, from the document's guarded handle as the canvas plays it; after sampled
// records the device context the platform plays into is compared with the tracker's state
// after the same record.
//
// The enumeration folds the file's mapping into the context's world transform: there it is
// the file's world transform, then its window-to-viewport mapping, then the mapping of the
// frame onto the destination, which the context reports before the first record plays. The
// clip is in pixels of the destination, so the tracker's, in units of the reference device,
// goes through that last mapping too.
#include <windows.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#include "canvas/dib_surface_win.h"
#include "canvas/player_win.h"
#include "document/emf_format.h"
#include "document/metafile_document.h"
#include "document/playback_copy.h"
#include "state/clip_region.h"
#include "state/state_tracker.h"
#include "state/state_walk.h"
#include "tests/support/corpus.h"
#include "tests/support/emf_builder.h"

namespace {

// The items compared, as bits of a mask.
enum Compared : uint32_t {
    kAttributes = 1,  // background, text, ROP2, fill and stretch modes, arc direction
    kMiterLimit = 2,
    kObjects = 4,  // the kind of each selected object
    kPosition = 8,
    kWorld = 16,
    kClip = 32,
    kAll = 63,
};

// Where the platform does not do what the format says, the tracker follows the format and the
// items the departure spoils are not compared: for the rest of the file, or while its
// condition holds. The two that spoil nothing are accepted where they show; the last two are
// the test's own: records the platform is not given.
struct Departure {
    const char* name;
    const char* when;
    uint32_t spoils;
};
enum DepartureId {
    kModifySet,
    kDeviceMapping,
    kMiterBits,
    kBezierMoves,
    kExtPenAsPen,
    kSurfaceClip,
    kCurveNotPlayed,
    kGuardReplaced,
    kDepartureCount
};
constexpr Departure kDepartures[kDepartureCount] = {
    {"MWT_SET ignored", "after EMR_MODIFYWORLDTRANSFORM of mode 4", kWorld | kClip},
    {"map modes sized by the playback device",
     "while a map mode of fixed scale or MM_ISOTROPIC is in force; the clip after a clip "
     "record played then",
     kWorld | kClip},
    {"miter limit reported as its whole number's bits",
     "after EMR_SETMITERLIMIT, the limit's whole number is accepted in its bits", kMiterLimit},
    {"PolyBezier moves the position",
     "after EMR_POLYBEZIER or EMR_POLYBEZIER16, until a record sets the position", kPosition},
    {"extended pen reported as OBJ_PEN", "a pen from EMR_EXTCREATEPEN selected", 0},
    {"no clip stands for the playback surface",
     "a clip the size of the surface where the tracker has one holding it", 0},
    {"curve too large to play", "a curve the canvas would not play either", kPosition | kClip},
    {"record replaced by the guard", "a record that may change the state, not sound to play", kAll},
};

struct Totals {
    int files = 0;
    int records = 0;
    int met[kDepartureCount] = {};
    int files_met[kDepartureCount] = {};
};

// The records compared in a file: every one that may change the state, up to a cap, and a
// spread of the others.
std::vector<bool> Samples(const MetafileDocument& document) {
    constexpr int kCap = 5000;
    constexpr int kSpread = 200;
    const int count = document.Store().count();
    std::vector<bool> sampled(size_t(count), false);
    int taken = 0;
    for (int i = 0; i < count; ++i) {
        RecordReader r(document.RecordAt(i));
        if (taken < kCap && MayChangeState(r.U32(0))) {
            sampled[size_t(i)] = true;
            ++taken;
        }
    }
    for (int i = 0; i < count; i += std::max(1, count / kSpread)) {
        sampled[size_t(i)] = true;
    }
    return sampled;
}

bool Near(double a, double b, double relative) {
    return std::fabs(a - b) <= relative * std::max({1.0, std::fabs(a), std::fabs(b)});
}

RECT Through(const XFORM& t, const RectL& r) {
    const double l = r.left * t.eM11 + t.eDx, rt = r.right * t.eM11 + t.eDx;
    const double top = r.top * t.eM22 + t.eDy, b = r.bottom * t.eM22 + t.eDy;
    return RECT{LONG(std::lround(std::min(l, rt))), LONG(std::lround(std::min(top, b))),
                LONG(std::lround(std::max(l, rt))), LONG(std::lround(std::max(top, b)))};
}

RECT Within(const RECT& a, const RECT& b) {
    return RECT{std::max(a.left, b.left), std::max(a.top, b.top), std::min(a.right, b.right),
                std::min(a.bottom, b.bottom)};
}

std::string Text(const RECT& r) {
    char text[80];
    std::snprintf(text, sizeof text, "(%ld, %ld)-(%ld, %ld)", r.left, r.top, r.right, r.bottom);
    return text;
}

std::string Text(const POINT& at) {
    char text[40];
    std::snprintf(text, sizeof text, "(%ld, %ld)", at.x, at.y);
    return text;
}

constexpr LONG kSurface = 256;

// One file's enumeration: the document, its tracker, and what spoils which item.
struct Run {
    const MetafileDocument* document;
    StateTracker tracker;
    std::vector<bool> sampled;
    std::vector<bool> replaced;
    Totals* totals;
    XFORM frame = {1, 0, 0, 1, 0, 0};
    uint32_t spoiled = 0;  // for the rest of the file
    bool bezier_moved = false;
    bool met[kDepartureCount] = {};
    int reached = 0;
    int compared = 0;
    int mismatches = 0;
    // The built files' paths are figures that reach every side of their boxes: a rectangle
    // standing for the region a path makes alone is its bounding box.
    bool exact_paths = false;
};

void Meet(Run& run, int departure, bool lasting = true) {
    if (lasting) {
        run.spoiled |= kDepartures[departure].spoils;
    }
    ++run.totals->met[departure];
    run.met[departure] = true;
}

// Whether the platform takes the mapping's scale from its own device, not from the reference
// device in the header: it does for the fixed map modes and MM_ISOTROPIC.
bool DeviceMapped(const GraphicsState& state) {
    const uint32_t mode = state.dc.mapping.map_mode.value;
    return mode >= 2 && mode <= 7;
}

// Follows the departures `record` starts or ends; `state` is the tracker's after it.
void Follow(Run& run, RecordView record, const GraphicsState& state) {
    RecordReader r(record);
    const uint32_t type = r.U32(0);
    switch (type) {
        case kEmrModifyWorldTransform:
            if (r.U32(32) == 4) {
                Meet(run, kModifySet);
            }
            break;
        case kEmrSetMapMode:
            if (DeviceMapped(state)) {
                Meet(run, kDeviceMapping, false);
            }
            break;
        case kEmrIntersectClipRect:
        case kEmrExcludeClipRect:
        case kEmrOffsetClipRgn:
        case kEmrSelectClipPath:
            if (DeviceMapped(state)) {
                Meet(run, kDeviceMapping);
            }
            break;
        case kEmrSetMiterLimit:
            Meet(run, kMiterBits);
            break;
        case kEmrPolyBezier:
        case kEmrPolyBezier16:
            run.bezier_moved = true;
            Meet(run, kBezierMoves, false);
            break;
        case kEmrMoveToEx:
        case kEmrLineTo:
        case kEmrPolylineTo:
        case kEmrPolyBezierTo:
        case kEmrPolylineTo16:
        case kEmrPolyBezierTo16:
        case kEmrArcTo:
        case kEmrAngleArc:
            run.bezier_moved = false;
            break;
        default:
            break;
    }
}

// One line a mismatch, a few a file.
void Mismatch(Run& run, int index, const char* item, const std::string& got,
              const std::string& want) {
    if (++run.mismatches <= 12) {
        ADD_FAILURE() << "record " << index << ", " << item << ": the platform has " << got
                      << ", the tracker " << want;
    }
}

template <typename T>
void Same(Run& run, int index, const char* item, T got, T want) {
    if (got != want) {
        Mismatch(run, index, item, std::to_string(got), std::to_string(want));
    }
}

void CompareAttributes(Run& run, HDC dc, int index, const AttributeState& a, uint32_t spoiled) {
    if ((spoiled & kAttributes) == 0) {
        Same(run, index, "background mode", uint32_t(GetBkMode(dc)), a.background_mode.value);
        Same(run, index, "background colour", uint32_t(GetBkColor(dc)), a.background_color.value);
        Same(run, index, "text colour", uint32_t(GetTextColor(dc)), a.text_color.value);
        Same(run, index, "text alignment", uint32_t(GetTextAlign(dc)), a.text_align.value);
        Same(run, index, "ROP2", uint32_t(GetROP2(dc)), a.rop2.value);
        Same(run, index, "fill mode", uint32_t(GetPolyFillMode(dc)), a.poly_fill_mode.value);
        Same(run, index, "stretch mode", uint32_t(GetStretchBltMode(dc)), a.stretch_mode.value);
        Same(run, index, "arc direction", uint32_t(GetArcDirection(dc)), a.arc_direction.value);
    }
    FLOAT limit = 0;
    GetMiterLimit(dc, &limit);
    // Where the platform keeps a limit set by a record as a whole number, its bits are that
    // number; one a RestoreDC brings back is a float again.
    uint32_t bits = 0;
    std::memcpy(&bits, &limit, 4);
    const bool as_bits = (spoiled & kMiterLimit) != 0;
    if (std::fabs(limit - a.miter_limit.value) > 1e-4 &&
        !(as_bits && bits == uint32_t(a.miter_limit.value))) {
        Mismatch(run, index, "miter limit", as_bits ? std::to_string(bits) : std::to_string(limit),
                 std::to_string(a.miter_limit.value));
    }
}

void CompareObjects(Run& run, HDC dc, int index, const SelectionState& sel) {
    const DWORD pen = GetObjectType(GetCurrentObject(dc, OBJ_PEN));
    const bool extended =
        (sel.pen.value.handle & kStockBit) == 0 && sel.pen.value.object.kind == ObjectKind::kExtPen;
    if (extended && pen == OBJ_PEN) {
        Meet(run, kExtPenAsPen, false);
    } else {
        Same(run, index, "pen kind", uint32_t(pen), uint32_t(extended ? OBJ_EXTPEN : OBJ_PEN));
    }
    Same(run, index, "brush kind", uint32_t(GetObjectType(GetCurrentObject(dc, OBJ_BRUSH))),
         uint32_t(OBJ_BRUSH));
    Same(run, index, "font kind", uint32_t(GetObjectType(GetCurrentObject(dc, OBJ_FONT))),
         uint32_t(OBJ_FONT));
    Same(run, index, "palette kind", uint32_t(GetObjectType(GetCurrentObject(dc, OBJ_PAL))),
         uint32_t(OBJ_PAL));
}

void CompareWorld(Run& run, HDC dc, int index, const DcState& s) {
    const XFORM& f = run.frame;
    const Transform want =
        Multiply(LogicalToDevice(s), Transform{f.eM11, f.eM12, f.eM21, f.eM22, f.eDx, f.eDy});
    XFORM got = {};
    GetWorldTransform(dc, &got);
    const double w[] = {want.m11, want.m12, want.m21, want.m22, want.dx, want.dy};
    const double g[] = {got.eM11, got.eM12, got.eM21, got.eM22, got.eDx, got.eDy};
    for (int i = 0; i < 6; ++i) {
        if (!Near(g[i], w[i], 1e-3)) {
            auto text = [](const double* m) {
                char t[160];
                std::snprintf(t, sizeof t, "[%g %g %g %g %g %g]", m[0], m[1], m[2], m[3], m[4],
                              m[5]);
                return std::string(t);
            };
            Mismatch(run, index, "world transform", text(g), text(w));
            return;
        }
    }
}

bool ExactPath(Run& run, const GraphicsState& state) {
    RecordReader set_by(run.document->RecordAt(state.dc.clip.set_by));
    return run.exact_paths && state.dc.meta.value.kind == RegionKind::kWhole &&
           set_by.U32(0) == kEmrSelectClipPath && set_by.U32(8) == 5;
}

// The clip's bounding box, both within the reference device's surface: where the tracker cuts
// a rectangle from the whole surface, it cuts it from that surface.
void CompareClip(Run& run, HDC dc, int index, const GraphicsState& state) {
    Region clip;
    ASSERT_TRUE(EffectiveClip(state.dc, DeviceSurface(state), &clip));
    HRGN region = CreateRectRgn(0, 0, 0, 0);
    const int has = GetRandomRgn(dc, region, 3);
    RECT box = {};
    const int kind = has == 1 ? GetRgnBox(region, &box) : 0;
    DeleteObject(region);
    const RECT surface = Through(run.frame, DeviceSurface(state));
    const RECT got = Within(box, surface);
    if (clip.kind == RegionKind::kWhole) {
        if (has != 0) {
            Mismatch(run, index, "clip", Text(box), "none");
        }
        return;
    }
    const RECT want = Within(Through(run.frame, RegionBounds(clip, DeviceSurface(state))), surface);
    const bool empty_want = clip.count() == 0 || want.left >= want.right || want.top >= want.bottom;
    const bool empty_got = kind == NULLREGION || got.left >= got.right || got.top >= got.bottom;
    if (empty_want || empty_got) {
        // A rectangle standing for a region may hold an empty one.
        if (empty_want != empty_got && !(clip.approximated && empty_got)) {
            Mismatch(run, index, "clip", empty_got ? "an empty one" : Text(got),
                     empty_want ? "an empty one" : Text(want));
        }
        return;
    }
    const LONG slack = 2;
    const bool holds = got.left >= want.left - slack && got.top >= want.top - slack &&
                       got.right <= want.right + slack && got.bottom <= want.bottom + slack;
    const bool equal = holds && got.left <= want.left + slack && got.top <= want.top + slack &&
                       got.right >= want.right - slack && got.bottom >= want.bottom - slack;
    if (box.left == 0 && box.top == 0 && box.right == kSurface && box.bottom == kSurface && holds) {
        Meet(run, kSurfaceClip, false);
    } else if (clip.approximated && !ExactPath(run, state) ? !holds : !equal) {
        Mismatch(run, index, clip.approximated ? "clip (held by the tracker's)" : "clip", Text(got),
                 Text(want));
    }
}

void Compare(Run& run, HDC dc, int index, const GraphicsState* state) {
    const DcState& s = state->dc;
    const uint32_t spoiled = run.spoiled | (DeviceMapped(*state) ? uint32_t(kWorld) : 0) |
                             (run.bezier_moved ? uint32_t(kPosition) : 0);
    CompareAttributes(run, dc, index, s.attributes, spoiled);
    if ((spoiled & kObjects) == 0) {
        CompareObjects(run, dc, index, s.selected);
    }
    if ((spoiled & kPosition) == 0 && s.position.value.known) {
        POINT at = {};
        GetCurrentPositionEx(dc, &at);
        if (at.x != s.position.value.at.x || at.y != s.position.value.at.y) {
            Mismatch(run, index, "position", Text(at),
                     Text(POINT{s.position.value.at.x, s.position.value.at.y}));
        }
    }
    if ((spoiled & kWorld) == 0) {
        CompareWorld(run, dc, index, s);
    }
    if ((spoiled & kClip) == 0) {
        CompareClip(run, dc, index, *state);
    }
    ++run.compared;
}

int CALLBACK PlayAndCompare(HDC dc, HANDLETABLE* handles, const ENHMETARECORD* record,
                            int handle_count, LPARAM data) {
    Run& run = *reinterpret_cast<Run*>(data);
    const int index = run.reached++;
    if (index == 0) {
        GetWorldTransform(dc, &run.frame);
    }
    if (index >= run.document->Store().count()) {
        return 1;  // an end-of-file record the copy added
    }
    if (run.replaced[size_t(index)]) {
        Meet(run, kGuardReplaced);
    }
    if (CurveFits(dc, record)) {
        PlayEnhMetaFileRecord(dc, handles, record, UINT(handle_count));
    } else {
        Meet(run, kCurveNotPlayed);
    }
    const GraphicsState* state = run.tracker.StateAt(index);
    EXPECT_NE(state, nullptr);
    if (state == nullptr) {
        return 0;
    }
    Follow(run, run.document->RecordAt(index), *state);
    if (run.sampled[size_t(index)]) {
        Compare(run, dc, index, state);
    }
    return testing::Test::HasFatalFailure() ? 0 : 1;
}

// The frame in pixels of the reference device: the destination that maps the file's device
// units onto the surface's pixels one to one. False for a frame of no width or height.
bool FrameInPixels(const MetafileDocument& document, RECT* out) {
    RecordReader h(document.RecordAt(0));
    const double fl = h.I32(24), ft = h.I32(28), fr = h.I32(32), fb = h.I32(36);
    const double dx = h.I32(72), dy = h.I32(76), mx = h.I32(80), my = h.I32(84);
    if (!h.ok() || fr <= fl || fb <= ft || dx <= 0 || dy <= 0 || mx <= 0 || my <= 0) {
        return false;
    }
    const double sx = dx / (mx * 100), sy = dy / (my * 100);
    *out = RECT{LONG(std::lround(fl * sx)), LONG(std::lround(ft * sy)), LONG(std::lround(fr * sx)),
                LONG(std::lround(fb * sy))};
    return out->right > out->left && out->bottom > out->top;
}

// Plays one file and compares; false when it cannot be compared at all.
bool CompareFile(const MetafileDocument& document, HDC dc, bool built, Totals& totals) {
    RECT destination;
    if (document.Metafile() == nullptr || !FrameInPixels(document, &destination)) {
        return false;
    }
    Run run{&document, {}, Samples(document), {}, &totals};
    run.exact_paths = built;
    run.tracker.Reset(document, nullptr);
    run.replaced.assign(size_t(document.Store().count()), false);
    PlaybackCopy copy;
    EXPECT_EQ(BuildPlaybackCopy(document.Store(), &copy), 1);
    for (const PlaybackReplacement& r : copy.replacements) {
        if (r.index < document.Store().count() && MayChangeState(r.type)) {
            run.replaced[size_t(r.index)] = true;
        }
    }
    EnumEnhMetaFile(dc, static_cast<HENHMETAFILE>(document.Metafile()), PlayAndCompare, &run,
                    &destination);
    totals.records += run.compared;
    for (int d = 0; d < kDepartureCount; ++d) {
        totals.files_met[d] += run.met[d] ? 1 : 0;
    }
    return true;
}

// What the corpus lacks: arcs that end the position, a world transform set by
// MWT_SET, clips made from paths in two modes.
std::vector<std::vector<uint8_t>> BuiltFiles() {
    const auto r = FieldRecord;
    auto angle_arc = [](int32_t x, int32_t y, uint32_t radius, float start, float sweep) {
        return RecordBuilder(kEmrAngleArc, 28)
            .I32(8, x)
            .I32(12, y)
            .U32(16, radius)
            .F32(20, start)
            .F32(24, sweep);
    };
    RecordBuilder set(kEmrModifyWorldTransform, 36);
    set.F32(8, 2).F32(20, 2).F32(24, 10).F32(28, 5).U32(32, 4);
    const std::vector<std::vector<RecordBuilder>> files = {
        {r(kEmrMoveToEx, {10, 10}), angle_arc(300, 300, 100, 30, 75),
         angle_arc(300, 300, 57, -20, -250), r(kEmrArcTo, {100, 100, 400, 250, 0, 0, 400, 90}),
         r(kEmrSetArcDirection, {2}), r(kEmrArcTo, {400, 250, 100, 100, 7, 300, 120, 260}),
         r(kEmrArcTo, {50, 50, 50, 90, 0, 0, 10, 10})},
        {r(kEmrSetMapMode, {8}), r(kEmrSetViewportExtEx, {3, 2}), r(kEmrSetWindowExtEx, {2, 1}),
         r(kEmrMoveToEx, {20, 30}), r(kEmrBeginPath, {}), r(kEmrLineTo, {200, 30}),
         r(kEmrLineTo, {200, 200}), r(kEmrCloseFigure, {}), r(kEmrEllipse, {250, 100, 300, 260}),
         r(kEmrEndPath, {}), r(kEmrSelectClipPath, {5}), r(kEmrIntersectClipRect, {0, 0, 120, 120}),
         r(kEmrBeginPath, {}), r(kEmrRectangle, {100, 20, 300, 90}), r(kEmrEndPath, {}),
         r(kEmrSelectClipPath, {1}), set},
    };
    std::vector<std::vector<uint8_t>> built;
    for (const auto& records : files) {
        EmfBuilder builder;
        builder.Frame(0, 0, 20000, 20000);
        for (const RecordBuilder& record : records) {
            builder.Add(record);
        }
        built.push_back(builder.Build());
    }
    return built;
}

TEST(StatePlatformCorpus, TheTrackerAgreesWithThePlatformsPlayback) {
    ORVELLA_CORPUS_OR_SKIP(corpus);
    Totals totals;
    std::vector<std::string> paths = ListEmfFiles(corpus + "/good");
    for (const std::string& path : ListEmfFiles(corpus + "/corrupted")) {
        paths.push_back(path);
    }
    for (const std::vector<uint8_t>& bytes : BuiltFiles()) {
        paths.push_back(
            WriteTempFile("state-platform-" + std::to_string(paths.size()) + ".emf", bytes));
    }
    for (const std::string& path : paths) {
        SCOPED_TRACE(path);
        MetafileDocument document;
        // A fresh context for every file: each starts from the platform's defaults.
        // A small surface: drawing outside it costs nothing.
        DibSurface surface(kSurface, kSurface);
        ASSERT_TRUE(surface.ok());
        if (document.LoadFile(ToU16(path).c_str()) == 1 &&
            CompareFile(document, surface.dc(), path.find("state-platform-") != std::string::npos,
                        totals)) {
            ++totals.files;
        }
        if (HasFatalFailure()) {
            break;
        }
    }
    std::printf("state against the platform: %d files, %d records compared\n", totals.files,
                totals.records);
    for (int d = 0; d < kDepartureCount; ++d) {
        std::printf("  %s (%s): %d records in %d files\n", kDepartures[d].name, kDepartures[d].when,
                    totals.met[d], totals.files_met[d]);
    }
    EXPECT_GT(totals.files, 150);
}

}  // namespace
