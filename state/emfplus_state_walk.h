// Plays the EMF+ records of one comment record into the EMF+ state.
#pragma once

#include <cstdint>

#include "document/record_view.h"
#include "state/emfplus_state.h"

// Applies the EMF+ records inside `comment`, the record at `index`, in order; a comment of
// other data changes nothing. Every field is read through the EMF+ record's own bounds, and a
// record whose size breaks the rules ends the comment's walk. False only when memory ran out.
bool PlayEmfPlusComment(EmfPlusState& state, RecordView comment, int32_t index);
