// Plays one record into the graphics state, as a playback of the record would change it.
#pragma once

#include <cstdint>

#include "document/record_view.h"
#include "state/graphics_state.h"

// Applies `record`, the record at `index`, to `state`. Every field is read through the
// record's own bounds; a field the record does not hold leaves the state as it was, and an
// index outside the object table is noted, never followed. False only when memory ran out.
bool PlayRecordInto(GraphicsState& state, RecordView record, int32_t index);

// Whether a record of `type` may change the state at all: a record of any other type leaves
// every item as it was.
bool MayChangeState(uint32_t type);

// The surface of the reference device, in its units.
RectL DeviceSurface(const GraphicsState& state);
