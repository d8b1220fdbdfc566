// GDI+'s enumeration runs on a fiber of its own. Its callback, before each record the playback
// plays, notes where that record stands and switches back to the window's fiber: the drawing
// then holds every record before it, and shows every target from the last record played up to
// that one. The playback has a GDI+ copy of its own (an enumeration keeps its state in the
// metafile, so two may not share one), draws onto a DIB section of the whole surface and starts
// again when anything it was made for changes.
#include "canvas/paused_gdiplus_player_win.h"

#include <windows.h>
// GDI+'s flat API needs the COM types the lean Windows header leaves out.
#include <objidl.h>
#include <wtypes.h>

#include <gdiplus.h>

#include <memory>
#include <new>
#include <optional>

#include "canvas/dib_surface_win.h"
#include "canvas/gdiplus_copy_win.h"
#include "canvas/gdiplus_player_win.h"
#include "canvas/paused_support_win.h"
#include "emfplus/emfplus_steps.h"

namespace gp = Gdiplus::DllExports;

namespace {

// The records (of the document) before a target within which the pictures on the way are kept.
constexpr uint64_t kKeptOnTheWay = uint64_t(16) << 32;
constexpr uint64_t kNoMore = UINT64_MAX;

class PausedGdiPlus {
  public:
    ~PausedGdiPlus() { End(); }
    // False where it cannot play: the caller plays from the start.
    bool Play(HDC surface, const RECT& picture, const MetafileDocument& document,
              const RecordFilter* filter, uint64_t target);
    void End();

  private:
    static void CALLBACK FiberMain(void* self);
    static BOOL CALLBACK OnRecord(Gdiplus::EmfPlusRecordType type, UINT flags, UINT size,
                                  const BYTE* data, void* self);
    bool Start(HDC surface, const PausedKey& key, const MetafileDocument& document);
    void Abandon();
    void Keep() { kept_.Keep(last_, pending_, drawing_->Flushed(), drawing_->count()); }

