// A player: what draws the canvas's picture, the document played up to a current record.
#pragma once

#include <windows.h>

#include <cstdint>

class MetafileDocument;
class RecordFilter;

struct Player {
    // Plays `document` up to record `current` (0 or more) into `picture` on `surface`: the
    // records PlaysRecord lets through for `filter`, whose absence stands for no filter list.
    void (*play)(HDC surface, const RECT& picture, const MetafileDocument& document,
                 const RecordFilter* filter, int32_t current);
    // The player of a picture made once, apart from the canvas's (a copy, a saved file), where
    // it is another: a player that keeps what it drew for the next paint draws these with it.
    const Player* still = nullptr;
    // Plays as `play` does, but of record `current` only its EMF+ records up to `place`
    // (0-based, as the EMF+ view numbers them); nullptr for a player that draws no EMF+ record
    // on its own, which plays the whole record.
    void (*play_place)(HDC surface, const RECT& picture, const MetafileDocument& document,
                       const RecordFilter* filter, int32_t current, int32_t place) = nullptr;
};

// Plays with `player` up to EMF+ record `place` of record `current`, or the whole of it for a
// place below 0.
inline void PlayUpTo(const Player& player, HDC surface, const RECT& picture,
                     const MetafileDocument& document, const RecordFilter* filter, int32_t current,
                     int32_t place) {
    if (place >= 0 && player.play_place != nullptr) {
        player.play_place(surface, picture, document, filter, current, place);
    } else {
        player.play(surface, picture, document, filter, current);
    }
}

// The player that draws a picture made once with `player`.
inline const Player& StillPlayer(const Player& player) {
    return player.still != nullptr ? *player.still : player;
}

// The platform's metafile player.
extern const Player kGdiPlayer;

// Whether the curve `record` draws, if it draws one, is small enough on `surface` to be played:
// the platform's rasteriser takes memory in proportion to a curve's size on the device.
bool CurveFits(HDC surface, const ENHMETARECORD* record);

// Told of each record a record-by-record playback plays, just after it plays.
class PlaybackWatch {
  public:
    virtual void After(int32_t index) = 0;

  protected:
    ~PlaybackWatch() = default;
};

// Plays `document` up to `current` into `picture` on `surface` one record at a time, as the
// platform's player plays it record by record: the records PlaybackStepAt lets through for
// `filter`, or with `every_record` every record up to `current`; a curve too large is left
// out. `watch` (may be nullptr) is told of each record played.
void PlayRecordByRecord(HDC surface, const RECT& picture, const MetafileDocument& document,
                        const RecordFilter* filter, int32_t current, bool every_record,
                        PlaybackWatch* watch);
