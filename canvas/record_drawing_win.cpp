// Two playbacks through the canvas's own player, so that with the paused player the picture
// before the current record is the one already shown or kept, and a step with this shown
// costs about what a step costs.
#include "canvas/record_drawing_win.h"

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

}  // namespace

int64_t PlayShowingWhatRecordDrew(HDC surface, const RECT& picture, const RECT& visible,
                                  const Player& player, const MetafileDocument& document,
                                  const RecordFilter* filter, int32_t current) {
    const int width = visible.right - visible.left, height = visible.bottom - visible.top;
    RECT part;
    if (current < 0 || width <= 0 || height <= 0 || !IntersectRect(&part, &picture, &visible)) {
        return 0;
    }
    DibSurface before(width, height, surface), after(width, height, surface);
    if (!before.ok() || !after.ok()) {
        return 0;
    }
    BitBlt(before.dc(), 0, 0, width, height, surface, visible.left, visible.top, SRCCOPY);
    BitBlt(after.dc(), 0, 0, width, height, surface, visible.left, visible.top, SRCCOPY);
    const RECT moved = {picture.left - visible.left, picture.top - visible.top,
                        picture.right - visible.left, picture.bottom - visible.top};
    const bool whole = PlaysWholeMetafile(document, filter, current);
    const bool played = whole || PlaysRecord(document, filter, current);
    const int32_t previous = PlayedBefore(document, filter, current, whole);
    if (played && previous >= 0) {
        player.play(before.dc(), moved, document, filter, previous);
    }
    player.play(after.dc(), moved, document, filter, current);
    const uint32_t* was = before.Flushed();
    uint32_t* now = after.pixels();
    GdiFlush();
    int64_t changed = played ? 0 : kRecordNotPlayed;
    for (int y = part.top - visible.top; y < part.bottom - visible.top; ++y) {
        for (int x = part.left - visible.left; x < part.right - visible.left; ++x) {
            const size_t i = size_t(y) * size_t(width) + size_t(x);
            const bool differs = played && ((now[i] ^ was[i]) & 0xFFFFFF) != 0;
            changed += differs ? 1 : 0;
            now[i] = differs ? kChangedPixel : Dimmed(now[i]);
        }
    }
    BitBlt(surface, visible.left, visible.top, width, height, after.dc(), 0, 0, SRCCOPY);
    return changed;
}
