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

// Where a logical point lands in device units.
PointL ToDevice(const Transform& t, int32_t x, int32_t y) {
    const double dx = x * t.m11 + y * t.m21 + t.dx, dy = x * t.m12 + y * t.m22 + t.dy;
    return PointL{int32_t(std::clamp(std::lround(dx), -0x40000000L, 0x40000000L)),
                  int32_t(std::clamp(std::lround(dy), -0x40000000L, 0x40000000L))};
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

int32_t Rounded(double v) {
    return int32_t(std::clamp(std::floor(v + 0.5), double(INT32_MIN), double(INT32_MAX)));
}

// Where an arc-to record leaves the position: where the ray from the centre of its box through
// its end point meets the ellipse in the box. Whichever way the arc is drawn, it ends there.
// The ray is taken in the box's own proportions (the end point's offset over the box's width
// and height), so a box of no width or height gives its centre line, never a division by 0.
PointL ArcToEnd(RecordReader& r) {
    const double l = r.I32(8), t = r.I32(12), rt = r.I32(16), b = r.I32(20);
    const double x = r.I32(32), y = r.I32(36);
    const double width = std::fabs(rt - l), height = std::fabs(b - t);
    const double cx = std::min(l, rt) + width / 2, cy = std::min(t, b) + height / 2;
    const double angle = std::atan2((y - cy) * width, (x - cx) * height);
    return PointL{Rounded(cx + std::cos(angle) * width / 2),
                  Rounded(cy + std::sin(angle) * height / 2)};
}

// Where an angle-arc record leaves the position: the centre plus the radius at the start plus
// the sweep angle, in degrees counted with y upward, as the platform counts them.
PointL AngleArcEnd(RecordReader& r) {
    const double x = r.I32(8), y = r.I32(12), radius = r.U32(16);
    const double angle = double(r.F32(20) + r.F32(24)) * 3.14159265358979323846 / 180;
    if (!std::isfinite(angle)) {
        return PointL{Rounded(x), Rounded(y)};
    }
    return PointL{Rounded(x + std::cos(angle) * radius), Rounded(y - std::sin(angle) * radius)};
}

// Where the current position ends after a record that moves it: the last point of the list
// records, the point of MoveToEx and LineTo, the end of an arc; unknown after text that
// updates it, whose advance depends on the font.
void MovePosition(Play& p) {
    RecordReader& r = p.reader;
    PositionState to;
    switch (p.type) {
        case kEmrArcTo:
            to.at = ArcToEnd(r);
            break;
        case kEmrAngleArc:
            to.at = AngleArcEnd(r);
            break;
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

void Widen(PathBox& path, const PointL& at) {
    if (!path.any) {
        path.box = RectL{at.x, at.y, at.x, at.y};
        path.any = true;
        return;
    }
    path.box = RectL{std::min(path.box.left, at.x), std::min(path.box.top, at.y),
                     std::max(path.box.right, at.x), std::max(path.box.bottom, at.y)};
}

// Widens the path's box by `count` points of `width` bytes (8: two 32-bit values, 4: two 16-bit
// ones) from `at`, as far as the record holds them.
void TracePoints(PathBox& path, const Transform& to, RecordReader& r, uint32_t at, uint32_t count,
                 uint32_t width) {
    count = r.CountInside(at, count, width);
    for (uint32_t i = 0; i < count; ++i) {
        const uint32_t o = at + i * width;
        Widen(path, width == 8 ? ToDevice(to, r.I32(o), r.I32(o + 4))
                               : ToDevice(to, r.I16(o), r.I16(o + 2)));
    }
}

// Adds what a drawing record puts into an open path to the path's box: its points, in device
// units through the transform in force now, as the platform stores a path's points. Curves
// count by the points that hold them (a box, a Bezier's control points), text by its record's
// bounds, which are in device units already. A line from the current position starts there.
void TracePath(Play& p) {
    // A reader of its own: a field missing for the path stops nothing else the record does.
    RecordReader r(RecordView{p.reader.data(), p.reader.size()});
    DcState& dc = p.dc();
    PathBox& path = dc.path_box;
    const Transform to = LogicalToDevice(dc);
    const uint32_t t = p.type;
    const bool from_position = t == kEmrLineTo || t == kEmrArcTo || t == kEmrAngleArc ||
                               t == kEmrPolyBezierTo || t == kEmrPolylineTo ||
                               t == kEmrPolyBezierTo16 || t == kEmrPolylineTo16 ||
                               // A PolyDraw that starts with a move starts a figure of its own.
                               (t == kEmrPolyDraw && r.U8(28 + 8 * r.U32(24)) != 6) ||
                               (t == kEmrPolyDraw16 && r.U8(28 + 4 * r.U32(24)) != 6);
    if (from_position && dc.position.value.known) {
        Widen(path, ToDevice(to, dc.position.value.at.x, dc.position.value.at.y));
    }
    auto box = [&](int32_t l, int32_t top, int32_t rt, int32_t b) {
        if (r.ok()) {
            for (const PointL& c : {PointL{l, top}, PointL{rt, top}, PointL{l, b}, PointL{rt, b}}) {
                Widen(path, ToDevice(to, c.x, c.y));
            }
        }
    };
    switch (t) {
        case kEmrLineTo: {
            const int32_t x = r.I32(8), y = r.I32(12);
            if (r.ok()) {
                Widen(path, ToDevice(to, x, y));
            }
            break;
        }
        case kEmrRectangle:
        case kEmrEllipse:
        case kEmrRoundRect:
        case kEmrArc:
        case kEmrChord:
        case kEmrPie:
        case kEmrArcTo:
            box(r.I32(8), r.I32(12), r.I32(16), r.I32(20));
            break;
        case kEmrAngleArc: {
            const int64_t x = r.I32(8), y = r.I32(12), radius = r.U32(16);
            auto fit = [](int64_t v) {
                return int32_t(std::clamp<int64_t>(v, INT32_MIN, INT32_MAX));
            };
            box(fit(x - radius), fit(y - radius), fit(x + radius), fit(y + radius));
            break;
        }
        case kEmrPolyBezier:
        case kEmrPolygon:
        case kEmrPolyline:
        case kEmrPolyBezierTo:
        case kEmrPolylineTo:
        case kEmrPolyDraw:
            TracePoints(path, to, r, 28, r.U32(24), 8);
            break;
        case kEmrPolyBezier16:
        case kEmrPolygon16:
        case kEmrPolyline16:
        case kEmrPolyBezierTo16:
        case kEmrPolylineTo16:
        case kEmrPolyDraw16:
            TracePoints(path, to, r, 28, r.U32(24), 4);
            break;
        case kEmrPolyPolyline:
        case kEmrPolyPolygon:
        case kEmrPolyPolyline16:
        case kEmrPolyPolygon16: {
            const uint32_t polygons = r.U32(24), points = r.U32(28);
            if (r.ok() && r.HasArray(32, polygons, 4)) {
                const uint32_t width = t == kEmrPolyPolyline || t == kEmrPolyPolygon ? 8 : 4;
                TracePoints(path, to, r, 32 + 4 * polygons, points, width);
            }
            break;
        }
        default:
            if (UsesFont(t)) {
                const RectL b{r.I32(8), r.I32(12), r.I32(16), r.I32(20)};
                if (r.ok() && b.left <= b.right && b.top <= b.bottom) {
                    Widen(path, PointL{b.left, b.top});
                    Widen(path, PointL{b.right, b.bottom});
                }
            }
            break;
    }
}

void OnDrawing(Play& p) {
    if (p.dc().path.value == PathBracket::kOpen) {
        TracePath(p);
    }
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
            p.dc().path_box = PathBox{};
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
            if (dc.meta.value.kind == RegionKind::kWhole) {
                dc.meta.Set(dc.clip.value, p.index);
            } else {
                const Region& clip = dc.clip.value;
                const bool from_path = clip.from_path || dc.meta.value.from_path;
                Combine(p, dc.meta, clip.rects != nullptr ? *clip.rects : std::vector<RectL>{},
                        RegionOp::kAnd, clip.approximated);
                dc.meta.value.from_path = dc.meta.value.approximated && from_path;
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
            // The path's outline is not kept: the region stands for the rectangle holding it,
            // combined with the clip in the record's mode.
            const uint32_t mode = r.U32(8);
            if (r.ok() && mode >= 1 && mode <= 5 && dc.path.value == PathBracket::kClosed) {
                const RectL& b = dc.path_box.box;
                std::vector<RectL> rects;
                if (dc.path_box.any) {
                    rects.push_back(b);
                }
                Combine(p, dc.clip, rects, RegionOp(mode), true);
                dc.clip.value.from_path = true;
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
