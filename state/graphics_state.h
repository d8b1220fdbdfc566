// The playback state after a record: the object table and the device context's graphics
// environment, every item with the record that last set it. Plain data, cheap to copy: the
// parts that may grow (the object table, the clip rectangles, the saved levels) are shared
// between copies and copied only where one of them changes.
#pragma once

#include <array>
#include <cstdint>
#include <memory>
#include <vector>

#include "state/emfplus_state.h"
#include "state/state_values.h"

struct MappingState {
    Item<uint32_t> map_mode{1};  // MM_TEXT
    Item<PointL> window_org;
    Item<SizeL> window_ext{{1, 1}};
    Item<PointL> viewport_org;
    Item<SizeL> viewport_ext{{1, 1}};
    Item<Transform> world;
};

struct ColorAdjustment {
    uint16_t size = 24, flags = 0, illuminant = 0;
    uint16_t red_gamma = 10000, green_gamma = 10000, blue_gamma = 10000;
    uint16_t reference_black = 0, reference_white = 10000;
    int16_t contrast = 0, brightness = 0, colorfulness = 0, red_green_tint = 0;
};

struct Justification {
    int32_t break_extra = 0;
    int32_t break_count = 0;
};

struct AttributeState {
    Item<uint32_t> background_mode{2};  // OPAQUE
    Item<uint32_t> background_color{0xFFFFFF};
    Item<uint32_t> text_color{0};
    Item<uint32_t> text_align{0};
    Item<uint32_t> rop2{13};           // R2_COPYPEN
    Item<uint32_t> poly_fill_mode{1};  // ALTERNATE
    Item<uint32_t> stretch_mode{1};    // BLACKONWHITE
    Item<uint32_t> arc_direction{1};   // AD_COUNTERCLOCKWISE
    Item<float> miter_limit{10.0f};
    Item<PointL> brush_origin;
    Item<uint32_t> layout{0};
    Item<uint32_t> mapper_flags{0};
    Item<uint32_t> icm_mode{1};  // ICM_OFF
    Item<ColorAdjustment> color_adjustment;
    Item<Justification> justification;
};

// What an object-table slot holds.
enum class ObjectKind : uint8_t {
    kNone,
    kPen,
    kExtPen,
    kBrush,
    kPatternBrush,
    kFont,
    kPalette,
    kColorSpace
};

struct ObjectEntry {
    ObjectKind kind = ObjectKind::kNone;
    int32_t created_by = kDefaultState;
    // Pens: style, width, colour. Brushes: style, colour, hatch (or the DIB usage).
    // Fonts: height, width, escapement, weight, italic. Palettes: entries.
    uint32_t style = 0;
    int32_t width = 0;
    uint32_t color = 0;
    uint32_t hatch = 0;
    int32_t height = 0;
    int32_t escapement = 0;
    int32_t weight = 0;
    uint32_t entries = 0;
    std::array<char16_t, 32> face{};
};

// The object table, in blocks shared between copies of the state: a copy costs one pointer a
// block, and a change copies only its own block.
class ObjectTable {
  public:
    static constexpr uint32_t kBlock = 64;

    void Reset(uint32_t handles) {
        handles_ = handles;
        blocks_.clear();
    }
    // The header's nHandles: the indices 1 to handles - 1 may hold objects.
    uint32_t handles() const { return handles_; }
    // The slot at `index`; an empty one outside the table.
    const ObjectEntry& At(uint32_t index) const;
    // Sets the slot at `index`, which must be inside the table. False when memory ran out.
    bool Put(uint32_t index, const ObjectEntry& entry);
    // Calls `visit(index, entry)` for every slot that holds an object, in index order.
    template <typename Visit>
    void ForEach(Visit visit) const {
        for (size_t b = 0; b < blocks_.size(); ++b) {
            if (blocks_[b] == nullptr) {
                continue;
            }
            for (uint32_t i = 0; i < kBlock; ++i) {
                if ((*blocks_[b])[i].kind != ObjectKind::kNone) {
                    visit(static_cast<uint32_t>(b * kBlock + i), (*blocks_[b])[i]);
                }
            }
        }
    }

  private:
    using Block = std::array<ObjectEntry, kBlock>;
    uint32_t handles_ = 0;
    std::vector<std::shared_ptr<const Block>> blocks_;
};

// What is selected in one slot of the device context: a table index or, with the high bit
// set, a stock object; whether the table's object was deleted while selected; and the object
// as it was selected, which stays in use even when its slot is freed or filled again.
struct Selection {
    uint32_t handle = 0;
    bool deleted = false;
    ObjectEntry object;
};
inline constexpr uint32_t kStockBit = 0x80000000u;

