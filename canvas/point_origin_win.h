// Which record drew a point of the picture: the last record, up to the current one and among
// those the playback plays, that changed a pixel of a small block about the point.
#pragma once

#include <windows.h>

#include <cstdint>

class MetafileDocument;
class RecordFilter;

// No played record changed the block.
inline constexpr int32_t kDrawnByNone = -1;

// Plays `document` up to `current` as the picture is played into `picture` over `background`,
// but onto a block of (2 * radius + 1) pixels square about client point `at` alone, reading the
// block after each record. The record that changed it last, or kDrawnByNone; kDrawnByNone too
// for a point outside the picture and where no surface could be had.
int32_t FindRecordThatDrew(const MetafileDocument& document, const RecordFilter* filter,
                           int32_t current, const RECT& picture, COLORREF background, POINT at,
                           int radius);
