// A player: what draws the canvas's picture, the document played up to a current record.
#pragma once

#include <windows.h>

#include <cstdint>

class MetafileDocument;
class RecordFilter;

struct Player {
    // Plays `document` up to record `current` (0 or more) into `picture` on `surface`, without
    // the records `filter` switched off (none for a null filter).
    void (*play)(HDC surface, const RECT& picture, const MetafileDocument& document,
                 const RecordFilter* filter, int32_t current);
};

// The platform's metafile player.
extern const Player kGdiPlayer;
