// The canvas's view state: picture rectangle, fit and zoom, the button panel and the drag.
#include "canvas/canvas_view.h"

CanvasView g_canvas_view;

namespace {

// rclFrame's four fields, from the header record's first byte.
constexpr uint32_t kFrameOffset = 24;
constexpr uint32_t kFrameBytes = 16;

int32_t NotBelow(int64_t value, int32_t low) {
    return value < low ? low : static_cast<int32_t>(value);
}

int32_t NotAbove(int64_t value, int32_t high) {
    return value > high ? high : static_cast<int32_t>(value);
}

bool WithinPictureLimit(int64_t value) {
    return value >= -kPictureCoordinateLimit && value <= kPictureCoordinateLimit;
}

// The extent `length` of one side of the frame drawn at `client` pixels per `binding` frame
// units, truncated toward zero; 0 where the quotient is not a number or beyond the limit.
// Integer arithmetic keeps it exact: the binding side comes out as the whole client extent,
// where floating point loses a pixel for many sizes.
int32_t ScaledExtent(int64_t length, int64_t binding, int64_t client) {
    if (binding == 0) {
        return 0;
    }
    const int64_t extent = length * client / binding;
    return WithinPictureLimit(extent) ? static_cast<int32_t>(extent) : 0;
}

// One zoom step of a length: 6/5 in, 5/6 out, truncated toward zero.
int64_t ZoomStep(int64_t value, bool zoom_in) {
    return zoom_in ? value * 6 / 5 : value * 5 / 6;
}

// How far a pan may move an edge pair [a, b] by `shift` without leaving the limit. A pan
// never pushes the picture back against the pointer, even where it lies beyond the limit.
int64_t LimitShift(int32_t a, int32_t b, int64_t shift) {
    const int64_t low = a < b ? a : b;
    const int64_t high = a < b ? b : a;
    if (shift < 0 && low + shift < -kPictureCoordinateLimit) {
        const int64_t room = -kPictureCoordinateLimit - low;
        return room < 0 ? room : 0;
    }
    if (shift > 0 && high + shift > kPictureCoordinateLimit) {
        const int64_t room = kPictureCoordinateLimit - high;
        return room > 0 ? room : 0;
    }
    return shift;
}

}  // namespace

bool PointInCanvasRect(const CanvasRect& rect, int32_t x, int32_t y) {
    return x >= rect.left && x < rect.right && y >= rect.top && y < rect.bottom;
}

// A DPI outside what any screen has counts as 96, so that the sizes stay small numbers.
PanelSize PanelSizeOf(const CanvasView& view) {
    const int32_t dpi = view.panel_dpi > 0 && view.panel_dpi <= 3840 ? view.panel_dpi : 96;
    const auto scaled = [dpi](int32_t size) { return (size * dpi + 48) / 96; };
    const int32_t button_height = scaled(kButtonHeight);
    const int32_t grip_bar_height = scaled(kGripBarHeight);
    return PanelSize{scaled(kPanelWidth), grip_bar_height, button_height,
                     grip_bar_height + kButtonCount * button_height};
}

CanvasRect GetPanelRect(const CanvasView& view) {
    const CanvasPoint origin = view.panel_origin;
    const PanelSize size = PanelSizeOf(view);
    return CanvasRect{origin.x, origin.y, origin.x + size.width, origin.y + size.height};
}

CanvasRect GripBarRect(const CanvasView& view) {
    const PanelSize size = PanelSizeOf(view);
    return CanvasRect{0, 0, size.width, size.grip_bar_height};
}

CanvasRect ButtonRect(const CanvasView& view, int row) {
    const PanelSize size = PanelSizeOf(view);
    const int32_t top = size.grip_bar_height + size.button_height * row;
    return CanvasRect{0, top, size.width, top + size.button_height};
}

int HitTestPanel(const CanvasView& view, int32_t x, int32_t y) {
    if (!PointInCanvasRect(GetPanelRect(view), x, y)) {
        return kHitOutsidePanel;
    }
    const int32_t u = x - view.panel_origin.x;
    const int32_t v = y - view.panel_origin.y;
    if (PointInCanvasRect(GripBarRect(view), u, v)) {
        return kHitGripBar;
    }
    for (int row = 0; row < kButtonCount; ++row) {
        if (PointInCanvasRect(ButtonRect(view, row), u, v)) {
            return row;
        }
    }
    return kHitOutsidePanel;
}

