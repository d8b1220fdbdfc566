#include "canvas/gdiplus_copy_win.h"

#include <windows.h>
// GDI+'s flat API needs the COM types the lean Windows header leaves out.
#include <objidl.h>
#include <wtypes.h>

#include <gdiplus.h>

#include <algorithm>
#include <cmath>
#include <cstring>
#include <limits>
#include <new>

#include "canvas/gdiplus_player_win.h"
#include "document/curve_box.h"
#include "document/playback_copy.h"
#include "emfplus/bezier_snap.h"
#include "emfplus/emfplus_guard.h"
#include "emfplus/emfplus_walk.h"
#include "state/graphics_state.h"
#include "state/state_tracker.h"

namespace gp = Gdiplus::DllExports;

namespace {

// The largest box of a curve in logical units, width plus height, that a GDI record may draw
// whatever the transform: the player's limit on the surface.
constexpr double kLargestLogicalCurve = 1 << 22;
// How far ahead of the last step matched the enumeration's next record is looked for.
constexpr size_t kMatchWindow = 4096;

std::shared_ptr<const GdiPlusCopy> g_kept;

// The steps of `bytes`, a whole metafile: each record, or each EMF+ record of a comment that
// carries them.
std::vector<GdiPlusStep> StepsOf(const std::vector<uint8_t>& bytes) {
    std::vector<GdiPlusStep> steps;
    size_t offset = 0;
    for (int32_t record = 0; offset + 8 <= bytes.size(); ++record) {
        uint32_t type = 0, size = 0;
        std::memcpy(&type, &bytes[offset], 4);
        std::memcpy(&size, &bytes[offset + 4], 4);
        if (size < 8 || size > bytes.size() - offset) {
            break;
        }
        const RecordView view{bytes.data() + offset, size};
        if (ClassifyComment(view) == CommentKind::kEmfPlus) {
            EmfPlusWalker walker(view);
            EmfPlusRecordRef plus;
            for (int32_t place = 0; walker.Next(&plus); ++place) {
                steps.push_back(GdiPlusStep{record, place, plus.type});
            }
        } else {
            steps.push_back(GdiPlusStep{record, -1, type});
        }
        offset += size;
    }
    return steps;
}

// The sizes of the curves the GDI records of `steps` draw, on the reference device: each box
// mapped by the graphics state the playback has before the record.
void MeasureCurves(const MetafileDocument& document, const std::vector<uint8_t>& bytes,
                   std::vector<GdiPlusStep>& steps) {
    StateTracker tracker;
    tracker.Reset(document, nullptr);
    size_t offset = 0;
    int32_t record = 0;
    for (GdiPlusStep& step : steps) {
        for (; record < step.record && offset + 8 <= bytes.size(); ++record) {
            uint32_t size = 0;
            std::memcpy(&size, &bytes[offset + 4], 4);
            offset += size;
        }
        uint32_t size = 0;
        std::memcpy(&size, &bytes[offset + 4], 4);
        CurveBox box;
        if (step.place >= 0 || !CurveBoxOf(RecordView{bytes.data() + offset, size}, &box)) {
            continue;
        }
        const GraphicsState* state = step.record > 0 ? tracker.StateAt(step.record - 1) : nullptr;
        const Transform t = state != nullptr ? LogicalToDevice(state->dc) : Transform{};
        const double w = std::fabs(box.right - box.left), h = std::fabs(box.bottom - box.top);
        const double across = std::fabs(t.m11 * w) + std::fabs(t.m21 * h);
        const double down = std::fabs(t.m12 * w) + std::fabs(t.m22 * h);
        // The platform may refuse a transform the state holds (one that cannot be inverted,
        // say), so a curve whose box is too large in logical units as well, or whose state
        // cannot be had, is taken to be as large as can be.
        const bool unknown = state == nullptr && step.record > 0;
        step.curve = unknown || w + h > kLargestLogicalCurve ? std::numeric_limits<float>::max()
                                                             : static_cast<float>(across + down);
    }
}

// The header's frame (0.01 mm) in the reference device's units.
void MeasureFrame(const MetafileDocument& document, GdiPlusCopy& copy) {
    RecordReader header(RecordView{document.Header(), document.HeaderSize()});
    const double frame_w = double(header.I32(32)) - header.I32(24);
    const double frame_h = double(header.I32(36)) - header.I32(28);
    const double device_w = header.I32(72), device_h = header.I32(76);
    const double mm_w = header.I32(80), mm_h = header.I32(84);
    if (header.ok() && mm_w > 0 && mm_h > 0) {
        copy.frame_width = std::fabs(frame_w / 100 * device_w / mm_w);
        copy.frame_height = std::fabs(frame_h / 100 * device_h / mm_h);
    }
}

std::shared_ptr<const GdiPlusCopy> MakeCopy(const MetafileDocument& document) {
    PlaybackCopy copy;
    if (!StartGdiPlus() || !document.IsLoaded() ||
        BuildPlaybackCopy(document.Store(), &copy) == 0) {
        return nullptr;
    }
    // No EMF+ record that fails the guard reaches GDI+: it is replaced in this copy only.
    GuardEmfPlusRecords(copy.bytes);
    SnapTinyBeziers(copy.bytes);
    auto made = std::make_shared<GdiPlusCopy>();
    made->steps = StepsOf(copy.bytes);
    MeasureCurves(document, copy.bytes, made->steps);
    MeasureFrame(document, *made);
    HENHMETAFILE handle =
        SetEnhMetaFileBits(static_cast<UINT>(copy.bytes.size()), copy.bytes.data());
    Gdiplus::GpMetafile* metafile = nullptr;
    if (handle == nullptr) {
        return nullptr;
    }
    if (gp::GdipCreateMetafileFromEmf(handle, TRUE, &metafile) != Gdiplus::Ok) {
        DeleteEnhMetaFile(handle);
        return nullptr;
    }
    made->metafile = metafile;
    made->document = &document;
    made->serial = document.Serial();
    return made;
}

}  // namespace

