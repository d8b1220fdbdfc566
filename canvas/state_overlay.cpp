// The overlay's arithmetic: which records carry bounds, and the map from the reference
// device into the picture.
#include "canvas/state_overlay.h"

#include <algorithm>
#include <cmath>
#include <new>

#include "document/record_types.h"
#include "state/clip_region.h"
#include "state/state_walk.h"

namespace {

// The types whose record holds rclBounds right after its type and size.
constexpr uint32_t kBoundedTypes[] = {
    kEmrHeader,
    kEmrPolyBezier,
    kEmrPolygon,
    kEmrPolyline,
    kEmrPolyBezierTo,
    kEmrPolylineTo,
    kEmrPolyPolyline,
    kEmrPolyPolygon,
    kEmrPolyDraw,
    kEmrFillPath,
    kEmrStrokeAndFillPath,
    kEmrStrokePath,
    kEmrFillRgn,
    kEmrFrameRgn,
    kEmrInvertRgn,
    kEmrPaintRgn,
    kEmrBitBlt,
    kEmrStretchBlt,
    kEmrMaskBlt,
    kEmrPlgBlt,
    kEmrSetDiBitsToDevice,
    kEmrStretchDiBits,
    kEmrExtTextOutA,
    kEmrExtTextOutW,
    kEmrPolyBezier16,
    kEmrPolygon16,
    kEmrPolyline16,
    kEmrPolyBezierTo16,
    kEmrPolylineTo16,
    kEmrPolyPolyline16,
    kEmrPolyPolygon16,
    kEmrPolyDraw16,
    kEmrPolyTextOutA,
    kEmrPolyTextOutW,
    kEmrAlphaBlend,
    kEmrTransparentBlt,
    kEmrGradientFill,
};

int32_t Clamped(double value) {
    return int32_t(std::clamp(std::lround(value), long(-kPictureCoordinateLimit),
                              long(kPictureCoordinateLimit)));
}

}  // namespace

bool RecordBounds(RecordView record, RectL* bounds) {
    RecordReader r(record);
    const uint32_t type = r.Has(0, 4) ? r.U32(0) : 0;
    if (std::find(std::begin(kBoundedTypes), std::end(kBoundedTypes), type) ==
            std::end(kBoundedTypes) ||
        !r.Has(8, 16)) {
        return false;
    }
    const RectL b{r.I32(8), r.I32(12), r.I32(16), r.I32(20)};
    if (b.right < b.left || b.bottom < b.top) {
        return false;
    }
    *bounds = b;
    return true;
}

CanvasRect DeviceToPicture(const GraphicsState& state, const CanvasRect& frame,
                           const CanvasRect& picture, const RectL& device) {
    // The frame in device units: 0.01 mm times pixels per millimetre.
    const double per_x =
        state.millimeters.cx != 0 ? double(state.device.cx) / (100.0 * state.millimeters.cx) : 1.0;
    const double per_y =
        state.millimeters.cy != 0 ? double(state.device.cy) / (100.0 * state.millimeters.cy) : 1.0;
    const double fl = frame.left * per_x, ft = frame.top * per_y;
    const double fw = (frame.right - frame.left) * per_x, fh = (frame.bottom - frame.top) * per_y;
    const double sx = fw != 0 ? (picture.right - picture.left) / fw : 0;
    const double sy = fh != 0 ? (picture.bottom - picture.top) / fh : 0;
    CanvasRect out{Clamped(picture.left + (device.left - fl) * sx),
                   Clamped(picture.top + (device.top - ft) * sy),
                   Clamped(picture.left + (device.right - fl) * sx),
                   Clamped(picture.top + (device.bottom - ft) * sy)};
    // A mirrored frame maps to a mirrored rectangle; the overlay draws it the right way round.
    if (out.right < out.left) {
        std::swap(out.left, out.right);
    }
    if (out.bottom < out.top) {
        std::swap(out.top, out.bottom);
    }
    return out;
}

bool MakeStateOverlay(const GraphicsState& state, RecordView current, const CanvasRect& frame,
                      const CanvasRect& picture, StateOverlay* overlay) {
    *overlay = StateOverlay{};
    Region clip;
    const RectL surface = DeviceSurface(state);
    if (!EffectiveClip(state.dc, surface, &clip)) {
        return false;
    }
    try {
        if (clip.kind == RegionKind::kRects) {
            overlay->clip_everywhere = false;
            // A region that stands for a rectangle holding it dims only what lies outside
            // that rectangle.
            if (clip.approximated) {
                const RectL b = RegionBounds(clip, surface);
                overlay->clip.push_back(DeviceToPicture(state, frame, picture, b));
            } else if (clip.rects != nullptr) {
                for (const RectL& r : *clip.rects) {
                    overlay->clip.push_back(DeviceToPicture(state, frame, picture, r));
                }
            }
        }
    } catch (const std::bad_alloc&) {
        return false;
    }
    RectL b;
    if (RecordBounds(current, &b)) {
        // Inclusive bounds cover one pixel more than their difference.
        const RectL exclusive{b.left, b.top, b.right + (b.right < INT32_MAX ? 1 : 0),
                              b.bottom + (b.bottom < INT32_MAX ? 1 : 0)};
        overlay->bounds = DeviceToPicture(state, frame, picture, exclusive);
        overlay->has_bounds = true;
    }
    return true;
}
