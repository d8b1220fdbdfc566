// The EMF+ section of the state text and the lines of what looks wrong in the EMF+ state.
#include "state/emfplus_state_text.h"

#include <cmath>

#include "emfplus/emfplus_names.h"

namespace {

const char* TypeName(uint8_t type) {
    static constexpr const char* kNames[] = {"empty",          "brush",         "pen",
                                             "path",           "region",        "image",
                                             "font",           "string format", "image attributes",
                                             "custom line cap"};
    return type < std::size(kNames) ? kNames[type] : "object of an unknown type";
}

template <typename T>
StateLineMaker& Begin(StateLineMaker& l, const PlusItem<T>& item) {
    return l.Begin(item.by.record);
}

template <typename T>
void End(StateLineMaker& l, const PlusItem<T>& item) {
    l.End(item.by.place);
}

void Mode(StateLineMaker& l, const char* label, const SymbolTable& table,
          const PlusItem<uint8_t>& item) {
    Begin(l, item).Put("%s: ", label).Name(table, item.value);
    End(l, item);
}

void Clip(StateLineMaker& l, const PlusItem<PlusClip>& item) {
    const PlusClip& c = item.value;
    Begin(l, item).Put("Clip: ");
    if (c.kind == PlusClipKind::kInfinite) {
        l.Put("infinite");
        End(l, item);
        return;
    }
    switch (c.source) {
        case PlusClipSource::kRect:
            l.Put("a rectangle");
            break;
        case PlusClipSource::kPath:
            l.Put("path #%u", c.object);
            break;
        default:
            l.Put("region #%u", c.object);
            break;
    }
    if (c.combined) {
        l.Put(" combined by ")
            .Name(kEmfPlusCombineModeSymbols, c.mode)
            .Put(" with the clip before");
    }
    if (c.kind == PlusClipKind::kBounded) {
        l.Put(", bounds (%g, %g)-(%g, %g) in page units", double(c.left), double(c.top),
              double(c.right), double(c.bottom));
    } else {
        l.Put(", bounds not traced");
    }
    if (c.moved) {
        l.Put(", moved by an offset");
    }
    End(l, item);
}

const char* PushName(PlusPush push) {
    switch (push) {
        case PlusPush::kSave:
            return "Save";
        case PlusPush::kContainer:
            return "BeginContainer";
        default:
            return "BeginContainerNoParams";
    }
}

void Event(StateLineMaker& l, const PlusEvent& e) {
    l.Begin(e.at.record).Put("Record %d.%d ", e.at.record, e.at.place);
    switch (e.kind) {
        case PlusEventKind::kNeverDefined:
            l.Put("uses object #%u as a %s, but no object was defined there", e.value,
                  TypeName(e.expected));
            break;
        case PlusEventKind::kWrongType:
            l.Put("uses object #%u as a %s, but it holds a %s", e.value, TypeName(e.expected),
                  TypeName(e.found));
            break;
        case PlusEventKind::kOutsideTable:
            l.Put("%s object #%u, outside the %u-slot table", e.found != 0 ? "defines" : "uses",
                  e.value, kPlusObjectSlots);
            break;
        case PlusEventKind::kUnknownIndex:
            l.Put("%s stack index %u, which is not on the stack; ignored",
                  e.found != 0 ? "ends the container of" : "restores", e.value);
            break;
        case PlusEventKind::kStackTooDeep:
            l.Put("saves a state beyond the %u levels kept; ignored", e.value);
            break;
        case PlusEventKind::kBadClipMode:
            l.Put("combines the clip by an unknown mode, %u; ignored", e.value);
            break;
    }
}

}  // namespace

