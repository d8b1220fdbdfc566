// One playback onto a small 32-bit DIB section placed over the point: the picture's mapping
// is kept by moving the destination rectangle, so every record draws exactly the pixels it
// draws on screen, and only those about the point cost anything.
#include "canvas/point_origin_win.h"

#include <cstring>
#include <vector>

#include "canvas/player_win.h"
#include "document/metafile_document.h"
#include "document/played_records.h"

namespace {

struct Search {
    const MetafileDocument* document;
    const RecordFilter* filter;
    int32_t current;
    // The picture is the whole metafile played at once: every record counts.
    bool whole;
    int32_t reached;
    const uint32_t* pixels;
    std::vector<uint32_t> before;
    int32_t drawn_by;
};

int CALLBACK WatchRecord(HDC surface, HANDLETABLE* handles, const ENHMETARECORD* record,
                         int handle_count, LPARAM data) {
    Search& search = *reinterpret_cast<Search*>(data);
    const PlaybackStep step = search.whole ? PlaybackStep::kPlay
                                           : PlaybackStepAt(*search.document, search.filter,
                                                            search.current, search.reached);
    if (step != PlaybackStep::kSkip) {
        if (CurveFits(surface, record)) {
            PlayEnhMetaFileRecord(surface, handles, record, static_cast<UINT>(handle_count));
        }
        // The section's memory holds what was drawn only once the batch is flushed.
        GdiFlush();
        const size_t bytes = search.before.size() * sizeof(uint32_t);
        if (std::memcmp(search.before.data(), search.pixels, bytes) != 0) {
            std::memcpy(search.before.data(), search.pixels, bytes);
            search.drawn_by = search.reached;
        }
        if (step == PlaybackStep::kPlayAndStop) {
            return 0;
        }
    }
    ++search.reached;
    return 1;
}

}  // namespace

int32_t FindRecordThatDrew(const MetafileDocument& document, const RecordFilter* filter,
                           int32_t current, const RECT& picture, COLORREF background, POINT at,
                           int radius) {
    if (!PtInRect(&picture, at) || current < 0 || radius < 0 || radius > 16) {
        return kDrawnByNone;
    }
    const int side = 2 * radius + 1;
    BITMAPINFO info = {};
    info.bmiHeader.biSize = sizeof(info.bmiHeader);
    info.bmiHeader.biWidth = side;
    info.bmiHeader.biHeight = -side;
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    info.bmiHeader.biCompression = BI_RGB;
    void* bits = nullptr;
    HDC surface = CreateCompatibleDC(nullptr);
    HBITMAP section = surface != nullptr
                          ? CreateDIBSection(surface, &info, DIB_RGB_COLORS, &bits, nullptr, 0)
                          : nullptr;
    int32_t drawn_by = kDrawnByNone;
    if (section != nullptr && bits != nullptr) {
        HGDIOBJ previous = SelectObject(surface, section);
        // The picture's ground, as on screen; the block's first pixel sits at (x0, y0) of the
        // canvas, and the picture keeps its place relative to it.
        const int x0 = at.x - radius, y0 = at.y - radius;
        const RECT block = {0, 0, side, side};
        SetBkColor(surface, background);
        ExtTextOutW(surface, 0, 0, ETO_OPAQUE, &block, nullptr, 0, nullptr);
        const RECT moved = {picture.left - x0, picture.top - y0, picture.right - x0,
                            picture.bottom - y0};
        try {
            Search search{&document,
                          filter,
                          current,
                          PlaysWholeMetafile(document, filter, current),
                          0,
                          static_cast<const uint32_t*>(bits),
                          std::vector<uint32_t>(size_t(side) * size_t(side)),
                          kDrawnByNone};
            GdiFlush();
            std::memcpy(search.before.data(), bits, search.before.size() * sizeof(uint32_t));
            EnumEnhMetaFile(surface, static_cast<HENHMETAFILE>(document.Metafile()), WatchRecord,
                            &search, &moved);
            drawn_by = search.drawn_by;
        } catch (const std::bad_alloc&) {
            drawn_by = kDrawnByNone;
        }
        SelectObject(surface, previous);
    }
    if (section != nullptr) {
        DeleteObject(section);
    }
    if (surface != nullptr) {
        DeleteDC(surface);
    }
    return drawn_by;
}
