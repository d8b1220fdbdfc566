// One handler per family of EMF+ records, found through a table by record type.
#include "state/emfplus_state_walk.h"

#include <algorithm>
#include <cmath>
#include <new>

#include "emfplus/emfplus_names.h"
#include "emfplus/emfplus_walk.h"

namespace {

constexpr uint32_t kData = kEmfPlusRecordHeaderBytes;
// A brush given as a colour rather than an object id (the fill and text records).
constexpr uint16_t kColorBrush = 0x8000;
// The matrix order of the transform records: the new matrix applied after the world transform.
constexpr uint16_t kAppend = 0x2000;

enum PlusObjectType : uint8_t {
    kBrush = 1,
    kPen = 2,
    kPath = 3,
    kRegion = 4,
    kImage = 5,
    kFont = 6
};

struct Play {
    EmfPlusState& state;
    RecordReader& reader;
    const EmfPlusRecordRef& record;
    PlusAt at;
    bool memory_ok = true;
    PlusDc& dc() { return state.dc; }
    uint16_t flags() const { return record.flags; }
};

using Handler = void (*)(Play& p);

// Notes a use of object `id` as an object of `type` that the table does not hold.
void Uses(Play& p, uint32_t id, uint8_t type) {
    PlusEvent event;
    event.at = p.at, event.value = id, event.expected = type;
    if (id >= kPlusObjectSlots) {
        event.kind = PlusEventKind::kOutsideTable;
    } else if (p.state.Object(id).type == 0) {
        event.kind = PlusEventKind::kNeverDefined;
    } else if (p.state.Object(id).type != type) {
        event.kind = PlusEventKind::kWrongType, event.found = p.state.Object(id).type;
    } else {
        return;
    }
    p.state.Note(event);
}

void UsesBrush(Play& p, uint32_t offset) {
    if ((p.flags() & kColorBrush) == 0 && p.reader.Has(offset, 4)) {
        Uses(p, p.reader.U32(offset), kBrush);
    }
}

void OnDraw(Play& p) {
    const uint32_t id = p.flags() & 0xFF;
    switch (p.record.type) {
        case kEmfPlusDrawPath:
            Uses(p, id, kPath);
            if (p.reader.Has(kData, 4)) {
                Uses(p, p.reader.U32(kData), kPen);
            }
            break;
        case kEmfPlusFillPath:
            Uses(p, id, kPath);
            UsesBrush(p, kData);
            break;
        case kEmfPlusFillRegion:
            Uses(p, id, kRegion);
            UsesBrush(p, kData);
            break;
        case kEmfPlusFillRects:
        case kEmfPlusFillPolygon:
        case kEmfPlusFillEllipse:
        case kEmfPlusFillPie:
        case kEmfPlusFillClosedCurve:
            UsesBrush(p, kData);
            break;
        case kEmfPlusDrawImage:
        case kEmfPlusDrawImagePoints:
            Uses(p, id, kImage);
            break;
        case kEmfPlusDrawString:
        case kEmfPlusDrawDriverString:
            Uses(p, id, kFont);
            UsesBrush(p, kData);
            break;
        default:  // the lines and curves, drawn with the pen the flags name
            Uses(p, id, kPen);
            break;
    }
}

// An object defines its slot; one split over several records is defined by its first part.
void OnObject(Play& p) {
    EmfPlusState& s = p.state;
    const uint16_t key = p.flags() & 0x7FFF;
    if (s.split.Advance(p.record).part > 1) {
        return;
    }
    const uint32_t id = key & 0xFF;
    if (id >= kPlusObjectSlots) {
        PlusEvent event;
        event.kind = PlusEventKind::kOutsideTable, event.at = p.at, event.value = id;
        event.expected = uint8_t(key >> 8), event.found = 1;  // defined, not used
        s.Note(event);
        return;
    }
    p.memory_ok = s.Define(id, PlusObject{uint8_t(key >> 8), p.at});
}

Transform ReadMatrix(RecordReader& r, uint32_t at) {
    return Transform{r.F32(at),      r.F32(at + 4),  r.F32(at + 8),
                     r.F32(at + 12), r.F32(at + 16), r.F32(at + 20)};
}

void OnTransform(Play& p) {
    PlusItem<Transform>& world = p.dc().world;
    RecordReader& r = p.reader;
    Transform m;
    switch (p.record.type) {
        case kEmfPlusSetWorldTransform:
            if (r.Has(kData, 24)) {
                world.Set(ReadMatrix(r, kData), p.at);
            }
            return;
        case kEmfPlusResetWorldTransform:
            world.Set(Transform{}, p.at);
            return;
        case kEmfPlusMultiplyWorldTransform:
            if (!r.Has(kData, 24)) {
                return;
            }
            m = ReadMatrix(r, kData);
            break;
        case kEmfPlusTranslateWorldTransform:
        case kEmfPlusScaleWorldTransform: {
            if (!r.Has(kData, 8)) {
                return;
            }
            const bool translate = p.record.type == kEmfPlusTranslateWorldTransform;
            (translate ? m.dx : m.m11) = r.F32(kData);
            (translate ? m.dy : m.m22) = r.F32(kData + 4);
            break;
        }
        default: {  // RotateWorldTransform, an angle in degrees
            if (!r.Has(kData, 4)) {
                return;
            }
            const double radians = double(r.F32(kData)) * 3.14159265358979323846 / 180.0;
            // A quarter turn gives exact zeros rather than the rounding of pi's sine.
            const auto exact = [](double v) { return std::fabs(v) < 1e-12 ? 0.0 : v; };
            m.m11 = m.m22 = exact(std::cos(radians));
            m.m12 = exact(std::sin(radians));
            m.m21 = -m.m12;
            break;
        }
    }
    world.Set((p.flags() & kAppend) != 0 ? Multiply(world.value, m) : Multiply(m, world.value),
              p.at);
}

void OnPageTransform(Play& p) {
    if (p.reader.Has(kData, 4)) {
        p.dc().page.Set(PageTransform{uint8_t(p.flags() & 0xFF), p.reader.F32(kData)}, p.at);
    }
}

// The bounding box in page units of a rectangle in world units.
void PageBounds(const Transform& t, float x, float y, float w, float h, PlusClip* clip) {
    const double xs[4] = {x, x + w, x, x + w}, ys[4] = {y, y, y + h, y + h};
    double l = INFINITY, top = INFINITY, r = -INFINITY, b = -INFINITY;
    for (int i = 0; i < 4; ++i) {
        const double px = xs[i] * t.m11 + ys[i] * t.m21 + t.dx;
        const double py = xs[i] * t.m12 + ys[i] * t.m22 + t.dy;
        l = std::min(l, px), r = std::max(r, px), top = std::min(top, py), b = std::max(b, py);
    }
    clip->left = float(l), clip->top = float(top), clip->right = float(r), clip->bottom = float(b);
}

void Intersect(PlusClip* clip, const PlusClip& with) {
    clip->left = std::max(clip->left, with.left), clip->top = std::max(clip->top, with.top);
    clip->right = std::max(clip->left, std::min(clip->right, with.right));
    clip->bottom = std::max(clip->top, std::min(clip->bottom, with.bottom));
}

constexpr uint8_t kReplace = 0, kIntersect = 1, kUnion = 2, kExclude = 4, kComplement = 5;

// A rectangle, path or region combined with the clip: where the result is known to lie, from
// a rectangle given, or kept from a clip it can only shrink; what made it otherwise.
void OnClip(Play& p) {
    PlusItem<PlusClip>& clip = p.dc().clip;
    const PlusClip& old = clip.value;
    RecordReader& r = p.reader;
    if (p.record.type == kEmfPlusResetClip) {
        clip.Set(PlusClip{}, p.at);
        return;
    }
    if (p.record.type == kEmfPlusOffsetClip) {
        if (!r.Has(kData, 8) || old.kind == PlusClipKind::kInfinite) {
            return;
        }
        // The offset is in world units: it moves the clip by its image under the transform.
        const Transform& t = p.dc().world.value;
        const double dx = r.F32(kData), dy = r.F32(kData + 4);
        PlusClip moved = old;
        moved.moved = true;
        moved.left += float(dx * t.m11 + dy * t.m21), moved.right += float(dx * t.m11 + dy * t.m21);
        moved.top += float(dx * t.m12 + dy * t.m22), moved.bottom += float(dx * t.m12 + dy * t.m22);
        clip.Set(moved, p.at);
        return;
    }
    const uint8_t mode = (p.flags() >> 8) & 0xF;
    if (mode > kComplement) {
        PlusEvent event;
        event.kind = PlusEventKind::kBadClipMode, event.at = p.at, event.value = mode;
        p.state.Note(event);
        return;
    }
    PlusClip next;
    next.mode = mode;
    next.combined = mode != kReplace && old.kind != PlusClipKind::kInfinite;
    const bool rect = p.record.type == kEmfPlusSetClipRect;
    if (rect) {
        if (!r.Has(kData, 16)) {
            return;
        }
        next.source = PlusClipSource::kRect;
        PageBounds(p.dc().world.value, r.F32(kData), r.F32(kData + 4), r.F32(kData + 8),
                   r.F32(kData + 12), &next);
    } else {
        const bool path = p.record.type == kEmfPlusSetClipPath;
        next.source = path ? PlusClipSource::kPath : PlusClipSource::kRegion;
        next.object = uint8_t(p.flags() & 0xFF);
        Uses(p, next.object, path ? kPath : kRegion);
    }
    const bool old_bounded = old.kind == PlusClipKind::kBounded;
    next.kind = PlusClipKind::kUntraced;
    if (mode == kReplace || (mode == kIntersect && !old_bounded)) {
        // The rectangle bounds what it replaces or cuts; a path or region is not traced.
        next.kind = rect ? PlusClipKind::kBounded : PlusClipKind::kUntraced;
    } else if (mode == kIntersect || (mode == kExclude && old_bounded)) {
        if (rect && mode == kIntersect) {
            Intersect(&next, old);
        } else {
            next.left = old.left, next.top = old.top, next.right = old.right;
            next.bottom = old.bottom;
        }
        next.kind = PlusClipKind::kBounded;
    } else if (mode == kUnion && old.kind == PlusClipKind::kInfinite) {
        next = PlusClip{};
    }
    clip.Set(next, p.at);
}

void Push(Play& p, PlusPush kind, uint32_t stack_index) {
    EmfPlusState& s = p.state;
    if (s.depth.value >= EmfPlusState::kDeepest) {
        PlusEvent event;
        event.kind = PlusEventKind::kStackTooDeep, event.at = p.at, event.value = s.depth.value;
        s.Note(event);
        return;
    }
    try {
        auto level = std::make_shared<PlusLevel>();
        level->saved = s.dc;
        level->stack_index = stack_index;
        level->pushed_by = kind;
        level->at = p.at;
        level->below = s.stack;
        s.stack = std::move(level);
    } catch (const std::bad_alloc&) {
        p.memory_ok = false;
        return;
    }
    s.depth.Set(s.depth.value + 1, p.at);
}

void OnSave(Play& p) {
    if (p.reader.Has(kData, 4)) {
        Push(p, PlusPush::kSave, p.reader.U32(kData));
    }
}

// A container starts with the identity transform and no clip of its own; what it draws goes
// through the rectangles' mapping and the transforms in force outside it.
void OnBeginContainer(Play& p) {
    RecordReader& r = p.reader;
    const bool params = p.record.type == kEmfPlusBeginContainer;
    if (!r.Has(kData, params ? 36 : 4)) {
        return;
    }
    Transform map;
    if (params) {
        const double dx = r.F32(kData), dy = r.F32(kData + 4);
        const double dw = r.F32(kData + 8), dh = r.F32(kData + 12);
        const double sx = r.F32(kData + 16), sy = r.F32(kData + 20);
        const double sw = r.F32(kData + 24), sh = r.F32(kData + 28);
        if (sw != 0 && sh != 0) {
            map.m11 = dw / sw, map.m22 = dh / sh;
            map.dx = dx - sx * map.m11, map.dy = dy - sy * map.m22;
        }
    }
    const uint32_t depth = p.state.depth.value;
    Push(p, params ? PlusPush::kContainer : PlusPush::kContainerNoParams,
         r.U32(kData + (params ? 32 : 0)));
    if (p.state.depth.value == depth) {
        return;
    }
    PlusDc& dc = p.dc();
    dc.container.Set(Multiply(map, Multiply(dc.world.value, dc.container.value)), p.at);
    dc.world.Set(Transform{}, p.at);
    dc.clip.Set(PlusClip{}, p.at);
}

// Restore and EndContainer: back to the state the level of that stack index kept, the levels
// above it dropped with it.
void OnRestore(Play& p) {
    if (!p.reader.Has(kData, 4)) {
        return;
    }
    EmfPlusState& s = p.state;
    const uint32_t stack_index = p.reader.U32(kData);
    uint32_t popped = 1;
    const PlusLevel* level = s.stack.get();
    for (; level != nullptr && level->stack_index != stack_index; level = level->below.get()) {
        ++popped;
    }
    if (level == nullptr) {
        PlusEvent event;
        event.kind = PlusEventKind::kUnknownIndex, event.at = p.at, event.value = stack_index;
        event.found = p.record.type == kEmfPlusEndContainer ? 1 : 0;
        s.Note(event);
        return;
    }
    s.dc = level->saved;
    s.stack = level->below;
    s.depth.Set(s.depth.value - popped, p.at);
}

void OnMode(Play& p) {
    PlusModes& m = p.dc().modes;
    const uint8_t low = uint8_t(p.flags() & 0xFF);
    switch (p.record.type) {
        case kEmfPlusSetAntiAliasMode:
            m.antialias.Set(low, p.at);
            break;
        case kEmfPlusSetTextRenderingHint:
            m.text_hint.Set(low, p.at);
            break;
        case kEmfPlusSetTextContrast:
            m.text_contrast.Set(p.flags() & 0xFFF, p.at);
            break;
        case kEmfPlusSetInterpolationMode:
            m.interpolation.Set(low, p.at);
            break;
        case kEmfPlusSetPixelOffsetMode:
            m.pixel_offset.Set(low, p.at);
            break;
        case kEmfPlusSetCompositingMode:
            m.compositing_mode.Set(low, p.at);
            break;
        case kEmfPlusSetCompositingQuality:
            m.compositing_quality.Set(low, p.at);
            break;
        default:  // SetRenderingOrigin
            if (p.reader.Has(kData, 8)) {
                m.origin.Set(PointL{p.reader.I32(kData), p.reader.I32(kData + 4)}, p.at);
            }
            break;
    }
}

void OnGetDc(Play& p) {
    p.state.in_get_dc.Set(true, p.at);
}

struct Row {
    uint16_t type;
    Handler handler;
};
constexpr Row kRows[] = {
    {kEmfPlusGetDC, OnGetDc},
    {kEmfPlusObject, OnObject},
    {kEmfPlusFillRects, OnDraw},
    {kEmfPlusDrawRects, OnDraw},
    {kEmfPlusFillPolygon, OnDraw},
    {kEmfPlusDrawLines, OnDraw},
    {kEmfPlusFillEllipse, OnDraw},
    {kEmfPlusDrawEllipse, OnDraw},
    {kEmfPlusFillPie, OnDraw},
    {kEmfPlusDrawPie, OnDraw},
    {kEmfPlusDrawArc, OnDraw},
    {kEmfPlusFillRegion, OnDraw},
    {kEmfPlusFillPath, OnDraw},
    {kEmfPlusDrawPath, OnDraw},
    {kEmfPlusFillClosedCurve, OnDraw},
    {kEmfPlusDrawClosedCurve, OnDraw},
    {kEmfPlusDrawCurve, OnDraw},
    {kEmfPlusDrawBeziers, OnDraw},
    {kEmfPlusDrawImage, OnDraw},
    {kEmfPlusDrawImagePoints, OnDraw},
    {kEmfPlusDrawString, OnDraw},
    {kEmfPlusDrawDriverString, OnDraw},
    {kEmfPlusSetRenderingOrigin, OnMode},
    {kEmfPlusSetAntiAliasMode, OnMode},
    {kEmfPlusSetTextRenderingHint, OnMode},
    {kEmfPlusSetTextContrast, OnMode},
    {kEmfPlusSetInterpolationMode, OnMode},
    {kEmfPlusSetPixelOffsetMode, OnMode},
    {kEmfPlusSetCompositingMode, OnMode},
    {kEmfPlusSetCompositingQuality, OnMode},
    {kEmfPlusSave, OnSave},
    {kEmfPlusRestore, OnRestore},
    {kEmfPlusBeginContainer, OnBeginContainer},
    {kEmfPlusBeginContainerNoParams, OnBeginContainer},
    {kEmfPlusEndContainer, OnRestore},
    {kEmfPlusSetWorldTransform, OnTransform},
    {kEmfPlusResetWorldTransform, OnTransform},
    {kEmfPlusMultiplyWorldTransform, OnTransform},
    {kEmfPlusTranslateWorldTransform, OnTransform},
    {kEmfPlusScaleWorldTransform, OnTransform},
    {kEmfPlusRotateWorldTransform, OnTransform},
    {kEmfPlusSetPageTransform, OnPageTransform},
    {kEmfPlusResetClip, OnClip},
    {kEmfPlusSetClipRect, OnClip},
    {kEmfPlusSetClipPath, OnClip},
    {kEmfPlusSetClipRegion, OnClip},
    {kEmfPlusOffsetClip, OnClip},
};

struct Table {
    Handler by_type[kEmfPlusLastType - kEmfPlusFirstType + 1] = {};
    constexpr Table() {
        for (const Row& row : kRows) {
            by_type[row.type - kEmfPlusFirstType] = row.handler;
        }
    }
};
constexpr Table kTable;

}  // namespace

bool PlayEmfPlusComment(EmfPlusState& state, RecordView comment, int32_t index) {
    if (ClassifyComment(comment) != CommentKind::kEmfPlus) {
        return true;
    }
    EmfPlusWalker walker(comment);
    EmfPlusRecordRef record;
    for (int32_t place = 0; walker.Next(&record); ++place) {
        const PlusAt at{index, place};
        if (!state.seen()) {
            state.first = at;
        }
        // The plain records after an EmfPlusGetDC are drawn by GDI until EMF+ records follow.
        if (state.in_get_dc.value && record.type != kEmfPlusGetDC) {
            state.in_get_dc.Set(false, at);
        }
        if (record.type < kEmfPlusFirstType || record.type > kEmfPlusLastType) {
            continue;
        }
        const Handler handler = kTable.by_type[record.type - kEmfPlusFirstType];
        if (handler == nullptr) {
            continue;
        }
        RecordReader reader(record.view);
        Play play{state, reader, record, at};
        handler(play);
        if (!play.memory_ok) {
            return false;
        }
    }
    return true;
}
