// The platform's enumeration runs on a fiber of its own: the callback switches back to the
// window's fiber after each record played, so the enumeration's handle table and device
// context stay alive between paints, all on the window's thread. The playback draws onto a
// DIB section of the whole surface, its own copy of the metafile (the
// document may be reloaded while the playback is paused), and starts again when anything it
// was made for changes: the file, the filter, the picture's place or size, the ground.
#include "canvas/paused_player_win.h"

#include <cstring>
#include <memory>
#include <new>
#include <vector>

#include "canvas/canvas_view.h"
#include "canvas/dib_surface_win.h"
#include "document/metafile_document.h"
#include "document/played_records.h"
#include "document/record_filter.h"

namespace {

// The pictures kept for steps back: at most this many, and at most this many pixels in all.
constexpr size_t kKeptPictures = 16;
constexpr size_t kKeptPixels = size_t(16) << 20;

// What a playback was made for.
struct Key {
    uint32_t serial = 0;
    const RecordFilter* filter = nullptr;
    uint32_t filter_changes = 0;
    RECT picture = {};
    RECT part = {};
    COLORREF background = 0;

    bool operator==(const Key& o) const {
        return serial == o.serial && filter == o.filter && filter_changes == o.filter_changes &&
               EqualRect(&picture, &o.picture) && EqualRect(&part, &o.part) &&
               background == o.background;
    }
};

// A picture after record `record`, which shows every current record after `previous` up to
// `record`.
struct Kept {
    int32_t record;
    int32_t previous;
    std::vector<uint32_t> pixels;
};

class PausedPlayback {
  public:
    ~PausedPlayback() { End(); }

    // False where it cannot play: the caller plays from the start.
    bool Play(HDC surface, const RECT& picture, const MetafileDocument& document,
              const RecordFilter* filter, int32_t current);
    void End();

  private:
    static void CALLBACK FiberMain(void* self);
    static int CALLBACK OnRecord(HDC dc, HANDLETABLE* handles, const ENHMETARECORD* record,
                                 int handle_count, LPARAM self);
    bool Start(HDC surface, const Key& key, const MetafileDocument& document);
    void Abandon();
    void Show(HDC surface, const uint32_t* pixels) const;
    void Keep();

