// Two playbacks through the canvas's own player, so that with the paused player the picture
// before the current record is the one already shown or kept, and a step with this shown
// costs about what a step costs.
#include "canvas/record_drawing_win.h"

#include <optional>

#include "canvas/dib_surface_win.h"
#include "document/metafile_document.h"
#include "document/played_records.h"

namespace {

// The colour of a changed pixel, and how much of the rest of the picture shows (of 256), the
// remainder going to white, so that the strong colour stands out on any picture.
constexpr uint32_t kChangedPixel = 0x00FF0080;  // as the section stores it: 0x00RRGGBB
constexpr uint32_t kDimmedShare = 96;

uint32_t Dimmed(uint32_t pixel) {
    uint32_t out = 0;
    for (int shift = 0; shift < 24; shift += 8) {
        const uint32_t c = (pixel >> shift) & 0xFF;
        out |= ((c * kDimmedShare + 255 * (256 - kDimmedShare)) >> 8) << shift;
    }
    return out;
}

// The last record before `current` that a playback plays, or -1.
int32_t PlayedBefore(const MetafileDocument& document, const RecordFilter* filter, int32_t current,
                     bool whole) {
    int32_t before = current - 1;
    while (before >= 0 && !whole && !PlaysRecord(document, filter, before)) {
        --before;
    }
    return before;
}

// Copies of the part `visible` of `surface` as it stands, and `picture` moved into them.
struct TwoCopies {
    TwoCopies(HDC surface, const RECT& visible)
        : width(visible.right - visible.left),
          height(visible.bottom - visible.top),
          before(width, height, surface),
          after(width, height, surface) {
        if (ok()) {
            BitBlt(before.dc(), 0, 0, width, height, surface, visible.left, visible.top, SRCCOPY);
            BitBlt(after.dc(), 0, 0, width, height, surface, visible.left, visible.top, SRCCOPY);
        }
    }
    bool ok() const { return before.ok() && after.ok(); }

    int width;
    int height;
    DibSurface before;
    DibSurface after;
};

// Marks in `copies.after` the pixels of `part` (in surface coordinates) that differ from
// `copies.before`, dims the rest, puts it back onto `surface` and counts the marks; with
// `compare` false none is marked.
int64_t PutBackMarked(HDC surface, TwoCopies& copies, const RECT& part, const RECT& visible,
                      bool compare) {
    const uint32_t* was = copies.before.Flushed();
    uint32_t* now = copies.after.pixels();
    GdiFlush();
    int64_t changed = 0;
    for (int y = part.top - visible.top; y < part.bottom - visible.top; ++y) {
        for (int x = part.left - visible.left; x < part.right - visible.left; ++x) {
            const size_t i = size_t(y) * size_t(copies.width) + size_t(x);
            const bool differs = compare && ((now[i] ^ was[i]) & 0xFFFFFF) != 0;
            changed += differs ? 1 : 0;
            now[i] = differs ? kChangedPixel : Dimmed(now[i]);
        }
    }
    BitBlt(surface, visible.left, visible.top, copies.width, copies.height, copies.after.dc(), 0, 0,
           SRCCOPY);
    return changed;
}

RECT Moved(const RECT& picture, const RECT& visible) {
    return RECT{picture.left - visible.left, picture.top - visible.top,
                picture.right - visible.left, picture.bottom - visible.top};
}

// Plays twice with `play(before, after, moved)` onto copies of the part `visible` of `surface`
// (`moved` is `picture` in their coordinates) and puts back the second marked where the two
// differ, as PutBackMarked; nothing when no part of the picture is seen or no copy can be had.
template <typename Play>
std::optional<int64_t> PlayTwiceAndMark(HDC surface, const RECT& picture, const RECT& visible,
                                        int32_t current, bool compare, Play play) {
    RECT part;
    if (current < 0 || IsRectEmpty(&visible) || !IntersectRect(&part, &picture, &visible)) {
        return std::nullopt;
    }
    TwoCopies copies(surface, visible);
    if (!copies.ok()) {
        return std::nullopt;
    }
    play(copies.before.dc(), copies.after.dc(), Moved(picture, visible));
    return PutBackMarked(surface, copies, part, visible, compare);
}

}  // namespace

int64_t PlayShowingWhatRecordDrew(HDC surface, const RECT& picture, const RECT& visible,
                                  const Player& player, const MetafileDocument& document,
                                  const RecordFilter* filter, int32_t current, int32_t place) {
    const bool whole = current >= 0 && PlaysWholeMetafile(document, filter, current);
    const bool played = whole || PlaysRecord(document, filter, current);
    const std::optional<int64_t> changed = PlayTwiceAndMark(
        surface, picture, visible, current, played, [&](HDC before, HDC after, const RECT& moved) {
            if (played && place > 0 && player.play_place != nullptr) {
                player.play_place(before, moved, document, filter, current, place - 1);
            } else if (const int32_t previous = PlayedBefore(document, filter, current, whole);
                       played && previous >= 0) {
                player.play(before, moved, document, filter, previous);
            }
            PlayUpTo(player, after, moved, document, filter, current, place);
        });
    if (!changed) {
        return 0;
    }
    return played ? *changed : kRecordNotPlayed;
}

int64_t PlayShowingWherePlayersDiffer(HDC surface, const RECT& picture, const RECT& visible,
                                      const Player& first, const Player& second,
                                      const MetafileDocument& document, const RecordFilter* filter,
                                      int32_t current, int32_t place) {
    return PlayTwiceAndMark(surface, picture, visible, current, true,
                            [&](HDC before, HDC after, const RECT& moved) {
                                PlayUpTo(first, before, moved, document, filter, current, place);
                                PlayUpTo(second, after, moved, document, filter, current, place);
                            })
        .value_or(0);
}