    PausedKey key_;
    std::unique_ptr<DibSurface> drawing_;
    std::shared_ptr<const GdiPlusCopy> copy_;
    std::optional<GdiPlusStepMatcher> matcher_;
    const MetafileDocument* document_ = nullptr;
    Gdiplus::Rect destination_;
    double scale_ = 1;
    void* fiber_ = nullptr;
    void* caller_ = nullptr;
    bool finished_ = true;
    bool abandon_ = false;
    // The drawing shows every target from last_ (the place of the last record played) up to
    // pending_ (the place of the record the enumeration waits to play), pending_ excluded.
    uint64_t last_ = 0;
    uint64_t pending_ = 0;
    RefusalCounts refused_;
    KeptPictures kept_;
};

PausedGdiPlus g_playback;

void CALLBACK PausedGdiPlus::FiberMain(void* self) {
    PausedGdiPlus& p = *static_cast<PausedGdiPlus*>(self);
    Gdiplus::GpGraphics* graphics = nullptr;
    if (gp::GdipCreateFromHDC(p.drawing_->dc(), &graphics) == Gdiplus::Ok) {
        gp::GdipSetPageUnit(graphics, Gdiplus::UnitPixel);
        gp::GdipEnumerateMetafileDestRectI(graphics,
                                           static_cast<Gdiplus::GpMetafile*>(p.copy_->metafile),
                                           p.destination_, OnRecord, &p, nullptr);
        gp::GdipDeleteGraphics(graphics);
    }
    p.finished_ = true;
    p.pending_ = kNoMore;
    // A fiber must never return: it waits here to be deleted.
    for (;;) {
        SwitchToFiber(p.caller_);
    }
}

BOOL CALLBACK PausedGdiPlus::OnRecord(Gdiplus::EmfPlusRecordType type, UINT flags, UINT size,
                                      const BYTE* data, void* self) {
    PausedGdiPlus& p = *static_cast<PausedGdiPlus*>(self);
    if (p.abandon_) {
        return FALSE;
    }
    p.matcher_->Match(static_cast<uint32_t>(type));
    if (!PlaysInGdiPlus(*p.document_, p.key_.filter, p.matcher_->record())) {
        return TRUE;
    }
    const uint64_t place = StepPosition(p.matcher_->record(), p.matcher_->place());
    p.pending_ = place;
    SwitchToFiber(p.caller_);
    if (p.abandon_) {
        return FALSE;
    }
    PlayGdiPlusRecord(*p.copy_, static_cast<uint32_t>(type), flags, size, data,
                      p.matcher_->curve() * p.scale_, p.refused_);
    p.last_ = place;
    return TRUE;
}

// The enumeration is ended through its own callback, so that GDI+ finishes its playback before
// the fiber goes.
void PausedGdiPlus::Abandon() {
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

void PausedGdiPlus::End() {
    Abandon();
    drawing_.reset();
    matcher_.reset();
    copy_.reset();
    kept_.Clear();
    key_ = PausedKey{};
}

bool PausedGdiPlus::Start(HDC surface, const PausedKey& key, const MetafileDocument& document) {
    Abandon();
    kept_.Clear();
    refused_.clear();
    key_ = PausedKey{};
    if (copy_ == nullptr || copy_->document != &document || copy_->serial != key.serial) {
        matcher_.reset();
        copy_ = MakeGdiPlusCopy(document);
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
    destination_ =
        Gdiplus::Rect(key.picture.left - key.part.left, key.picture.top - key.part.top,
                      key.picture.right - key.picture.left, key.picture.bottom - key.picture.top);
    document_ = &document;
    scale_ = DestinationScale(*copy_, destination_.Width, destination_.Height);
    matcher_.emplace(*copy_);
    last_ = pending_ = 0;
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

bool PausedGdiPlus::Play(HDC surface, const RECT& picture, const MetafileDocument& document,
                         const RecordFilter* filter, uint64_t target) {
    if (!document.IsLoaded()) {
        return false;
    }
    const PausedKey key = PausedKeyOf(surface, picture, document, filter);
    if (IsRectEmpty(&key.part)) {
        return true;
    }
    if (key == key_ && drawing_ != nullptr) {
        if (last_ <= target && target < pending_) {
            ShowPixels(surface, key_.part, drawing_->Flushed());
            PublishGdiPlusRefusals(refused_);
            return true;
        }
        if (const uint32_t* kept = kept_.Find(target); kept != nullptr) {
            ShowPixels(surface, key_.part, kept);
            return true;
        }
    }
    if (!(key == key_) || drawing_ == nullptr || last_ > target) {
        if (!Start(surface, key, document)) {
            return false;
        }
    }
    // The pictures of the last places before the target are kept on the way, so that a step
    // back after a jump is a copy too.
    while (!finished_ && pending_ <= target) {
        SwitchToFiber(fiber_);
        if (pending_ <= target && target - last_ < kKeptOnTheWay) {
            Keep();
        }
    }
    ShowPixels(surface, key_.part, drawing_->Flushed());
    Keep();
    PublishGdiPlusRefusals(refused_);
    return true;
}

void PlayPlace(HDC surface, const RECT& picture, const MetafileDocument& document,
               const RecordFilter* filter, int32_t current, int32_t place) {
    if (current < 0) {
        return;
    }
    if (!g_playback.Play(surface, picture, document, filter, TargetPosition(current, place))) {
        g_playback.End();
        PlayUpTo(kGdiPlusPlayer, surface, picture, document, filter, current, place);
    }
}

void Play(HDC surface, const RECT& picture, const MetafileDocument& document,
          const RecordFilter* filter, int32_t current) {
    PlayPlace(surface, picture, document, filter, current, -1);
}

}  // namespace

const Player kPausedGdiPlusPlayer = {Play, &kGdiPlusPlayer, PlayPlace};

void EndPausedGdiPlusPlayback() {
    g_playback.End();
}
