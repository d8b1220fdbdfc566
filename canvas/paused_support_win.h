// What the paused players share: the window's thread as a fiber, the part of a surface they
// draw, and the pictures they keep for steps back.
#pragma once

#include <windows.h>

#include <cstddef>
#include <cstdint>
#include <vector>

class MetafileDocument;
class RecordFilter;

// What a paused playback was made for: it starts again when any of it changes.
struct PausedKey {
    uint32_t serial = 0;
    const RecordFilter* filter = nullptr;
    uint32_t filter_changes = 0;
    RECT picture = {};
    // The part of the surface drawn: all of it, since records may draw beyond the picture.
    RECT part = {};
    COLORREF background = 0;

    bool operator==(const PausedKey& o) const {
        return serial == o.serial && filter == o.filter && filter_changes == o.filter_changes &&
               EqualRect(&picture, &o.picture) && EqualRect(&part, &o.part) &&
               background == o.background;
    }
};

// The key of a playback of `document` into `picture` on `surface`.
PausedKey PausedKeyOf(HDC surface, const RECT& picture, const MetafileDocument& document,
                      const RecordFilter* filter);

// The window's thread as a fiber, made one the first time; nullptr when it cannot be.
void* CallingFiber();

// The part of `surface` that can be seen: a window's client area, a memory context's bitmap,
// else its clip box.
RECT SurfaceArea(HDC surface);

// Sets the pixels of `part` of `surface` from `pixels` (0x00RRGGBB, row by row from the top),
// straight from memory.
void ShowPixels(HDC surface, const RECT& part, const uint32_t* pixels);

// The pictures of the last places shown: each stands for every target in [from, to), in the
// order a playback reaches them.
class KeptPictures {
  public:
    // The picture standing for `target`, or nullptr.
    const uint32_t* Find(uint64_t target) const;
    // Keeps `count` pixels for [from, to), unless a picture is kept for `from` already; at most
    // 16 pictures and 16 Mi pixels in all, the oldest giving way.
    void Keep(uint64_t from, uint64_t to, const uint32_t* pixels, size_t count);
    void Clear();

  private:
    struct Kept {
        uint64_t from;
        uint64_t to;
        std::vector<uint32_t> pixels;
    };
    std::vector<Kept> kept_;
    size_t next_ = 0;
};
