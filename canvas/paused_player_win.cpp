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
#include "canvas/paused_support_win.h"
#include "document/metafile_document.h"
#include "document/played_records.h"
#include "document/record_filter.h"

namespace {

// The pictures kept on the way to a record jumped to, for steps back after the jump.
constexpr int32_t kKeptOnTheWay = 16;

using Key = PausedKey;

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
    // The picture after record R, kept for every current record after the one played before R
    // up to R.
    KeptPictures kept_;
};

PausedPlayback g_playback;

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
    kept_.Clear();
    if (copy_ != nullptr) {
        DeleteEnhMetaFile(copy_);
        copy_ = nullptr;
    }
    copy_serial_ = 0;
    key_ = Key{};
}

bool PausedPlayback::Start(HDC surface, const Key& key, const MetafileDocument& document) {
    Abandon();
    kept_.Clear();
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
    ShowPixels(surface, key_.part, pixels != nullptr ? pixels : drawing_->Flushed());
}

void PausedPlayback::Keep() {
    kept_.Keep(uint64_t(previous_played_ + 1), uint64_t(last_played_ + 1), drawing_->Flushed(),
               drawing_->count());
}

bool PausedPlayback::Play(HDC surface, const RECT& picture, const MetafileDocument& document,
                          const RecordFilter* filter, int32_t current) {
    if (filter == nullptr || filter->record_count() == 0 || document.Metafile() == nullptr) {
        return false;
    }
    const Key key = PausedKeyOf(surface, picture, document, filter);
    if (IsRectEmpty(&key.part)) {
        return true;
    }
    // The picture up to `current` is the one after the first record played at or after it.
    const auto shows = [current](int32_t record, int32_t previous) {
        return previous < current && (current <= record || record < 0);
    };
    if (key == key_ && drawing_ != nullptr) {
        if (last_played_ >= 0 && shows(last_played_, previous_played_)) {
            Show(surface, nullptr);
            return true;
        }
        if (const uint32_t* kept = kept_.Find(uint64_t(current)); kept != nullptr) {
            Show(surface, kept);
            return true;
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
        if (last_played_ < current && current - last_played_ < kKeptOnTheWay) {
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
