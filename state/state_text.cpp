// The sections of the state text, one function each.
#include "state/state_text.h"

#include <algorithm>
#include <cmath>
#include <new>

#include "calls/symbols.h"
#include "state/clip_region.h"
#include "state/emfplus_state_text.h"
#include "state/state_lines.h"
#include "state/state_walk.h"

namespace {

template <typename T>
void Item2(StateLineMaker& l, const char* label, const Item<T>& item, int32_t a, int32_t b) {
    l.Begin(item.set_by).Put("%s: (%d, %d)", label, a, b).End();
}

void PutColor(StateLineMaker& l, uint32_t color) {
    if ((color & 0xFF000000u) != 0) {
        l.Put("0x%08X", color);
    } else {
        l.Put("RGB(%u, %u, %u)", color & 0xFF, (color >> 8) & 0xFF, (color >> 16) & 0xFF);
    }
}

int32_t Latest(std::initializer_list<int32_t> records) {
    int32_t latest = kDefaultState;
    for (const int32_t r : records) {
        latest = r > latest ? r : latest;
    }
    return latest;
}

void Mapping(StateLineMaker& l, const GraphicsState& s) {
    const MappingState& m = s.dc.mapping;
    l.Heading("Mapping");
    l.Begin(m.map_mode.set_by).Put("Map mode: ").Name(kMapModeSymbols, m.map_mode.value).End();
    Item2(l, "Window origin", m.window_org, m.window_org.value.x, m.window_org.value.y);
    Item2(l, "Window extent", m.window_ext, m.window_ext.value.cx, m.window_ext.value.cy);
    Item2(l, "Viewport origin", m.viewport_org, m.viewport_org.value.x, m.viewport_org.value.y);
    Item2(l, "Viewport extent", m.viewport_ext, m.viewport_ext.value.cx, m.viewport_ext.value.cy);
    l.Begin(m.world.set_by).Put("World transform: ");
    PutTransform(l, m.world.value);
    l.End();
    const int32_t combined = Latest({m.map_mode.set_by, m.window_org.set_by, m.window_ext.set_by,
                                     m.viewport_org.set_by, m.viewport_ext.set_by, m.world.set_by});
    l.Begin(combined).Put("Logical to device units: ");
    PutTransform(l, LogicalToDevice(s.dc));
    l.End();
    l.Begin(combined).Put("Logical to millimetres: ");
    PutTransform(l, LogicalToMillimeters(s));
    l.End();
    l.Begin(kDefaultState)
        .Put("Reference device: %d x %d pixels, %d x %d mm", s.device.cx, s.device.cy,
             s.millimeters.cx, s.millimeters.cy);
}

const char* KindName(ObjectKind kind) {
    switch (kind) {
        case ObjectKind::kPen:
            return "pen";
        case ObjectKind::kExtPen:
            return "extended pen";
        case ObjectKind::kBrush:
            return "brush";
        case ObjectKind::kPatternBrush:
            return "pattern brush";
        case ObjectKind::kFont:
            return "font";
        case ObjectKind::kPalette:
            return "palette";
        case ObjectKind::kColorSpace:
            return "colour space";
        default:
            return "empty";
    }
}

void PutObject(StateLineMaker& l, const ObjectEntry& e) {
    l.Put("%s", KindName(e.kind));
    FixedWideText<96> name;
    switch (e.kind) {
        case ObjectKind::kPen:
            NamePenStyle(name, e.style);
            l.Put(", ").Wide(name.view()).Put(", width %d, ", e.width);
            PutColor(l, e.color);
            break;
        case ObjectKind::kExtPen:
            // The style word holds the pen's type, end cap and join beside its line style.
            NamePenStyle(name, e.style & 0xF);
            l.Put(", ").Name(kPenTypeSymbols, e.style & 0xF0000).Put(" | ").Wide(name.view());
            l.Put(" | ").Name(kEndCapSymbols, e.style & 0xF00);
            l.Put(" | ").Name(kLineJoinSymbols, e.style & 0xF000).Put(", width %d, ", e.width);
            PutColor(l, e.color);
            break;
        case ObjectKind::kBrush:
            NameBrushStyle(name, e.style);
            l.Put(", ").Wide(name.view()).Put(", ");
            PutColor(l, e.color);
            if (e.style == 2) {
                NameBrushHatch(name, e.hatch, e.style);
                l.Put(", ").Wide(name.view());
            }
            break;
        case ObjectKind::kPatternBrush:
            l.Put(", ").Name(kDibUsageSymbols, e.hatch);
            break;
        case ObjectKind::kFont: {
            size_t length = 0;
            while (length < e.face.size() && e.face[length] != 0) {
                ++length;
            }
            l.Put(", \"").Wide(std::u16string_view(e.face.data(), length)).Put("\"");
            l.Put(", height %d, weight %d, escapement %d%s", e.height, e.weight, e.escapement,
                  e.style != 0 ? ", italic" : "");
            break;
        }
        case ObjectKind::kPalette:
            l.Put(", %u entries", e.entries);
            break;
        default:
            break;
    }
}

void PutStock(StateLineMaker& l, uint32_t stock) {
    static constexpr const char* kLater[] = {"DEFAULT_GUI_FONT", "DC_BRUSH", "DC_PEN"};
    if (stock >= 17 && stock <= 19) {
        l.Put("stock %s", kLater[stock - 17]);
    } else {
        l.Put("stock ").Name(kStockObjectSymbols, stock);
    }
}

void Selected(StateLineMaker& l, const char* label, const Item<Selection>& item) {
    const Selection& sel = item.value;
    l.Begin(item.set_by).Put("Selected %s: ", label);
    if ((sel.handle & kStockBit) != 0) {
        PutStock(l, sel.handle & ~kStockBit);
    } else if (sel.handle == 0) {
        l.Put("none");
    } else {
        l.Put("#%u ", sel.handle);
        PutObject(l, sel.object);
        l.Put(" (created at record %d)%s", sel.object.created_by,
              sel.deleted ? ", deleted while selected" : "");
    }
    l.End();
}

void Objects(StateLineMaker& l, const GraphicsState& s) {
    l.Heading("Objects");
    uint32_t live = 0;
    s.objects.ForEach([&](uint32_t, const ObjectEntry&) { ++live; });
    l.Begin(kDefaultState)
        .Put("Object table: %u slot%s, %u in use", s.objects.handles(),
             s.objects.handles() == 1 ? "" : "s", live);
    const SelectionState& sel = s.dc.selected;
    Selected(l, "pen", sel.pen);
    Selected(l, "brush", sel.brush);
    Selected(l, "font", sel.font);
    Selected(l, "palette", sel.palette);
    Selected(l, "colour space", sel.color_space);
    s.objects.ForEach([&](uint32_t index, const ObjectEntry& e) {
        l.Begin(e.created_by).Put("#%u ", index);
        PutObject(l, e);
        l.End();
    });
}

void Attributes(StateLineMaker& l, const GraphicsState& s) {
    const AttributeState& a = s.dc.attributes;
    l.Heading("Attributes");
    l.Begin(a.background_mode.set_by)
        .Put("Background mode: ")
        .Name(kBackgroundModeSymbols, a.background_mode.value)
        .End();
    l.Begin(a.background_color.set_by).Put("Background colour: ");
    PutColor(l, a.background_color.value);
    l.End();
    l.Begin(a.text_color.set_by).Put("Text colour: ");
    PutColor(l, a.text_color.value);
    l.End();
    const uint32_t align = a.text_align.value;
    l.Begin(a.text_align.set_by)
        .Put("Text alignment: ")
        .Name(kTextAlignHorizontalSymbols, align & 6)
        .Put(" | ")
        .Name(kTextAlignVerticalSymbols, align & 24)
        .Put(" | ")
        .Name(kTextAlignUpdateSymbols, align & 1);
    if ((align & ~31u) != 0) {
        l.Put(" | 0x%X", align & ~31u);
    }
    l.End();
    l.Begin(a.rop2.set_by).Put("ROP2: ").Name(kMixModeSymbols, a.rop2.value).End();
    l.Begin(a.poly_fill_mode.set_by)
        .Put("Polygon fill mode: ")
        .Name(kPolyFillModeSymbols, a.poly_fill_mode.value)
        .End();
    l.Begin(a.stretch_mode.set_by)
        .Put("Stretch mode: ")
        .Name(kStretchModeSymbols, a.stretch_mode.value)
        .End();
    const uint32_t dir = a.arc_direction.value;
    l.Begin(a.arc_direction.set_by)
        .Put("Arc direction: %s", dir == 1   ? "AD_COUNTERCLOCKWISE"
                                  : dir == 2 ? "AD_CLOCKWISE"
                                             : "unknown")
        .End();
    l.Begin(a.miter_limit.set_by).Put("Miter limit: %g", double(a.miter_limit.value)).End();
    Item2(l, "Brush origin", a.brush_origin, a.brush_origin.value.x, a.brush_origin.value.y);
    const uint32_t layout = a.layout.value;
    l.Begin(a.layout.set_by)
        .Put("Layout: 0x%X%s%s", layout, (layout & 1) ? " LAYOUT_RTL" : "",
             (layout & 8) ? " LAYOUT_BITMAPORIENTATIONPRESERVED" : "");
    l.End();
    l.Begin(a.mapper_flags.set_by).Put("Mapper flags: 0x%X", a.mapper_flags.value).End();
    l.Begin(a.icm_mode.set_by).Put("ICM mode: ").Name(kIcmModeSymbols, a.icm_mode.value).End();
    const ColorAdjustment& c = a.color_adjustment.value;
    l.Begin(a.color_adjustment.set_by)
        .Put(
            "Colour adjustment: flags 0x%X, illuminant %u, gamma %u %u %u, black %u, white %u, "
            "contrast %d, brightness %d, colourfulness %d, tint %d",
            c.flags, c.illuminant, c.red_gamma, c.green_gamma, c.blue_gamma, c.reference_black,
            c.reference_white, c.contrast, c.brightness, c.colorfulness, c.red_green_tint)
        .End();
    const Justification& j = a.justification.value;
    l.Begin(a.justification.set_by)
        .Put("Text justification: %d extra over %d breaks", j.break_extra, j.break_count)
        .End();
}

void PositionAndPath(StateLineMaker& l, const GraphicsState& s) {
    l.Heading("Position and path");
    const PositionState& p = s.dc.position.value;
    l.Begin(s.dc.position.set_by).Put("Current position: ");
    if (p.known) {
        l.Put("(%d, %d)", p.at.x, p.at.y);
    } else {
        l.Put("unknown");
    }
    l.End();
    const Item<PathBracket>& path = s.dc.path;
    l.Begin(path.set_by);
    switch (path.value) {
        case PathBracket::kNone:
            l.Put("Path bracket: none");
            break;
        case PathBracket::kOpen:
            l.Put("Path bracket: open since record %d", path.set_by);
            break;
        case PathBracket::kClosed:
            l.Put("Path bracket: closed at record %d, waiting for a fill, stroke or clip",
                  path.set_by);
            break;
    }
    l.End();
}

void RegionLines(StateLineMaker& l, const GraphicsState& s, const char* label,
                 const Item<Region>& item) {
    const Region& r = item.value;
    l.Begin(item.set_by).Put("%s: ", label);
    if (r.kind == RegionKind::kWhole) {
        l.Put("none (the whole surface)").End();
        return;
    }
    const RectL b = RegionBounds(r, DeviceSurface(s));
    l.Put("%u rectangle%s, bounds (%d, %d)-(%d, %d)%s", unsigned(r.count()),
          r.count() == 1 ? "" : "s", b.left, b.top, b.right, b.bottom,
          !r.approximated ? ""
          : r.from_path   ? ", a rectangle holding the region made from a path"
                          : ", its bounding box standing for a region too complex to keep");
    l.End();
    for (size_t i = 0; i < r.count() && i < kRectanglesShown; ++i) {
        const RectL& x = (*r.rects)[i];
        l.Begin(item.set_by).Put("  (%d, %d)-(%d, %d)", x.left, x.top, x.right, x.bottom);
    }
    if (r.count() > kRectanglesShown) {
        l.Begin(item.set_by).Put("  and %u more", unsigned(r.count() - kRectanglesShown));
    }
}

void Saved(StateLineMaker& l, const GraphicsState& s) {
    l.Heading("Saved states");
    l.Begin(s.depth_set.set_by).Put("Depth: %u", s.depth).End();
    uint32_t level = s.depth;
    for (const SavedLevel* at = s.saved.get(); at != nullptr && level + kRectanglesShown > s.depth;
         at = at->below.get(), --level) {
        l.Begin(at->saved_by).Put("Level %u saved by record %d", level, at->saved_by);
    }
}

void Event(StateLineMaker& l, const StateEvent& e) {
    static constexpr const char* kWhich[] = {"pen", "brush", "font"};
    const char* which = e.value >= 0 && e.value < 3 ? kWhich[e.value] : "object";
    l.Begin(e.record);
    switch (e.kind) {
        case EventKind::kSelectEmpty:
            l.Put("Record %d selects index 0x%X, which holds no object of its kind", e.record,
                  uint32_t(e.value));
            break;
        case EventKind::kIndexBeyondTable:
            l.Put("Record %d uses index %u, outside the object table", e.record, uint32_t(e.value));
            break;
        case EventKind::kCreateOverLive:
            l.Put("Record %d creates an object at index %d, which was in use", e.record, e.value);
            break;
        case EventKind::kDeleteEmpty:
            l.Put("Record %d deletes index %d, which holds no object", e.record, e.value);
            break;
        case EventKind::kRestoreBeyondStack:
            l.Put("Record %d restores level %d, beyond the saved states; ignored", e.record,
                  e.value);
            break;
        case EventKind::kZeroExtent:
            l.Put("Record %d sets a zero %s extent; ignored", e.record,
                  e.value == 0 ? "window" : "viewport");
            break;
        case EventKind::kDrawDeleted:
            l.Put("Record %d draws with a %s deleted while selected", e.record, which);
            break;
        case EventKind::kSaveTooDeep:
            l.Put("Record %d saves a state beyond the %d levels kept; ignored", e.record, e.value);
            break;
        case EventKind::kDrawNeverCreated:
            l.Put("Record %d draws with a %s never created", e.record, which);
            break;
    }
}

void Diagnostics(StateLineMaker& l, const GraphicsState& s, int32_t path_open_at_end) {
    l.Heading("Diagnostics");
    const DcState& dc = s.dc;
    const Transform& world = dc.mapping.world.value;
    const double det = Determinant(world);
    if (!std::isfinite(det) || det == 0 || !std::isfinite(world.dx) || !std::isfinite(world.dy)) {
        l.Begin(dc.mapping.world.set_by).Put("The world transform cannot be inverted");
    }
    const SelectionState& sel = dc.selected;
    for (const Item<Selection>* item : {&sel.pen, &sel.brush, &sel.font}) {
        if (item->value.deleted) {
            l.Begin(item->set_by)
                .Put("A selected object, #%u, was deleted while selected", item->value.handle);
        }
    }
    if (sel.font.value.object.kind == ObjectKind::kFont && sel.font.value.object.height == 0) {
        l.Begin(sel.font.set_by).Put("The selected font has height 0 (the default height)");
    }
    for (const Item<Region>* clip : {&dc.clip, &dc.meta}) {
        if (clip->value.kind == RegionKind::kRects && clip->value.count() == 0) {
            l.Begin(clip->set_by)
                .Put("The %s region is empty: nothing is drawn",
                     clip == &dc.clip ? "clip" : "meta");
        }
    }
    if (path_open_at_end != kDefaultState) {
        l.Begin(path_open_at_end)
            .Put("The path bracket opened at record %d is still open at the end of the file",
                 path_open_at_end);
    }
    if (s.event_count > GraphicsState::kEventsKept) {
        l.Begin(kDefaultState)
            .Put("%u events in all; the last %u:", s.event_count,
                 unsigned(GraphicsState::kEventsKept));
    }
    s.ForEachEvent([&](const StateEvent& e) { Event(l, e); });
    EmfPlusDiagnostics(l, s.plus);
}

}  // namespace

bool StateText(const GraphicsState& state, int32_t path_open_at_end,
               std::vector<StateLine>* lines) {
    try {
        lines->clear();
        StateLineMaker l(*lines);
        Mapping(l, state);
        Objects(l, state);
        Attributes(l, state);
        PositionAndPath(l, state);
        l.Heading("Clipping");
        RegionLines(l, state, "Clip region", state.dc.clip);
        RegionLines(l, state, "Meta region", state.dc.meta);
        Item<Region> effective;
        effective.set_by = std::max(state.dc.clip.set_by, state.dc.meta.set_by);
        if (state.dc.meta.value.kind != RegionKind::kWhole &&
            EffectiveClip(state.dc, DeviceSurface(state), &effective.value)) {
            RegionLines(l, state, "In effect", effective);
        }
        Saved(l, state);
        if (state.plus.seen()) {
            EmfPlusSection(l, state.plus);
        }
        Diagnostics(l, state, path_open_at_end);
    } catch (const std::bad_alloc&) {
        lines->clear();
        return false;
    }
    return true;
}