int32_t IsCommandEnabled(const CanvasView& view, int32_t command) {
    for (const CanvasButton& button : view.buttons) {
        if (button.command == command) {
            return button.enabled;
        }
    }
    return 0;
}

int UpdateButtonStates(CanvasView& view, int loaded) {
    int changed = 0;
    for (CanvasButton& button : view.buttons) {
        const int32_t always =
            button.command == kCommandOpen || button.command == kCommandBackground;
        const int32_t enabled = always || loaded ? 1 : 0;
        if (button.enabled != enabled) {
            button.enabled = enabled;
            changed = 1;
        }
    }
    return changed;
}

void SetRenderer(CanvasView& view, Renderer renderer) {
    struct Choice {
        Renderer renderer;
        const char16_t* label;
        int32_t next;
    };
    static constexpr Choice kChoices[] = {
        {Renderer::kGdi, u"GDI", kCommandRenderGdiPlus},
        {Renderer::kGdiPlus, u"GDI+", kCommandRenderBoth},
        {Renderer::kBoth, u"GDI | GDI+", kCommandRenderGdi},
    };
    view.renderer = renderer;
    CanvasButton& button = view.buttons[kButtonCount - 1];
    for (const Choice& choice : kChoices) {
        if (choice.renderer == renderer) {
            button.label = choice.label;
            button.command = choice.next;
        }
    }
}

int32_t PictureAreaWidth(const CanvasView& view, int32_t client_width) {
    return view.renderer == Renderer::kBoth ? client_width / 2 : client_width;
}

bool ReadPictureFrame(RecordView header, CanvasRect* frame) {
    RecordReader r(header);
    if (!r.Has(kFrameOffset, kFrameBytes)) {
        return false;
    }
    *frame = CanvasRect{r.I32(kFrameOffset), r.I32(kFrameOffset + 4), r.I32(kFrameOffset + 8),
                        r.I32(kFrameOffset + 12)};
    return true;
}

// The scale is the larger of fw / W and fh / H; the two are compared by cross-multiplying,
// which keeps the comparison exact. A client area without width or height draws nothing.
// A damaged header may hold a mirrored frame (right left of left, or bottom above top). The
// binding side is then chosen by the size of the ratios, so that the other side fits the client
// area too, while the scale keeps the sign of the larger ratio (negative only when no side is
// positive), which decides along which axes the picture is drawn mirrored.
void FitPicture(CanvasView& view, const CanvasRect& frame, int32_t width, int32_t height) {
    const int64_t fw = int64_t{frame.right} - frame.left;
    const int64_t fh = int64_t{frame.bottom} - frame.top;
    const int64_t sign = fw > 0 || fh > 0 ? 1 : -1;
    const int64_t size_w = fw < 0 ? -fw : fw;
    const int64_t size_h = fh < 0 ? -fh : fh;
    int32_t pw = 0;
    int32_t ph = 0;
    if (width > 0 && height > 0) {
        if (size_w * height >= size_h * width) {
            pw = ScaledExtent(fw, sign * size_w, width);
            ph = ScaledExtent(fh, sign * size_w, width);
        } else {
            pw = ScaledExtent(fw, sign * size_h, height);
            ph = ScaledExtent(fh, sign * size_h, height);
        }
    }
    const int32_t left = static_cast<int32_t>((int64_t{width} - pw) / 2);
    const int32_t top = static_cast<int32_t>((int64_t{height} - ph) / 2);
    view.picture = CanvasRect{left, top, left + pw, top + ph};
}

void ZoomPicture(CanvasView& view, int32_t width, int32_t height, bool zoom_in) {
    ZoomPictureAt(view, width / 2, height / 2, zoom_in);
}

// The distances from the fixed point to the left and top edges scale with the picture, so the
// point keeps its place up to the truncation of one step.
void ZoomPictureAt(CanvasView& view, int32_t x, int32_t y, bool zoom_in) {
    view.fit_mode = 0;
    const CanvasRect& p = view.picture;
    const int64_t cx = x;
    const int64_t cy = y;
    const int64_t left = cx - ZoomStep(cx - p.left, zoom_in);
    const int64_t top = cy - ZoomStep(cy - p.top, zoom_in);
    const int64_t right = left + ZoomStep(int64_t{p.right} - p.left, zoom_in);
    const int64_t bottom = top + ZoomStep(int64_t{p.bottom} - p.top, zoom_in);
    if (!WithinPictureLimit(left) || !WithinPictureLimit(top) || !WithinPictureLimit(right) ||
        !WithinPictureLimit(bottom)) {
        return;
    }
    view.picture = CanvasRect{static_cast<int32_t>(left), static_cast<int32_t>(top),
                              static_cast<int32_t>(right), static_cast<int32_t>(bottom)};
}