    Key key_;
    std::unique_ptr<DibSurface> drawing_;
    HENHMETAFILE copy_ = nullptr;
    uint32_t copy_serial_ = 0;
    const MetafileDocument* document_ = nullptr;
    RECT destination_ = {};
    void* fiber_ = nullptr;
    void* caller_ = nullptr;
    bool finished_ = true;
    bool abandon_ = false;
    // The next record the enumeration reaches, and the last two it played.
    int32_t reached_ = 0;
    int32_t last_played_ = -1;
    int32_t previous_played_ = -1;
    std::vector<Kept> kept_;
    size_t next_kept_ = 0;
};

PausedPlayback g_playback;

// The part of the surface that can be seen: a window's client area, a memory context's
// bitmap, else its clip box.
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

// The window's thread as a fiber, made one the first time. The header's inline read of the
// thread's block is one GCC cannot see the bounds of.
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Warray-bounds"
void* CallingFiber() {
    return IsThreadAFiber() ? GetCurrentFiber() : ConvertThreadToFiber(nullptr);
}
#pragma GCC diagnostic pop

void CALLBACK PausedPlayback::FiberMain(void* self) {
    PausedPlayback& p = *static_cast<PausedPlayback*>(self);
    EnumEnhMetaFile(p.drawing_->dc(), p.copy_, OnRecord, &p, &p.destination_);
    p.finished_ = true;
    // A fiber must never return: it waits here to be deleted.
    for (;;) {
        SwitchToFiber(p.caller_);
    }
}

int CALLBACK PausedPlayback::OnRecord(HDC dc, HANDLETABLE* handles, const ENHMETARECORD* record,
                                      int handle_count, LPARAM self) {
    PausedPlayback& p = *reinterpret_cast<PausedPlayback*>(self);
    if (p.abandon_) {
        return 0;
    }
    const int32_t index = p.reached_++;
    if (!PlaysRecord(*p.document_, p.key_.filter, index)) {
        return 1;
    }
    if (CurveFits(dc, record)) {
        PlayEnhMetaFileRecord(dc, handles, record, static_cast<UINT>(handle_count));
    }
    p.previous_played_ = p.last_played_;
    p.last_played_ = index;
    SwitchToFiber(p.caller_);
    return p.abandon_ ? 0 : 1;
}

// The enumeration is ended through its own callback, so that the platform frees its handle
// table and puts the context back, before the fiber goes.
void PausedPlayback::Abandon() {
    if (fiber_ != nullptr) {
        if (!finished_) {
            abandon_ = true;
            SwitchToFiber(fiber_);
        }
        DeleteFiber(fiber_);
        fiber_ = nullptr;
    }
    finished_ = true;
    abandon_ = false;
}

void PausedPlayback::End() {
    Abandon();
    drawing_.reset();
    kept_.clear();
    if (copy_ != nullptr) {
        DeleteEnhMetaFile(copy_);
        copy_ = nullptr;
    }
    copy_serial_ = 0;
    key_ = Key{};
}

bool PausedPlayback::Start(HDC surface, const Key& key, const MetafileDocument& document) {
    Abandon();
    kept_.clear();
    next_kept_ = 0;
    key_ = Key{};
    if (copy_serial_ != key.serial) {
        if (copy_ != nullptr) {
            DeleteEnhMetaFile(copy_);
        }
        copy_ = CopyEnhMetaFileW(static_cast<HENHMETAFILE>(document.Metafile()), nullptr);
        copy_serial_ = copy_ != nullptr ? key.serial : 0;
    }
    caller_ = CallingFiber();
    const int width = key.part.right - key.part.left, height = key.part.bottom - key.part.top;
    drawing_.reset(new (std::nothrow) DibSurface(width, height, surface));
    if (copy_ == nullptr || caller_ == nullptr || drawing_ == nullptr || !drawing_->ok()) {
        drawing_.reset();
        return false;
    }
    // What the surface holds already (the ground, the picture's background) is drawn over.
    BitBlt(drawing_->dc(), 0, 0, width, height, surface, key.part.left, key.part.top, SRCCOPY);
    destination_ = RECT{key.picture.left - key.part.left, key.picture.top - key.part.top,
                        key.picture.right - key.part.left, key.picture.bottom - key.part.top};
    document_ = &document;
    reached_ = 0;
    last_played_ = previous_played_ = -1;
    finished_ = false;
    fiber_ = CreateFiber(0, FiberMain, this);
    if (fiber_ == nullptr) {
        finished_ = true;
        drawing_.reset();
        return false;
    }
    key_ = key;
    return true;
}

// The pixels are set straight from memory: the drawing's context holds the paused
// enumeration's transform, through which a copy from it would be read.
void PausedPlayback::Show(HDC surface, const uint32_t* pixels) const {
    const RECT& part = key_.part;
    const int width = part.right - part.left, height = part.bottom - part.top;
    BITMAPINFO info = {};
    info.bmiHeader = {sizeof(info.bmiHeader), width, -height, 1, 32, BI_RGB, 0, 0, 0, 0, 0};
    SetDIBitsToDevice(surface, part.left, part.top, DWORD(width), DWORD(height), 0, 0, 0,
                      UINT(height), pixels != nullptr ? pixels : drawing_->Flushed(), &info,
                      DIB_RGB_COLORS);
}

void PausedPlayback::Keep() {
    const size_t room = std::min(kKeptPictures, kKeptPixels / drawing_->count());
    if (room == 0) {
        return;
    }
    for (const Kept& kept : kept_) {
        if (kept.record == last_played_) {
            return;
        }
    }
    try {
        const uint32_t* now = drawing_->Flushed();
        Kept kept{last_played_, previous_played_,
                  std::vector<uint32_t>(now, now + drawing_->count())};
        if (kept_.size() < room) {
            kept_.push_back(std::move(kept));
        } else {
            kept_[next_kept_ % kept_.size()] = std::move(kept);
            ++next_kept_;
        }
    } catch (const std::bad_alloc&) {
        kept_.clear();
    }
}

bool PausedPlayback::Play(HDC surface, const RECT& picture, const MetafileDocument& document,
                          const RecordFilter* filter, int32_t current) {
    if (filter == nullptr || filter->record_count() == 0 || document.Metafile() == nullptr) {
        return false;
    }
    Key key;
    // The whole surface is drawn, since records may draw beyond the picture's rectangle.
    key.part = SurfaceArea(surface);
    if (IsRectEmpty(&key.part)) {
        return true;
    }
    key.serial = document.Serial();
    key.filter = filter;
    key.filter_changes = filter->changes();
    key.picture = picture;
    key.background = g_canvas_view.background_color;
    // The picture up to `current` is the one after the first record played at or after it.
    const auto shows = [current](int32_t record, int32_t previous) {
        return previous < current && (current <= record || record < 0);
    };
    if (key == key_ && drawing_ != nullptr) {
        if (last_played_ >= 0 && shows(last_played_, previous_played_)) {
            Show(surface, nullptr);
            return true;
        }
        for (const Kept& kept : kept_) {
            if (shows(kept.record, kept.previous)) {
                Show(surface, kept.pixels.data());
                return true;
            }
        }
    }
    if (!(key == key_) || drawing_ == nullptr || last_played_ >= current) {
        if (!Start(surface, key, document)) {
            return false;
        }
    }
    // The pictures of the last records before the current one are kept on the way, so that
    // a step back after a jump is a copy too.
    while (!finished_ && last_played_ < current) {
        SwitchToFiber(fiber_);
        if (last_played_ < current && current - last_played_ < int32_t(kKeptPictures)) {
            Keep();
        }
    }
    Show(surface, nullptr);
    Keep();
    return true;
}

void PlayPaused(HDC surface, const RECT& picture, const MetafileDocument& document,
                const RecordFilter* filter, int32_t current) {
    if (!g_playback.Play(surface, picture, document, filter, current)) {
        g_playback.End();
        kGdiPlayer.play(surface, picture, document, filter, current);
    }
}

}  // namespace

const Player kPausedPlayer = {PlayPaused, &kGdiPlayer};

void EndPausedPlayback() {
    g_playback.End();
}
