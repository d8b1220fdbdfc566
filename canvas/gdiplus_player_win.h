// The GDI+ player: the platform's GDI+ plays the document's guarded copy record by record, so
// that the EMF+ records inside comments draw, and the records it refuses are counted.
#pragma once

#include <cstdint>
#include <unordered_map>
#include <vector>

#include "canvas/player_win.h"

struct GdiPlusCopy;

// Plays through GDI+ up to the whole of record `current`, or with PlayUpTo up to EMF+ record
// `place` of it: every record and EMF+ record before, among those the filter lets play. A
// switched-off current record shows the picture of the records played before it.
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

// Frees the GDI+ copy of the document and the paused GDI+ playback; the next playback makes
// them again.
void EndGdiPlusPlayback();

// The parts the GDI+ players share.
//
// Where a step stands in the playback's order: record `record`, its EMF+ record `place`, or
// for a place of -1 a GDI record. As a target, place -1 stands for the whole record.
inline uint64_t StepPosition(int32_t record, int32_t place) {
    return uint64_t(uint32_t(record)) << 32 | uint32_t(place + 1);
}
inline uint64_t TargetPosition(int32_t record, int32_t place) {
    return uint64_t(uint32_t(record)) << 32 | (place < 0 ? 0xFFFFFFFFu : uint32_t(place + 1));
}
// Records refused, by type.
using RefusalCounts = std::unordered_map<uint32_t, uint32_t>;
// Plays one record the enumeration handed on, counting it in `refused` when GDI+ refuses it. A
// GDI record whose curve is `curve` pixels across and down on the surface is left out when that
// is too large: GDI+ hands GDI records to the platform's rasteriser, whose memory grows with a
// curve's size on the device.
void PlayGdiPlusRecord(const GdiPlusCopy& copy, uint32_t type, uint32_t flags, uint32_t size,
                       const uint8_t* data, double curve, RefusalCounts& refused);
// Makes `refused` what LastGdiPlusRefusals tells.
void PublishGdiPlusRefusals(const RefusalCounts& refused);
