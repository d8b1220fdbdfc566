// The paused player: it keeps the playback of the picture paused after the current record,
// so that a step forward plays only the records it crosses onto the same surface, and keeps
// the pictures of the last records shown, so that a short step back is a copy.
#pragma once

#include "canvas/player_win.h"

// Plays as kGdiPlayer does, pixel for pixel. Without a filter list it is kGdiPlayer.
extern const Player kPausedPlayer;

// Ends the paused playback and frees what it holds; the next play starts again.
void EndPausedPlayback();
