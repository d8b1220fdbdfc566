// The GDI+ player: the platform's GDI+ plays the document's guarded copy record by record, so
// that the EMF+ records inside comments draw, and the records it refuses are counted.
#pragma once

#include <cstdint>
#include <vector>

#include "canvas/player_win.h"

// Plays through GDI+ up to the whole of record `current`, or with PlayUpTo up to EMF+ record
// `place` of it.
extern const Player kGdiPlusPlayer;

// Whether the platform's GDI+ could be started; the player draws nothing without it.
bool StartGdiPlus();

// The records of one type that GDI+ refused to play in the last GDI+ playback that the canvas
// shows: GdipPlayMetafileRecord answered other than Ok.
struct RefusedRecords {
    uint32_t type;  // the EMF+ record type, or the GDI record's iType
    uint32_t count;
};

// The refusals of the last GDI+ playback, most refused first; empty when it drew them all.
const std::vector<RefusedRecords>& LastGdiPlusRefusals();

// Frees the GDI+ copy of the document; the next playback makes it again.
void EndGdiPlusPlayback();
