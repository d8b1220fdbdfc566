#include "canvas/paused_support_win.h"

#include <algorithm>
#include <new>

#include "canvas/canvas_view.h"
#include "document/metafile_document.h"
#include "document/record_filter.h"

namespace {

// The pictures kept for steps back: at most this many, and at most this many pixels in all.
constexpr size_t kKeptPictures = 16;
constexpr size_t kKeptPixels = size_t(16) << 20;

}  // namespace

// The header's inline read of the thread's block is one GCC cannot see the bounds of.
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Warray-bounds"
void* CallingFiber() {
    return IsThreadAFiber() ? GetCurrentFiber() : ConvertThreadToFiber(nullptr);
}
#pragma GCC diagnostic pop

RECT SurfaceArea(HDC surface) {
    RECT area = {0, 0, 0, 0};
    if (HWND window = WindowFromDC(surface); window != nullptr) {
        GetClientRect(window, &area);
        return area;
    }
    BITMAP bitmap = {};
    HGDIOBJ selected = GetCurrentObject(surface, OBJ_BITMAP);
    if (selected != nullptr && GetObjectW(selected, sizeof(bitmap), &bitmap) != 0 &&
        bitmap.bmWidth > 1) {
        return RECT{0, 0, bitmap.bmWidth, bitmap.bmHeight};
    }
    GetClipBox(surface, &area);
    return area;
}

void ShowPixels(HDC surface, const RECT& part, const uint32_t* pixels) {
    const int width = part.right - part.left, height = part.bottom - part.top;
    BITMAPINFO info = {};
    info.bmiHeader = {sizeof(info.bmiHeader), width, -height, 1, 32, BI_RGB, 0, 0, 0, 0, 0};
    SetDIBitsToDevice(surface, part.left, part.top, DWORD(width), DWORD(height), 0, 0, 0,
                      UINT(height), pixels, &info, DIB_RGB_COLORS);
}

PausedKey PausedKeyOf(HDC surface, const RECT& picture, const MetafileDocument& document,
                      const RecordFilter* filter) {
    PausedKey key;
    key.part = SurfaceArea(surface);
    key.serial = document.Serial();
    key.filter = filter;
    key.filter_changes = filter != nullptr ? filter->changes() : 0;
    key.picture = picture;
    key.background = g_canvas_view.background_color;
    return key;
}

const uint32_t* KeptPictures::Find(uint64_t target) const {
    for (const Kept& kept : kept_) {
        if (kept.from <= target && target < kept.to) {
            return kept.pixels.data();
        }
    }
    return nullptr;
}

void KeptPictures::Keep(uint64_t from, uint64_t to, const uint32_t* pixels, size_t count) {
    const size_t room = count > 0 ? std::min(kKeptPictures, kKeptPixels / count) : 0;
    if (room == 0) {
        return;
    }
    for (const Kept& kept : kept_) {
        if (kept.from == from) {
            return;
        }
    }
    try {
        Kept kept{from, to, std::vector<uint32_t>(pixels, pixels + count)};
        if (kept_.size() < room) {
            kept_.push_back(std::move(kept));
        } else {
            kept_[next_ % kept_.size()] = std::move(kept);
            ++next_;
        }
    } catch (const std::bad_alloc&) {
        kept_.clear();
    }
}

void KeptPictures::Clear() {
    kept_.clear();
    next_ = 0;
}