struct SelectionState {
    Item<Selection> pen{{kStockBit | 7, false, {}}};       // BLACK_PEN
    Item<Selection> brush{{kStockBit | 0, false, {}}};     // WHITE_BRUSH
    Item<Selection> font{{kStockBit | 13, false, {}}};     // SYSTEM_FONT
    Item<Selection> palette{{kStockBit | 15, false, {}}};  // DEFAULT_PALETTE
    Item<Selection> color_space{{0, false, {}}};           // none
};

struct PositionState {
    bool known = true;
    PointL at;
};

enum class PathBracket : uint8_t { kNone, kOpen, kClosed };

// The box in device units holding every point the path's figures have passed through, so that
// a clip made from the path stands for a rectangle that holds it. Only the running bounds are
// kept: a path of a million points costs no more than one of four.
struct PathBox {
    bool any = false;
    RectL box;
};

// A region in device units of the reference device: the whole surface (no clipping), or a
// list of disjoint rectangles (none: empty).
enum class RegionKind : uint8_t { kWhole, kRects };
struct Region {
    RegionKind kind = RegionKind::kWhole;
    // True when the list stands for a rectangle holding the region: a list that grew beyond
    // what is kept, or a region made from a path, whose outline is not kept.
    bool approximated = false;
    // True when such a rectangle holds a region made from a path.
    bool from_path = false;
    std::shared_ptr<const std::vector<RectL>> rects;
    size_t count() const { return rects == nullptr ? 0 : rects->size(); }
};

// The device context's state: what SaveDC saves and RestoreDC brings back.
struct DcState {
    MappingState mapping;
    AttributeState attributes;
    SelectionState selected;
    Item<PositionState> position;
    Item<PathBracket> path{PathBracket::kNone};
    PathBox path_box;
    Item<Region> clip;
    Item<Region> meta;
};

// One saved level: the state it saved, the record that saved it, and the level below.
struct SavedLevel {
    DcState state;
    int32_t saved_by = kDefaultState;
    std::shared_ptr<const SavedLevel> below;
};

// A thing that looked wrong when a record was played.
enum class EventKind : uint8_t {
    kSelectEmpty,         // value: the index
    kIndexBeyondTable,    // value: the index
    kCreateOverLive,      // value: the index
    kDeleteEmpty,         // value: the index
    kRestoreBeyondStack,  // value: the level asked for (signed)
    kZeroExtent,          // value: 0 window, 1 viewport
    kDrawDeleted,         // value: 0 pen, 1 brush, 2 font
    kDrawNeverCreated,    // value: as above
    kSaveTooDeep,         // value: the depth kept
};
struct StateEvent {
    EventKind kind;
    int32_t record;
    int32_t value;
};

struct GraphicsState {
    DcState dc;
    ObjectTable objects;
    // The SaveDC stack, top first, and its depth.
    std::shared_ptr<const SavedLevel> saved;
    uint32_t depth = 0;
    // The deepest stack kept: each level holds a whole device-context state, and a file of
    // nothing but SaveDC records must not take the memory of a level a record.
    static constexpr uint32_t kDeepestSave = 4096;
    Item<uint32_t> depth_set;  // the record that last changed the depth
    // The reference device from the header: pixels and millimetres.
    SizeL device{1, 1};
    SizeL millimeters{1, 1};
    // What the EMF+ records inside the comments played so far leave in force.
    EmfPlusState plus;
    // The last record played into this state, or kDefaultState before the header.
    int32_t record = kDefaultState;
    // The most recent events, oldest first, and how many there were in all.
    static constexpr size_t kEventsKept = 8;
    std::array<StateEvent, kEventsKept> events{};
    uint32_t event_count = 0;

    void Note(EventKind kind, int32_t at, int32_t value);
    // The kept events in order, oldest first: `visit(event)`.
    template <typename Visit>
    void ForEachEvent(Visit visit) const {
        const uint32_t kept = event_count < kEventsKept ? event_count : kEventsKept;
        for (uint32_t i = 0; i < kept; ++i) {
            visit(events[(event_count - kept + i) % kEventsKept]);
        }
    }
};

// The transform from logical units to the reference device's units: the world transform,
// then the window-to-viewport mapping.
Transform LogicalToDevice(const DcState& dc);
// The same in millimetres of the reference device.
Transform LogicalToMillimeters(const GraphicsState& state);
