// One playback onto a 32-bit DIB section of the visible part of the picture: the section is
// copied just before the current record plays and compared with what it holds after.
#include "canvas/record_drawing_win.h"

#include <cstring>
#include <new>
#include <vector>

#include "canvas/dib_surface_win.h"
#include "canvas/player_win.h"
#include "document/metafile_document.h"
#include "document/played_records.h"

namespace {

// The colour of a changed pixel, and how much of the rest of the picture shows (of 256), the
// remainder going to white, so that the strong colour stands out on any picture.
constexpr uint32_t kChangedPixel = 0x00FF0080;  // as the section stores it: 0x00RRGGBB
constexpr uint32_t kDimmedShare = 96;

// Keeps the picture as it was just before the current record.
class CurrentWatch : public PlaybackWatch {
  public:
    CurrentWatch(const DibSurface& surface, int32_t current)
        : surface_(surface), current_(current), before_(surface.count()) {}

    void Before(int32_t index) override {
        if (index == current_) {
            std::memcpy(before_.data(), surface_.Flushed(), before_.size() * sizeof(uint32_t));
            played_current_ = true;
        }
    }
    void After(int32_t) override {}
    bool played_current() const { return played_current_; }
    const std::vector<uint32_t>& before() const { return before_; }

  private:
    const DibSurface& surface_;
    int32_t current_;
    std::vector<uint32_t> before_;
    bool played_current_ = false;
};

uint32_t Dimmed(uint32_t pixel) {
    uint32_t out = 0;
    for (int shift = 0; shift < 24; shift += 8) {
        const uint32_t c = (pixel >> shift) & 0xFF;
        out |= ((c * kDimmedShare + 255 * (256 - kDimmedShare)) >> 8) << shift;
    }
    return out;
}

}  // namespace

int64_t PlayShowingWhatRecordDrew(HDC surface, const RECT& picture, const RECT& visible,
                                  COLORREF background, const MetafileDocument& document,
                                  const RecordFilter* filter, int32_t current) {
    RECT part;
    if (!IntersectRect(&part, &picture, &visible) || current < 0) {
        return 0;
    }
    const int width = part.right - part.left, height = part.bottom - part.top;
    DibSurface buffer(width, height, surface);
    if (!buffer.ok()) {
        return 0;
    }
    buffer.Fill(background);
    const RECT moved = {picture.left - part.left, picture.top - part.top, picture.right - part.left,
                        picture.bottom - part.top};
    int64_t changed = 0;
    try {
        CurrentWatch watch(buffer, current);
        PlayRecordByRecord(buffer.dc(), moved, document, filter, current,
                           PlaysWholeMetafile(document, filter, current), &watch);
        uint32_t* pixels = buffer.pixels();
        GdiFlush();
        if (!watch.played_current()) {
            changed = kRecordNotPlayed;
        }
        const std::vector<uint32_t>& before = watch.before();
        for (size_t i = 0; i < before.size(); ++i) {
            const bool differs =
                watch.played_current() && ((pixels[i] ^ before[i]) & 0xFFFFFF) != 0;
            changed += differs ? 1 : 0;
            pixels[i] = differs ? kChangedPixel : Dimmed(pixels[i]);
        }
        BitBlt(surface, part.left, part.top, width, height, buffer.dc(), 0, 0, SRCCOPY);
    } catch (const std::bad_alloc&) {
        changed = 0;
    }
    return changed;
}
