// One handler per family of records, found through a table by record type.
#include "state/state_walk.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <vector>

#include "document/emf_format.h"
#include "state/clip_region.h"
#include "state/emfplus_state_walk.h"

namespace {

struct Play {
    GraphicsState& state;
    RecordReader& reader;
    RecordView view;
    uint32_t type;
    int32_t index;
    bool memory_ok = true;
    DcState& dc() { return state.dc; }
};

using Handler = void (*)(Play& p);

constexpr uint32_t kMmText = 1, kMmIsotropic = 7, kMmAnisotropic = 8;

bool ScalesFreely(const MappingState& m) {
    return m.map_mode.value == kMmIsotropic || m.map_mode.value == kMmAnisotropic;
}

// In MM_ISOTROPIC one logical unit is as long across as down: the viewport extent of the
// larger scale is shrunk to the other's.
void FixIsotropic(GraphicsState& s, int32_t record) {
    MappingState& m = s.dc.mapping;
    if (m.map_mode.value != kMmIsotropic) {
        return;
    }
    const SizeL w = m.window_ext.value;
    SizeL v = m.viewport_ext.value;
    if (w.cx == 0 || w.cy == 0 || s.device.cx == 0 || s.device.cy == 0) {
        return;
    }
    const double xdim = std::fabs(double(v.cx) * s.millimeters.cx / (double(s.device.cx) * w.cx));
    const double ydim = std::fabs(double(v.cy) * s.millimeters.cy / (double(s.device.cy) * w.cy));
    if (xdim == ydim || xdim == 0 || ydim == 0) {
        return;
    }
    if (xdim > ydim) {
        const int32_t least = v.cx >= 0 ? 1 : -1;
        v.cx = int32_t(std::floor(v.cx * ydim / xdim + 0.5));
        v.cx = v.cx != 0 ? v.cx : least;
    } else {
        const int32_t least = v.cy >= 0 ? 1 : -1;
        v.cy = int32_t(std::floor(v.cy * xdim / ydim + 0.5));
        v.cy = v.cy != 0 ? v.cy : least;
    }
    m.viewport_ext.Set(v, record);
}

int32_t MulDivSat(int32_t value, int64_t num, int64_t den) {
    const int64_t r = int64_t(value) * num / den;
    return int32_t(std::clamp<int64_t>(r, INT32_MIN, INT32_MAX));
}

void OnMapMode(Play& p) {
    const uint32_t mode = p.reader.U32(8);
    if (!p.reader.ok() || mode < kMmText || mode > kMmAnisotropic) {
        return;
    }
    MappingState& m = p.dc().mapping;
    if (mode == m.map_mode.value && ScalesFreely(m)) {
        m.map_mode.set_by = p.index;
        return;
    }
    m.map_mode.Set(mode, p.index);
    const SizeL mm = p.state.millimeters, dev = p.state.device;
    // The fixed modes' window extents in their logical units; the viewport is the device.
    int64_t per_mm_num = 0, per_mm_den = 1;
    switch (mode) {
        case 2:
            per_mm_num = 10;
            break;  // MM_LOMETRIC
        case 3:
            per_mm_num = 100;
            break;  // MM_HIMETRIC
        case 4:
            per_mm_num = 1000, per_mm_den = 254;
            break;  // MM_LOENGLISH
        case 5:
            per_mm_num = 10000, per_mm_den = 254;
            break;  // MM_HIENGLISH
        case 6:
            per_mm_num = 14400, per_mm_den = 254;
            break;  // MM_TWIPS
        case kMmIsotropic:
            per_mm_num = 10;
            break;
        default:
            break;
    }
    if (mode == kMmText) {
        m.window_ext.Set(SizeL{1, 1}, p.index);
        m.viewport_ext.Set(SizeL{1, 1}, p.index);
    } else if (per_mm_num != 0) {
        m.window_ext.Set(SizeL{MulDivSat(mm.cx, per_mm_num, per_mm_den),
                               MulDivSat(mm.cy, per_mm_num, per_mm_den)},
                         p.index);
        m.viewport_ext.Set(SizeL{dev.cx, -dev.cy}, p.index);
    }
}

void OnExtent(Play& p) {
    MappingState& m = p.dc().mapping;
    const bool window = p.type == kEmrSetWindowExtEx || p.type == kEmrScaleWindowExtEx;
    Item<SizeL>& ext = window ? m.window_ext : m.viewport_ext;
    SizeL to;
    if (p.type == kEmrSetWindowExtEx || p.type == kEmrSetViewportExtEx) {
        to = SizeL{p.reader.I32(8), p.reader.I32(12)};
    } else {
        const int32_t xn = p.reader.I32(8), xd = p.reader.I32(12);
        const int32_t yn = p.reader.I32(16), yd = p.reader.I32(20);
        if (xd == 0 || yd == 0) {
            return;
        }
        to = SizeL{MulDivSat(ext.value.cx, xn, xd), MulDivSat(ext.value.cy, yn, yd)};
    }
    if (!p.reader.ok() || !ScalesFreely(m)) {
        return;
    }
    if (to.cx == 0 || to.cy == 0) {
        p.state.Note(EventKind::kZeroExtent, p.index, window ? 0 : 1);
        return;
    }
    ext.Set(to, p.index);
    FixIsotropic(p.state, p.index);
}

void OnOrigin(Play& p) {
    const PointL to{p.reader.I32(8), p.reader.I32(12)};
    if (!p.reader.ok()) {
        return;
    }
    MappingState& m = p.dc().mapping;
    switch (p.type) {
        case kEmrSetWindowOrgEx:
            m.window_org.Set(to, p.index);
            break;
        case kEmrSetViewportOrgEx:
            m.viewport_org.Set(to, p.index);
            break;
        default:
            p.dc().attributes.brush_origin.Set(to, p.index);
            break;
    }
}

Transform ReadTransform(RecordReader& r, uint32_t at) {
    Transform t;
    t.m11 = r.F32(at);
    t.m12 = r.F32(at + 4);
    t.m21 = r.F32(at + 8);
    t.m22 = r.F32(at + 12);
    t.dx = r.F32(at + 16);
    t.dy = r.F32(at + 20);
    return t;
}

void OnWorldTransform(Play& p) {
    const Transform given = ReadTransform(p.reader, 8);
    const uint32_t mode = p.type == kEmrModifyWorldTransform ? p.reader.U32(32) : 4;
    if (!p.reader.ok()) {
        return;
    }
    Item<Transform>& world = p.dc().mapping.world;
    switch (mode) {
        case 1:
            world.Set(Transform{}, p.index);
            break;
        case 2:
            world.Set(Multiply(given, world.value), p.index);
            break;
        case 3:
            world.Set(Multiply(world.value, given), p.index);
            break;
        case 4:
            world.Set(given, p.index);
            break;
        default:
            break;
    }
}

void OnAttribute(Play& p) {
    AttributeState& a = p.dc().attributes;
    const uint32_t value = p.reader.U32(8);
    if (!p.reader.ok()) {
        return;
    }
    switch (p.type) {
        case kEmrSetBkMode:
            a.background_mode.Set(value, p.index);
            break;
        case kEmrSetBkColor:
            a.background_color.Set(value, p.index);
            break;
        case kEmrSetTextColor:
            a.text_color.Set(value, p.index);
            break;
        case kEmrSetTextAlign:
            a.text_align.Set(value, p.index);
            break;
        case kEmrSetRop2:
            a.rop2.Set(value, p.index);
            break;
        case kEmrSetPolyFillMode:
            a.poly_fill_mode.Set(value, p.index);
            break;
        case kEmrSetStretchBltMode:
            a.stretch_mode.Set(value, p.index);
            break;
        case kEmrSetArcDirection:
            a.arc_direction.Set(value, p.index);
            break;
        case kEmrSetLayout:
            a.layout.Set(value, p.index);
            break;
        case kEmrSetMapperFlags:
            a.mapper_flags.Set(value, p.index);
            break;
        case kEmrSetIcmMode:
            a.icm_mode.Set(value, p.index);
            break;
        case kEmrSetMiterLimit: {
            // Writers store the limit as a float; a few store a whole number, whose bits as a
            // float would be a vanishing value.
            float limit = p.reader.F32(8);
            if (value != 0 && value < 0x10000) {
                limit = float(value);
            }
            a.miter_limit.Set(limit, p.index);
            break;
        }
        case kEmrSetTextJustification:
            a.justification.Set(Justification{p.reader.I32(8), p.reader.I32(12)}, p.index);
            break;
        case kEmrSetColorAdjustment: {
            ColorAdjustment c;
            c.size = p.reader.U16(8), c.flags = p.reader.U16(10), c.illuminant = p.reader.U16(12);
            c.red_gamma = p.reader.U16(14), c.green_gamma = p.reader.U16(16);
            c.blue_gamma = p.reader.U16(18), c.reference_black = p.reader.U16(20);
            c.reference_white = p.reader.U16(22), c.contrast = p.reader.I16(24);
            c.brightness = p.reader.I16(26), c.colorfulness = p.reader.I16(28);
            c.red_green_tint = p.reader.I16(30);
            if (p.reader.ok()) {
                a.color_adjustment.Set(c, p.index);
            }
            break;
        }
        default:
            break;
    }
}

// Whether `index` names a slot objects may be created in; notes it when not.
bool UsableIndex(Play& p, uint32_t index) {
    if (index == 0 || index >= p.state.objects.handles()) {
        p.state.Note(EventKind::kIndexBeyondTable, p.index, int32_t(index));
        return false;
    }
    return true;
}

void OnCreate(Play& p) {
    const uint32_t slot = p.reader.U32(8);
    ObjectEntry e;
    e.created_by = p.index;
    RecordReader& r = p.reader;
    switch (p.type) {
        case kEmrCreatePen:
            e.kind = ObjectKind::kPen, e.style = r.U32(12), e.width = r.I32(16),
            e.color = r.U32(24);
            break;
        case kEmrExtCreatePen:
            e.kind = ObjectKind::kExtPen, e.style = r.U32(28), e.width = r.I32(32);
            e.color = r.U32(40), e.hatch = r.U32(36);  // the brush style of the pen
            break;
        case kEmrCreateBrushIndirect:
            e.kind = ObjectKind::kBrush, e.style = r.U32(12), e.color = r.U32(16);
            e.hatch = r.U32(20);
            break;
        case kEmrCreateMonoBrush:
        case kEmrCreateDibPatternBrushPt:
            e.kind = ObjectKind::kPatternBrush, e.style = p.type == kEmrCreateMonoBrush ? 3 : 5;
            e.hatch = r.U32(12);  // the DIB colour usage
            break;
        case kEmrExtCreateFontIndirectW:
            e.kind = ObjectKind::kFont, e.height = r.I32(12), e.width = r.I32(16);
            e.escapement = r.I32(20), e.weight = r.I32(28), e.style = r.U8(32);
            for (uint32_t i = 0; i < e.face.size() - 1 && r.Has(40 + 2 * i, 2); ++i) {
                e.face[i] = char16_t(r.U16(40 + 2 * i));
                if (e.face[i] == 0) {
                    break;
                }
            }
            break;
        case kEmrCreatePalette:
            e.kind = ObjectKind::kPalette, e.entries = r.U16(14);
            break;
        default:
            e.kind = ObjectKind::kColorSpace;
            break;
    }
    if (!r.ok() || !UsableIndex(p, slot)) {
        return;
    }
    if (p.state.objects.At(slot).kind != ObjectKind::kNone) {
        p.state.Note(EventKind::kCreateOverLive, p.index, int32_t(slot));
    }
    p.memory_ok = p.state.objects.Put(slot, e);
}

// The selection slot of the DC a kind of object goes into, or nullptr.
Item<Selection>* SlotFor(DcState& dc, ObjectKind kind) {
    switch (kind) {
        case ObjectKind::kPen:
        case ObjectKind::kExtPen:
            return &dc.selected.pen;
        case ObjectKind::kBrush:
        case ObjectKind::kPatternBrush:
            return &dc.selected.brush;
        case ObjectKind::kFont:
            return &dc.selected.font;
        case ObjectKind::kPalette:
            return &dc.selected.palette;
        case ObjectKind::kColorSpace:
            return &dc.selected.color_space;
        default:
            return nullptr;
    }
}

ObjectKind StockKind(uint32_t stock) {
    if (stock <= 5 || stock == 18) {
        return ObjectKind::kBrush;
    }
    if ((stock >= 6 && stock <= 8) || stock == 19) {
        return ObjectKind::kPen;
    }
    if ((stock >= 10 && stock <= 14) || stock == 16 || stock == 17) {
        return ObjectKind::kFont;
    }
    return stock == 15 ? ObjectKind::kPalette : ObjectKind::kNone;
}

void OnSelect(Play& p) {
    const uint32_t handle = p.reader.U32(8);
    if (!p.reader.ok()) {
        return;
    }
    const bool palette = p.type == kEmrSelectPalette;
    const bool color_space = p.type == kEmrSetColorSpace;
    ObjectKind kind;
    ObjectEntry object;
    if ((handle & kStockBit) != 0) {
        kind = StockKind(handle & ~kStockBit);
    } else if (handle == 0 || handle >= p.state.objects.handles()) {
        p.state.Note(EventKind::kIndexBeyondTable, p.index, int32_t(handle));
        return;
    } else {
        object = p.state.objects.At(handle);
        kind = object.kind;
    }
    const bool fits = palette ? kind == ObjectKind::kPalette
                      : color_space
                          ? kind == ObjectKind::kColorSpace
                          : kind != ObjectKind::kPalette && kind != ObjectKind::kColorSpace;
    Item<Selection>* slot = SlotFor(p.dc(), kind);
    if (kind == ObjectKind::kNone || !fits || slot == nullptr) {
        p.state.Note(EventKind::kSelectEmpty, p.index, int32_t(handle));
        return;
    }
    slot->Set(Selection{handle, false, object}, p.index);
}

// Marks `slot` deleted when it holds the table's object at `handle`.
void MarkDeleted(Item<Selection>& slot, uint32_t handle, int32_t record) {
    if (slot.value.handle == handle && !slot.value.deleted) {
        Selection deleted = slot.value;
        deleted.deleted = true;
        slot.Set(deleted, record);
    }
}

void OnDelete(Play& p) {
    const uint32_t handle = p.reader.U32(8);
    if (!p.reader.ok() || (handle & kStockBit) != 0) {
        return;
    }
    if (handle == 0 || handle >= p.state.objects.handles()) {
        p.state.Note(EventKind::kIndexBeyondTable, p.index, int32_t(handle));
        return;
    }
    if (p.state.objects.At(handle).kind == ObjectKind::kNone) {
        p.state.Note(EventKind::kDeleteEmpty, p.index, int32_t(handle));
        return;
    }
    // The object stays in use where it is selected: the slot is free, the selection says the
    // object was deleted under it.
    SelectionState& s = p.dc().selected;
    for (Item<Selection>* slot : {&s.pen, &s.brush, &s.font, &s.palette, &s.color_space}) {
        MarkDeleted(*slot, handle, p.index);
    }
    p.memory_ok = p.state.objects.Put(handle, ObjectEntry{});
}

// A selection that draws: noted when it is an object deleted under it.
void CheckDrawing(Play& p, const Item<Selection>& slot, int32_t which) {
    if (slot.value.deleted) {
        p.state.Note(EventKind::kDrawDeleted, p.index, which);
    }
}

constexpr bool UsesPen(uint32_t t) {
    return (t >= kEmrPolyBezier && t <= kEmrPolyPolygon) || (t >= kEmrAngleArc && t <= kEmrPie) ||
           (t >= kEmrLineTo && t <= kEmrPolyDraw) || t == kEmrStrokePath ||
           t == kEmrStrokeAndFillPath || (t >= kEmrPolyBezier16 && t <= kEmrPolyDraw16);
}
constexpr bool UsesBrush(uint32_t t) {
    return t == kEmrPolygon || t == kEmrPolyPolygon || (t >= kEmrEllipse && t <= kEmrRoundRect) ||
           t == kEmrChord || t == kEmrPie || t == kEmrFillPath || t == kEmrStrokeAndFillPath ||
           t == kEmrPolygon16 || t == kEmrPolyPolygon16 || t == kEmrExtFloodFill ||
           t == kEmrPaintRgn;
}
constexpr bool UsesFont(uint32_t t) {
    return t == kEmrExtTextOutA || t == kEmrExtTextOutW || t == kEmrPolyTextOutA ||
           t == kEmrPolyTextOutW || t == kEmrSmallTextOut;
}

// Where the current position ends after a record that moves it: the last point of the list
// records, the point of MoveToEx and LineTo; unknown after arcs and text that update it.
void MovePosition(Play& p) {
    RecordReader& r = p.reader;
    PositionState to;
    switch (p.type) {
        case kEmrMoveToEx:
        case kEmrLineTo:
            to.at = PointL{r.I32(8), r.I32(12)};
            break;
        case kEmrPolyBezierTo:
        case kEmrPolylineTo:
        case kEmrPolyDraw: {
            const uint32_t count = r.U32(24);
            if (count == 0 || !r.HasArray(28, count, 8)) {
                return;
            }
            to.at = PointL{r.I32(28 + (count - 1) * 8), r.I32(32 + (count - 1) * 8)};
            break;
        }
        case kEmrPolyBezierTo16:
        case kEmrPolylineTo16:
        case kEmrPolyDraw16: {
            const uint32_t count = r.U32(24);
            if (count == 0 || !r.HasArray(28, count, 4)) {
                return;
            }
            to.at = PointL{r.I16(28 + (count - 1) * 4), r.I16(30 + (count - 1) * 4)};
            break;
        }
        default:
            to.known = false;
            break;
    }
    if (r.ok()) {
        p.dc().position.Set(to, p.index);
    }
}

void OnDrawing(Play& p) {
    const SelectionState& s = p.dc().selected;
    if (UsesPen(p.type)) {
        CheckDrawing(p, s.pen, 0);
    }
    if (UsesBrush(p.type)) {
        CheckDrawing(p, s.brush, 1);
    }
    if (UsesFont(p.type)) {
        CheckDrawing(p, s.font, 2);
        // Text drawn with TA_UPDATECP moves the position by the text's advance.
        if ((p.dc().attributes.text_align.value & 1) != 0) {
            MovePosition(p);
        }
    }
    const uint32_t t = p.type;
    if (t == kEmrMoveToEx || t == kEmrLineTo || t == kEmrPolyBezierTo || t == kEmrPolylineTo ||
        t == kEmrPolyDraw || t == kEmrPolyBezierTo16 || t == kEmrPolylineTo16 ||
        t == kEmrPolyDraw16 || t == kEmrArcTo || t == kEmrAngleArc) {
        MovePosition(p);
    }
    if ((t == kEmrFillRgn || t == kEmrFrameRgn) && p.reader.Has(28, 4)) {
        const uint32_t brush = p.reader.U32(28);
        if ((brush & kStockBit) == 0 && p.state.objects.At(brush).kind == ObjectKind::kNone) {
            p.state.Note(EventKind::kDrawNeverCreated, p.index, 1);
        }
    }
    if (t == kEmrFillPath || t == kEmrStrokePath || t == kEmrStrokeAndFillPath) {
        p.dc().path.Set(PathBracket::kNone, p.index);
    }
}

void OnPath(Play& p) {
    Item<PathBracket>& path = p.dc().path;
    switch (p.type) {
        case kEmrBeginPath:
            path.Set(PathBracket::kOpen, p.index);
            break;
        case kEmrEndPath:
            if (path.value == PathBracket::kOpen) {
                path.Set(PathBracket::kClosed, p.index);
            }
            break;
        case kEmrAbortPath:
            path.Set(PathBracket::kNone, p.index);
            break;
        default:
            break;
    }
}

void OnSave(Play& p) {
    GraphicsState& s = p.state;
    if (s.depth >= GraphicsState::kDeepestSave) {
        s.Note(EventKind::kSaveTooDeep, p.index, int32_t(s.depth));
        return;
    }
    try {
        auto level = std::make_shared<SavedLevel>();
        level->state = s.dc;
        level->saved_by = p.index;
        level->below = s.saved;
        s.saved = std::move(level);
    } catch (const std::bad_alloc&) {
        p.memory_ok = false;
        return;
    }
    ++s.depth;
    s.depth_set.Set(s.depth, p.index);
}

void OnRestore(Play& p) {
    GraphicsState& s = p.state;
    const int32_t relative = p.reader.I32(8);
    if (!p.reader.ok()) {
        return;
    }
    // The level to go back to, counted from the bottom (1 is the first saved).
    const int64_t level = relative < 0 ? int64_t(s.depth) + relative + 1 : relative;
    if (level < 1 || level > int64_t(s.depth)) {
        s.Note(EventKind::kRestoreBeyondStack, p.index, relative);
        return;
    }
    while (int64_t(s.depth) > level) {
        s.saved = s.saved->below;
        --s.depth;
    }
    s.dc = s.saved->state;
    s.saved = s.saved->below;
    --s.depth;
    s.depth_set.Set(s.depth, p.index);
}

// Where a logical point lands in device units.
PointL ToDevice(const Transform& t, int32_t x, int32_t y) {
    const double dx = x * t.m11 + y * t.m21 + t.dx, dy = x * t.m12 + y * t.m22 + t.dy;
    return PointL{int32_t(std::clamp(std::lround(dx), -0x40000000L, 0x40000000L)),
                  int32_t(std::clamp(std::lround(dy), -0x40000000L, 0x40000000L))};
}

void Combine(Play& p, Item<Region>& region, const std::vector<RectL>& rects, RegionOp op,
             bool rects_cut = false) {
    Region changed = region.value;
    if (!CombineRegion(changed, rects, op, DeviceSurface(p.state), rects_cut)) {
        p.memory_ok = false;
        return;
    }
    region.Set(changed, p.index);
}

void OnClip(Play& p) {
    DcState& dc = p.dc();
    RecordReader& r = p.reader;
    switch (p.type) {
        case kEmrIntersectClipRect:
        case kEmrExcludeClipRect: {
            const int32_t l = r.I32(8), t = r.I32(12), rt = r.I32(16), b = r.I32(20);
            if (!r.ok()) {
                return;
            }
            // The two corners are mapped; the rectangle between them is cut.
            const Transform to = LogicalToDevice(dc);
            const PointL a = ToDevice(to, l, t), c = ToDevice(to, rt, b);
            Combine(p, dc.clip, {Normalized(a.x, a.y, c.x, c.y)},
                    p.type == kEmrIntersectClipRect ? RegionOp::kAnd : RegionOp::kDiff);
            break;
        }
        case kEmrOffsetClipRgn: {
            const int32_t x = r.I32(8), y = r.I32(12);
            const MappingState& m = dc.mapping;
            if (!r.ok() || m.window_ext.value.cx == 0 || m.window_ext.value.cy == 0) {
                return;
            }
            Region moved = dc.clip.value;
            OffsetRegion(moved, MulDivSat(x, m.viewport_ext.value.cx, m.window_ext.value.cx),
                         MulDivSat(y, m.viewport_ext.value.cy, m.window_ext.value.cy));
            dc.clip.Set(moved, p.index);
            break;
        }
        case kEmrSetMetaRgn: {
            if (dc.clip.value.kind == RegionKind::kWhole) {
                return;
            }
            if (dc.meta.value.kind == RegionKind::kWhole ||
                dc.clip.value.kind != RegionKind::kRects) {
                dc.meta.Set(dc.clip.value, p.index);
            } else {
                Combine(p, dc.meta, *dc.clip.value.rects, RegionOp::kAnd);
            }
            dc.clip.Set(Region{}, p.index);
            break;
        }
        case kEmrExtSelectClipRgn: {
            const uint32_t bytes = r.U32(8), mode = r.U32(12);
            if (!r.ok() || mode < 1 || mode > 5) {
                return;
            }
            if (bytes == 0 || !r.Has(16, 32)) {
                // No region: only RGN_COPY means something, going back to no clipping.
                if (mode == 5) {
                    dc.clip.Set(Region{}, p.index);
                }
                return;
            }
            // More rectangles than are kept stand for the one rectangle that holds them all.
            const uint32_t count = r.CountInside(48, r.U32(24), 16);
            const bool too_many = count > 4 * kRegionRectCap;
            std::vector<RectL> rects;
            try {
                rects.reserve(too_many ? 1 : count);
                RectL all{INT32_MAX, INT32_MAX, INT32_MIN, INT32_MIN};
                for (uint32_t i = 0; i < count; ++i) {
                    const uint32_t at = 48 + 16 * i;
                    const RectL x{r.I32(at), r.I32(at + 4), r.I32(at + 8), r.I32(at + 12)};
                    if (!too_many) {
                        rects.push_back(x);
                    } else if (x.left < x.right && x.top < x.bottom) {
                        all = RectL{std::min(all.left, x.left), std::min(all.top, x.top),
                                    std::max(all.right, x.right), std::max(all.bottom, x.bottom)};
                    }
                }
                if (too_many) {
                    rects.push_back(all);
                }
            } catch (const std::bad_alloc&) {
                p.memory_ok = false;
                return;
            }
            Combine(p, dc.clip, rects, RegionOp(mode), too_many);
            break;
        }
        case kEmrSelectClipPath: {
            Region from_path;
            from_path.kind = RegionKind::kFromPath;
            if (dc.path.value == PathBracket::kClosed) {
                dc.clip.Set(from_path, p.index);
            }
            dc.path.Set(PathBracket::kNone, p.index);
            break;
        }
        default:
            break;
    }
}

void OnHeader(Play& p) {
    // Only the first record is the file's header; another header record sets nothing.
    if (p.index != 0) {
        return;
    }
    RecordReader& r = p.reader;
    const uint32_t handles = r.U16(kHeaderHandlesOffset);
    const SizeL device{r.I32(72), r.I32(76)}, mm{r.I32(80), r.I32(84)};
    if (!r.ok()) {
        return;
    }
    p.state.objects.Reset(handles);
    p.state.device = device;
    p.state.millimeters = mm;
}

// A comment may hold EMF+ records, which change the EMF+ state.
void OnComment(Play& p) {
    p.memory_ok = PlayEmfPlusComment(p.state.plus, p.view, p.index);
}

struct Row {
    uint32_t type;
    Handler handler;
};
constexpr Row kRows[] = {
    {kEmrHeader, OnHeader},
    {kEmrSetMapMode, OnMapMode},
    {kEmrSetWindowExtEx, OnExtent},
    {kEmrSetViewportExtEx, OnExtent},
    {kEmrScaleWindowExtEx, OnExtent},
    {kEmrScaleViewportExtEx, OnExtent},
    {kEmrSetWindowOrgEx, OnOrigin},
    {kEmrSetViewportOrgEx, OnOrigin},
    {kEmrSetBrushOrgEx, OnOrigin},
    {kEmrSetWorldTransform, OnWorldTransform},
    {kEmrModifyWorldTransform, OnWorldTransform},
    {kEmrSetBkMode, OnAttribute},
    {kEmrSetBkColor, OnAttribute},
    {kEmrSetTextColor, OnAttribute},
    {kEmrSetTextAlign, OnAttribute},
    {kEmrSetRop2, OnAttribute},
    {kEmrSetPolyFillMode, OnAttribute},
    {kEmrSetStretchBltMode, OnAttribute},
    {kEmrSetArcDirection, OnAttribute},
    {kEmrSetMiterLimit, OnAttribute},
    {kEmrSetLayout, OnAttribute},
    {kEmrSetMapperFlags, OnAttribute},
    {kEmrSetIcmMode, OnAttribute},
    {kEmrSetColorAdjustment, OnAttribute},
    {kEmrSetTextJustification, OnAttribute},
    {kEmrCreatePen, OnCreate},
    {kEmrExtCreatePen, OnCreate},
    {kEmrCreateBrushIndirect, OnCreate},
    {kEmrCreateMonoBrush, OnCreate},
    {kEmrCreateDibPatternBrushPt, OnCreate},
    {kEmrExtCreateFontIndirectW, OnCreate},
    {kEmrCreatePalette, OnCreate},
    {kEmrCreateColorSpace, OnCreate},
    {kEmrCreateColorSpaceW, OnCreate},
    {kEmrSelectObject, OnSelect},
    {kEmrSelectPalette, OnSelect},
    {kEmrSetColorSpace, OnSelect},
    {kEmrDeleteObject, OnDelete},
    {kEmrDeleteColorSpace, OnDelete},
    {kEmrBeginPath, OnPath},
    {kEmrEndPath, OnPath},
    {kEmrAbortPath, OnPath},
    {kEmrSaveDc, OnSave},
    {kEmrRestoreDc, OnRestore},
    {kEmrIntersectClipRect, OnClip},
    {kEmrExcludeClipRect, OnClip},
    {kEmrOffsetClipRgn, OnClip},
    {kEmrSetMetaRgn, OnClip},
    {kEmrExtSelectClipRgn, OnClip},
    {kEmrSelectClipPath, OnClip},
    {kEmrGdiComment, OnComment},
};

struct Table {
    Handler by_type[kEmrLastType + 1] = {};
    constexpr Table() {
        for (const Row& row : kRows) {
            by_type[row.type] = row.handler;
        }
        for (uint32_t t = 1; t <= kEmrLastType; ++t) {
            if (by_type[t] == nullptr &&
                (UsesPen(t) || UsesBrush(t) || UsesFont(t) || t == kEmrMoveToEx ||
                 t == kEmrFillRgn || t == kEmrFrameRgn)) {
                by_type[t] = OnDrawing;
            }
        }
    }
};
constexpr Table kTable;

}  // namespace

bool MayChangeState(uint32_t type) {
    return type >= 1 && type <= kEmrLastType && kTable.by_type[type] != nullptr;
}

RectL DeviceSurface(const GraphicsState& state) {
    return RectL{0, 0, state.device.cx, state.device.cy};
}

bool PlayRecordInto(GraphicsState& state, RecordView record, int32_t index) {
    RecordReader reader(record);
    const uint32_t type = reader.Has(0, 4) ? reader.U32(0) : 0;
    state.record = index;
    if (type == 0 || type > kEmrLastType || kTable.by_type[type] == nullptr) {
        return true;
    }
    Play play{state, reader, record, type, index};
    kTable.by_type[type](play);
    return play.memory_ok;
}