bool ShowActualSize(CanvasView& view, const CanvasRect& frame, int32_t dpi, int32_t width,
                    int32_t height) {
    constexpr int64_t kFrameUnitsPerInch = 2540;
    const int64_t pw = (int64_t{frame.right} - frame.left) * dpi / kFrameUnitsPerInch;
    const int64_t ph = (int64_t{frame.bottom} - frame.top) * dpi / kFrameUnitsPerInch;
    const int64_t left = (int64_t{width} - pw) / 2;
    const int64_t top = (int64_t{height} - ph) / 2;
    if (!WithinPictureLimit(left) || !WithinPictureLimit(top) || !WithinPictureLimit(left + pw) ||
        !WithinPictureLimit(top + ph)) {
        return false;
    }
    view.fit_mode = 0;
    view.picture = CanvasRect{static_cast<int32_t>(left), static_cast<int32_t>(top),
                              static_cast<int32_t>(left + pw), static_cast<int32_t>(top + ph)};
    return true;
}

// The left (top) edge is tested first and the right (bottom) edge only when the first did not
// apply, so in a client area narrower than the panel the panel's origin may come out negative.
void MovePanel(CanvasView& view, int32_t width, int32_t height, int32_t x, int32_t y) {
    const int64_t limit_right = int64_t{width} - 1;
    const int64_t limit_bottom = int64_t{height} - 1;
    const CanvasPoint origin = view.panel_origin;
    const PanelSize size = PanelSizeOf(view);
    int64_t dx = int64_t{x} - view.drag_anchor.x;
    int64_t dy = int64_t{y} - view.drag_anchor.y;
    const int64_t new_x = origin.x + dx;
    const int64_t new_y = origin.y + dy;
    if (new_x < 0) {
        dx = -int64_t{origin.x};
    } else if (new_x + size.width > limit_right) {
        dx += limit_right - new_x - size.width;
    }
    if (new_y < 0) {
        dy = -int64_t{origin.y};
    } else if (new_y + size.height > limit_bottom) {
        dy += limit_bottom - new_y - size.height;
    }
    view.panel_origin.x = static_cast<int32_t>(origin.x + dx);
    view.panel_origin.y = static_cast<int32_t>(origin.y + dy);
    view.drag_anchor.x = static_cast<int32_t>(view.drag_anchor.x + dx);
    view.drag_anchor.y = static_cast<int32_t>(view.drag_anchor.y + dy);
}

void PanPicture(CanvasView& view, int32_t x, int32_t y) {
    CanvasRect& p = view.picture;
    const int64_t dx = LimitShift(p.left, p.right, int64_t{x} - view.drag_anchor.x);
    const int64_t dy = LimitShift(p.top, p.bottom, int64_t{y} - view.drag_anchor.y);
    p = CanvasRect{static_cast<int32_t>(p.left + dx), static_cast<int32_t>(p.top + dy),
                   static_cast<int32_t>(p.right + dx), static_cast<int32_t>(p.bottom + dy)};
    view.drag_anchor = CanvasPoint{x, y};
}

int32_t RecordPageStep(const RecordScrollBar& bar) {
    const int64_t step = (int64_t{bar.maximum} - bar.minimum + 1) / 20;
    return step < 1 ? 1 : static_cast<int32_t>(step);
}

int32_t ScrollRecordPosition(const RecordScrollBar& bar, int code, int32_t track_position) {
    const int64_t position = bar.position;
    const int64_t step = RecordPageStep(bar);
    switch (code) {
        case kScrollLineLeft:
            return NotBelow(position - 1, bar.minimum);
        case kScrollLineRight:
            return NotAbove(position + 1, bar.maximum);
        case kScrollPageLeft:
            return NotBelow(position - step, bar.minimum);
        case kScrollPageRight:
            return NotAbove(position + step, bar.maximum);
        case kScrollThumbTrack:
            return NotBelow(NotAbove(track_position, bar.maximum), bar.minimum);
        case kScrollLeft:
            return bar.minimum;
        case kScrollRight:
            return bar.maximum;
        default:
            return bar.position;
    }
}
