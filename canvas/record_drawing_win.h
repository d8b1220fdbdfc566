// What the current record drew: the picture played up to it, with the pixels that record
// changed, against the picture just before it, in a strong colour over the rest dimmed.
#pragma once

#include <windows.h>

#include <cstdint>

class MetafileDocument;
class RecordFilter;

// The record was not played: the filter switches it off.
inline constexpr int64_t kRecordNotPlayed = -1;

// Plays `document` up to `current` into `picture` on `surface` as the picture is played, over
// `background`, but draws only the part of the picture inside `visible`, and there the pixels
// the current record changed in the strong colour over the rest of the picture dimmed. The
// number of those pixels; kRecordNotPlayed when the record is switched off (the picture is
// then drawn dimmed throughout), and 0 too where no surface could be had.
int64_t PlayShowingWhatRecordDrew(HDC surface, const RECT& picture, const RECT& visible,
                                  COLORREF background, const MetafileDocument& document,
                                  const RecordFilter* filter, int32_t current);