GdiPlusCopy::~GdiPlusCopy() {
    if (metafile != nullptr) {
        gp::GdipDisposeImage(static_cast<Gdiplus::GpMetafile*>(metafile));
    }
}

std::shared_ptr<const GdiPlusCopy> GdiPlusCopyOf(const MetafileDocument& document) {
    if (g_kept != nullptr && g_kept->document == &document && g_kept->serial == document.Serial()) {
        return g_kept;
    }
    g_kept.reset();
    try {
        g_kept = MakeCopy(document);
    } catch (const std::bad_alloc&) {
        g_kept.reset();
    }
    return g_kept;
}

std::shared_ptr<const GdiPlusCopy> MakeGdiPlusCopy(const MetafileDocument& document) {
    try {
        return MakeCopy(document);
    } catch (const std::bad_alloc&) {
        return nullptr;
    }
}

double DestinationScale(const GdiPlusCopy& copy, int destination_width, int destination_height) {
    const double across = copy.frame_width > 0 ? std::abs(destination_width) / copy.frame_width : 1;
    const double down =
        copy.frame_height > 0 ? std::abs(destination_height) / copy.frame_height : 1;
    return std::max(across, down);
}

void ForgetGdiPlusCopy() {
    g_kept.reset();
}

void GdiPlusStepMatcher::Match(uint32_t type) {
    const std::vector<GdiPlusStep>& steps = copy_.steps;
    const size_t end = std::min(steps.size(), next_ + kMatchWindow);
    for (size_t i = next_; i < end; ++i) {
        if (steps[i].type == type) {
            record_ = steps[i].record;
            place_ = steps[i].place;
            curve_ = steps[i].curve;
            next_ = i + 1;
            return;
        }
    }
}
