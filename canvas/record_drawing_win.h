// What the current record drew: the picture played up to it, with the pixels that record
// changed, against the picture just before it, in a strong colour over the rest dimmed.
#pragma once

#include <windows.h>

#include <cstdint>

#include "canvas/player_win.h"

// The record was not played: the filter switches it off.
inline constexpr int64_t kRecordNotPlayed = -1;

// Plays `document` with `player` twice onto copies of the part `visible` of `surface`, as it
// stands before the picture is played (its ground and the picture's background): up to the
// record played last before `current`, and up to `current`. Puts back the second, with the
// pixels of `picture` that differ in the strong colour over the rest of the picture dimmed.
// The number of those pixels; kRecordNotPlayed when the record is switched off (the picture
// is then shown dimmed throughout), and 0 too where no surface could be had. With `place` 0 or
// more, what EMF+ record `place` of `current` drew, against the picture before it.
int64_t PlayShowingWhatRecordDrew(HDC surface, const RECT& picture, const RECT& visible,
                                  const Player& player, const MetafileDocument& document,
                                  const RecordFilter* filter, int32_t current, int32_t place);

// Plays `document` up to `current` (and `place`) with `first` and with `second` onto copies of
// the part `visible` of `surface`, and puts back the second's picture dimmed with the pixels
// of `picture` where the two differ in the strong colour. The number of those pixels.
int64_t PlayShowingWherePlayersDiffer(HDC surface, const RECT& picture, const RECT& visible,
                                      const Player& first, const Player& second,
                                      const MetafileDocument& document, const RecordFilter* filter,
                                      int32_t current, int32_t place);