void EmfPlusSection(StateLineMaker& l, const EmfPlusState& s) {
    l.Heading("EMF+");
    const PlusDc& dc = s.dc;
    Begin(l, dc.world).Put("World transform: ");
    PutTransform(l, dc.world.value);
    End(l, dc.world);
    if (dc.container.by.record != kDefaultState) {
        Begin(l, dc.container).Put("Container transform: ");
        PutTransform(l, dc.container.value);
        End(l, dc.container);
    }
    Begin(l, dc.page).Put("Page transform: ").Name(kEmfPlusUnitSymbols, dc.page.value.unit);
    l.Put(", scale %g", double(dc.page.value.scale));
    End(l, dc.page);
    Clip(l, dc.clip);

    const PlusModes& m = dc.modes;
    Begin(l, m.antialias)
        .Put("Antialias mode: ")
        .Name(kEmfPlusSmoothingModeSymbols, (m.antialias.value >> 1) & 0x7F)
        .Put((m.antialias.value & 1) != 0 ? ", anti-aliased" : ", not anti-aliased");
    End(l, m.antialias);
    Mode(l, "Text rendering hint", kEmfPlusTextRenderingHintSymbols, m.text_hint);
    Begin(l, m.text_contrast).Put("Text contrast: ");
    if (m.text_contrast.by.record == kDefaultState) {
        l.Put("not set");
    } else {
        l.Put("%u", m.text_contrast.value);
    }
    End(l, m.text_contrast);
    Mode(l, "Interpolation mode", kEmfPlusInterpolationModeSymbols, m.interpolation);
    Mode(l, "Pixel offset mode", kEmfPlusPixelOffsetModeSymbols, m.pixel_offset);
    Mode(l, "Compositing mode", kEmfPlusCompositingModeSymbols, m.compositing_mode);
    Mode(l, "Compositing quality", kEmfPlusCompositingQualitySymbols, m.compositing_quality);
    Begin(l, m.origin).Put("Rendering origin: (%d, %d)", m.origin.value.x, m.origin.value.y);
    End(l, m.origin);

    uint32_t defined = 0;
    for (uint32_t id = 0; id < kPlusObjectSlots; ++id) {
        defined += s.Object(id).type != 0 ? 1 : 0;
    }
    l.Begin(kDefaultState).Put("Object table: %u of %u slots defined", defined, kPlusObjectSlots);
    for (uint32_t id = 0; id < kPlusObjectSlots; ++id) {
        const PlusObject& o = s.Object(id);
        if (o.type != 0) {
            l.Begin(o.defined.record).Put("#%u %s", id, TypeName(o.type)).End(o.defined.place);
        }
    }

    Begin(l, s.depth).Put("Stack depth: %u", s.depth.value);
    End(l, s.depth);
    uint32_t level = s.depth.value;
    for (const PlusLevel* at = s.stack.get();
         at != nullptr && level + kRectanglesShown > s.depth.value; at = at->below.get(), --level) {
        l.Begin(at->at.record)
            .Put("Level %u: %s, stack index %u", level, PushName(at->pushed_by), at->stack_index)
            .End(at->at.place);
    }
    Begin(l, s.in_get_dc).Put("GetDC span: ");
    if (s.in_get_dc.value) {
        l.Put("inside the GetDC span opened at %d.%d", s.in_get_dc.by.record, s.in_get_dc.by.place);
    } else {
        l.Put("no");
    }
    End(l, s.in_get_dc);
}

void EmfPlusDiagnostics(StateLineMaker& l, const EmfPlusState& s) {
    const PlusItem<Transform>& world = s.dc.world;
    const double det = Determinant(world.value);
    if (!std::isfinite(det) || det == 0 || !std::isfinite(world.value.dx) ||
        !std::isfinite(world.value.dy)) {
        l.Begin(world.by.record).Put("The EMF+ world transform cannot be inverted");
    }
    const PlusClip& clip = s.dc.clip.value;
    if (clip.kind == PlusClipKind::kBounded &&
        !(clip.right > clip.left && clip.bottom > clip.top)) {
        l.Begin(s.dc.clip.by.record).Put("The EMF+ clip is empty: nothing is drawn");
    }
    if (s.event_count > EmfPlusState::kEventsKept) {
        l.Begin(kDefaultState)
            .Put("%u EMF+ events in all; the last %u:", s.event_count,
                 unsigned(EmfPlusState::kEventsKept));
    }
    s.ForEachEvent([&](const PlusEvent& e) { Event(l, e); });
}
