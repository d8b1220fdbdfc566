// One playback onto a small 32-bit DIB section placed over the point: the picture's mapping
// is kept by moving the destination rectangle, so every record draws exactly the pixels it
// draws on screen, and only those about the point cost anything.
#include "canvas/point_origin_win.h"

#include <cstring>
#include <new>
#include <vector>

#include "canvas/dib_surface_win.h"
#include "canvas/player_win.h"
#include "document/metafile_document.h"
#include "document/played_records.h"

namespace {

// Compares the block after each record with what it held before.
class BlockWatch : public PlaybackWatch {
  public:
    explicit BlockWatch(const DibSurface& block)
        : block_(block), before_(block.Flushed(), block.Flushed() + block.count()) {}

    void After(int32_t index) override {
        const uint32_t* now = block_.Flushed();
        if (std::memcmp(before_.data(), now, before_.size() * sizeof(uint32_t)) != 0) {
            std::memcpy(before_.data(), now, before_.size() * sizeof(uint32_t));
            drawn_by_ = index;
        }
    }
    int32_t drawn_by() const { return drawn_by_; }

  private:
    const DibSurface& block_;
    std::vector<uint32_t> before_;
    int32_t drawn_by_ = kDrawnByNone;
};

}  // namespace

int32_t FindRecordThatDrew(const MetafileDocument& document, const RecordFilter* filter,
                           int32_t current, const RECT& picture, COLORREF background, POINT at,
                           int radius) {
    if (!PtInRect(&picture, at) || current < 0 || radius < 0 || radius > 16) {
        return kDrawnByNone;
    }
    const int side = 2 * radius + 1;
    DibSurface block(side, side);
    if (!block.ok()) {
        return kDrawnByNone;
    }
    // The picture's ground, as on screen; the block's first pixel sits at (x0, y0) of the
    // canvas, and the picture keeps its place relative to it.
    block.Fill(background);
    const int x0 = at.x - radius, y0 = at.y - radius;
    const RECT moved = {picture.left - x0, picture.top - y0, picture.right - x0,
                        picture.bottom - y0};
    try {
        BlockWatch watch(block);
        PlayRecordByRecord(block.dc(), moved, document, filter, current,
                           PlaysWholeMetafile(document, filter, current), &watch);
        return watch.drawn_by();
    } catch (const std::bad_alloc&) {
        return kDrawnByNone;
    }
}
