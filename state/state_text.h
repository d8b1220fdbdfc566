// The graphics state as text lines in sections, each item with the record that set it.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "state/graphics_state.h"

struct StateLine {
    std::u16string text;
    // The record that set the item, kDefaultState for one no record set and for headings.
    int32_t set_by = kDefaultState;
    // A section's heading ("Mapping", "Objects", ...) rather than an item.
    bool heading = false;
};

// The rectangles of a region a text shows at most.
inline constexpr size_t kRectanglesShown = 16;

// Replaces `lines` with the state's sections: Mapping, Objects, Attributes, Position and path,
// Clipping, Saved states, EMF+ (once an EMF+ record was played), Diagnostics.
// `path_open_at_end` is the record that opened a path bracket the file leaves open
// (kDefaultState for none). False when memory ran out.
bool StateText(const GraphicsState& state, int32_t path_open_at_end, std::vector<StateLine>* lines);
