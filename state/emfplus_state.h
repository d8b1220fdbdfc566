// The EMF+ state after a record: what the EMF+ records inside the comment records played so
// far leave in force, every item with the EMF+ record that last set it, named by its comment
// record R and its place K inside that comment. Plain data, cheap to copy: the object table and
// the stack are shared between copies and copied only where one of them changes.
#pragma once

#include <array>
#include <cstdint>
#include <memory>

#include "emfplus/split_objects.h"
#include "state/state_values.h"

// An EMF+ record: the comment record that holds it and its place there, from 0.
struct PlusAt {
    int32_t record = kDefaultState;
    int32_t place = 0;
};

template <typename T>
struct PlusItem {
    T value{};
    PlusAt by;
    void Set(const T& to, PlusAt at) {
        value = to;
        by = at;
    }
};

struct PageTransform {
    uint8_t unit = 1;  // UnitTypeDisplay
    float scale = 1.0f;
};

// The clip: infinite; known to lie inside `bounds`; or made of a path or region whose bounds
// are not traced. `bounds` is in page units, the world transform of the record that set it
// applied.
enum class PlusClipKind : uint8_t { kInfinite, kBounded, kUntraced };
enum class PlusClipSource : uint8_t { kReset, kRect, kPath, kRegion };
struct PlusClip {
    PlusClipKind kind = PlusClipKind::kInfinite;
    PlusClipSource source = PlusClipSource::kReset;
    uint8_t mode = 0;       // the combine mode of the last change
    uint8_t object = 0;     // the path or region of the last change
    bool combined = false;  // the last change combined it with a clip that was not infinite
    bool moved = false;     // moved by an offset since
    float left = 0, top = 0, right = 0, bottom = 0;
};

struct PlusModes {
    PlusItem<uint16_t> antialias;  // bit 0 anti-aliased, bits 1 to 7 the smoothing mode
    PlusItem<uint8_t> text_hint;
    PlusItem<uint16_t> text_contrast;
    bool text_contrast_set = false;
    PlusItem<uint8_t> interpolation;
    PlusItem<uint8_t> pixel_offset;
    PlusItem<uint8_t> compositing_mode;
    PlusItem<uint8_t> compositing_quality{1, {}};  // CompositingQualityDefault
    PlusItem<PointL> origin;
};

// What a save or a container keeps and its restore brings back.
struct PlusDc {
    PlusItem<Transform> world;
    PlusItem<PageTransform> page;
    PlusItem<PlusClip> clip;
    PlusModes modes;
    // The transform of the containers the records draw inside: identity outside any.
    PlusItem<Transform> container;
};

inline constexpr uint32_t kPlusObjectSlots = 64;
// An object-table slot: the object type (0 for none) and the record that defined it.
struct PlusObject {
    uint8_t type = 0;
    PlusAt defined;
};
using PlusObjects = std::array<PlusObject, kPlusObjectSlots>;

enum class PlusPush : uint8_t { kSave, kContainer, kContainerNoParams };
struct PlusLevel {
    PlusDc saved;
    uint32_t stack_index = 0;
    PlusPush pushed_by = PlusPush::kSave;
    PlusAt at;
    std::shared_ptr<const PlusLevel> below;
};

// A thing that looked wrong when an EMF+ record was played.
enum class PlusEventKind : uint8_t {
    kNeverDefined,  // value: the object id; expected: the type it is used as
    kWrongType,     // value: the id; expected: as above; found: the type it holds
    kOutsideTable,  // value: the id
    kUnknownIndex,  // value: the stack index; found: 0 Restore, 1 EndContainer
    kStackTooDeep,  // value: the depth kept
    kBadClipMode,   // value: the combine mode
};
struct PlusEvent {
    PlusEventKind kind = PlusEventKind::kNeverDefined;
    uint8_t expected = 0;
    uint8_t found = 0;
    PlusAt at;
    uint32_t value = 0;
};

struct EmfPlusState {
    // The first EMF+ record played; its record is kDefaultState while none was.
    PlusAt first;
    PlusDc dc;
    // The object table; nullptr while no slot was defined.
    std::shared_ptr<const PlusObjects> objects;
    // The save and container stack, top first, and its depth.
    std::shared_ptr<const PlusLevel> stack;
    PlusItem<uint32_t> depth;
    static constexpr uint32_t kDeepest = 4096;
    // Whether the plain records played now are drawn inside a GetDC span, and which EmfPlusGetDC
    // opened it (or which EMF+ record ended it).
    PlusItem<bool> in_get_dc;
    // The objects split over several records: which one is being read and how far.
    SplitObjectTracker split;
    // The most recent events, oldest first, and how many there were in all.
    static constexpr size_t kEventsKept = 8;
    std::array<PlusEvent, kEventsKept> events{};
    uint32_t event_count = 0;

    bool seen() const { return first.record != kDefaultState; }
    const PlusObject& Object(uint32_t id) const;
    // Defines slot `id`, which must lie inside the table. False when memory ran out.
    bool Define(uint32_t id, const PlusObject& object);
    void Note(const PlusEvent& event);
    template <typename Visit>
    void ForEachEvent(Visit visit) const {
        const uint32_t kept = event_count < kEventsKept ? event_count : uint32_t(kEventsKept);
        for (uint32_t i = 0; i < kept; ++i) {
            visit(events[(event_count - kept + i) % kEventsKept]);
        }
    }
};
