// The paused GDI+ player: GDI+'s enumeration held paused before the next EMF+ or GDI record to
// play, so that a step or sub-step forward plays only what it crosses, and the pictures of the
// last places shown kept, so that a short step back is a copy.
#pragma once

#include "canvas/player_win.h"

// Plays as kGdiPlusPlayer does, pixel for pixel; its still player is kGdiPlusPlayer.
extern const Player kPausedGdiPlusPlayer;

// Ends the paused GDI+ playback and frees what it holds; the next play starts again.
void EndPausedGdiPlusPlayback();
