// One playback onto a 32-bit DIB section of the visible part of the picture: the section is
// copied just before the current record plays and compared with what it holds after.
#include "canvas/record_drawing_win.h"

#include <cstring>
#include <new>
#include <vector>

#include "canvas/player_win.h"
#include "document/metafile_document.h"
#include "document/played_records.h"

namespace {

// The colour of a changed pixel, and how much of the rest of the picture shows (of 256), the
// remainder going to white, so that the strong colour stands out on any picture.
constexpr uint32_t kChangedPixel = 0x00FF0080;  // as the section stores it: 0x00RRGGBB
constexpr uint32_t kDimmedShare = 96;

struct Watch {
    const MetafileDocument* document;
    const RecordFilter* filter;
    int32_t current;
    bool whole;
    int32_t reached;
    const uint32_t* pixels;
    std::vector<uint32_t>* before;
    bool played_current;
};

int CALLBACK PlayWatching(HDC surface, HANDLETABLE* handles, const ENHMETARECORD* record,
                          int handle_count, LPARAM data) {
    Watch& watch = *reinterpret_cast<Watch*>(data);
    const PlaybackStep step =
        watch.whole ? PlaybackStep::kPlay
                    : PlaybackStepAt(*watch.document, watch.filter, watch.current, watch.reached);
    if (step != PlaybackStep::kSkip) {
        if (watch.reached == watch.current) {
            GdiFlush();
            std::memcpy(watch.before->data(), watch.pixels,
                        watch.before->size() * sizeof(uint32_t));
            watch.played_current = true;
        }
        if (CurveFits(surface, record)) {
            PlayEnhMetaFileRecord(surface, handles, record, static_cast<UINT>(handle_count));
        }
        if (step == PlaybackStep::kPlayAndStop) {
            return 0;
        }
    }
    ++watch.reached;
    return watch.reached <= watch.current || !watch.whole ? 1 : 0;
}

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
    BITMAPINFO info = {};
    info.bmiHeader.biSize = sizeof(info.bmiHeader);
    info.bmiHeader.biWidth = width;
    info.bmiHeader.biHeight = -height;
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    info.bmiHeader.biCompression = BI_RGB;
    void* bits = nullptr;
    HDC buffer = CreateCompatibleDC(surface);
    HBITMAP section = buffer != nullptr
                          ? CreateDIBSection(buffer, &info, DIB_RGB_COLORS, &bits, nullptr, 0)
                          : nullptr;
    int64_t changed = 0;
    if (section != nullptr && bits != nullptr) {
        HGDIOBJ previous = SelectObject(buffer, section);
        const RECT all = {0, 0, width, height};
        SetBkColor(buffer, background);
        ExtTextOutW(buffer, 0, 0, ETO_OPAQUE, &all, nullptr, 0, nullptr);
        const RECT moved = {picture.left - part.left, picture.top - part.top,
                            picture.right - part.left, picture.bottom - part.top};
        try {
            std::vector<uint32_t> before(size_t(width) * size_t(height));
            uint32_t* pixels = static_cast<uint32_t*>(bits);
            Watch watch{&document, filter, current, PlaysWholeMetafile(document, filter, current),
                        0,         pixels, &before, false};
            EnumEnhMetaFile(buffer, static_cast<HENHMETAFILE>(document.Metafile()), PlayWatching,
                            &watch, &moved);
            GdiFlush();
            if (!watch.played_current) {
                changed = kRecordNotPlayed;
            }
            for (size_t i = 0; i < before.size(); ++i) {
                const bool differs = watch.played_current && ((pixels[i] ^ before[i]) & 0xFFFFFF);
                changed += differs ? 1 : 0;
                pixels[i] = differs ? kChangedPixel : Dimmed(pixels[i]);
            }
            BitBlt(surface, part.left, part.top, width, height, buffer, 0, 0, SRCCOPY);
        } catch (const std::bad_alloc&) {
            changed = 0;
        }
        SelectObject(buffer, previous);
    }
    if (section != nullptr) {
        DeleteObject(section);
    }
    if (buffer != nullptr) {
        DeleteDC(buffer);
    }
    return changed;
}
