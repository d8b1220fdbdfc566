// What the overlay on the picture shows at the current record: the clip region in effect and
// the record's own bounds, both mapped from the reference device's units into the picture.
#pragma once

#include <vector>

#include "canvas/canvas_view.h"
#include "document/record_view.h"
#include "state/graphics_state.h"

struct StateOverlay {
    // The part of the picture drawing may reach: everything (nothing is dimmed), or the
    // rectangles below (none: the whole picture is dimmed).
    bool clip_everywhere = true;
    std::vector<CanvasRect> clip;
    // The current record's bounds, where it carries them and they hold a pixel.
    bool has_bounds = false;
    CanvasRect bounds{0, 0, 0, 0};
};

// The record's rclBounds, inclusive, in the reference device's units; false for a record type
// that carries none, a record too short for them, and the empty bounds a writer stores for a
// record that drew nothing.
bool RecordBounds(RecordView record, RectL* bounds);

// Maps a rectangle of the reference device (right and bottom exclusive) into the picture: the
// header's frame (in 0.01 mm) fills `picture`, as the playback maps it.
CanvasRect DeviceToPicture(const GraphicsState& state, const CanvasRect& frame,
                           const CanvasRect& picture, const RectL& device);

// The overlay for `state` and the current record. False when memory ran out.
bool MakeStateOverlay(const GraphicsState& state, RecordView current, const CanvasRect& frame,
                      const CanvasRect& picture, StateOverlay* overlay);
