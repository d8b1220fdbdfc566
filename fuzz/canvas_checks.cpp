// Fuzz checks of the canvas arithmetic: a sequence of the canvas's events on random sizes,
// frames and pointer positions, checking after each event what it promises.
#include <climits>

#include "canvas/canvas_view.h"
#include "fuzz/fuzz_checks.h"

namespace {

// Takes values from the front of the input; an exhausted input gives zeros.
class ByteSource {
  public:
    ByteSource(const uint8_t* data, size_t size) : data_(data), size_(size) {}

    bool empty() const { return size_ == 0; }
    uint32_t Byte() {
        if (size_ == 0) {
            return 0;
        }
        --size_;
        return *data_++;
    }
    uint32_t U16() { return Byte() | Byte() << 8; }
    uint32_t U32() { return U16() | U16() << 16; }

  private:
    const uint8_t* data_;
    size_t size_;
};

// A client extent as the size message gives it: 0 to 65535, often one of the edge values or
// close to the panel's size.
int32_t ClientExtent(ByteSource& in) {
    switch (in.Byte() % 4) {
        case 0:
            return 0;
        case 1:
            return 65535;
        case 2:
            return static_cast<int32_t>(in.Byte());
        default:
            return static_cast<int32_t>(in.U16());
    }
}

// A frame coordinate from the header: anything a 32-bit field holds.
int32_t FrameCoordinate(ByteSource& in) {
    switch (in.Byte() % 6) {
        case 0:
            return 0;
        case 1:
            return INT_MIN;
        case 2:
            return INT_MAX;
        case 3:
            return -static_cast<int32_t>(in.U16());
        case 4:
            return static_cast<int32_t>(in.U16());
        default:
            return static_cast<int32_t>(in.U32());
    }
}

// A pointer position as the mouse messages give it: a signed 16-bit client coordinate.
int32_t PointerCoordinate(ByteSource& in) {
    switch (in.Byte() % 4) {
        case 0:
            return -32768;
        case 1:
            return 32767;
        case 2:
            return static_cast<int32_t>(in.Byte()) - 128;
        default:
            return static_cast<int16_t>(in.U16());
    }
}

int32_t RecordCount(ByteSource& in) {
    switch (in.Byte() % 6) {
        case 0:
            return 0;
        case 1:
            return INT_MIN;
        case 2:
            return INT_MAX;
        case 3:
            return static_cast<int32_t>(in.Byte());
        default:
            return static_cast<int32_t>(in.U32());
    }
}

int64_t Min(int64_t a, int64_t b) {
    return a < b ? a : b;
}

int64_t Max(int64_t a, int64_t b) {
    return a < b ? b : a;
}

int64_t Abs(int64_t a) {
    return a < 0 ? -a : a;
}

bool WithinLimit(const CanvasRect& r) {
    for (const int64_t v : {r.left, r.top, r.right, r.bottom}) {
        if (v < -kPictureCoordinateLimit || v > kPictureCoordinateLimit) {
            return false;
        }
    }
    return true;
}

bool SameRect(const CanvasRect& a, const CanvasRect& b) {
    return a.left == b.left && a.top == b.top && a.right == b.right && a.bottom == b.bottom;
}

// One axis of a fitted picture: [a, b] inside [0, client] and centred in it.
bool FitsAxis(int64_t a, int64_t b, int64_t client) {
    return Min(a, b) >= 0 && Max(a, b) <= client && Abs(a + b - client) <= 1;
}

const char* CheckFit(const CanvasRect& p, const CanvasRect& frame, int32_t width, int32_t height) {
    if (width == 0 || height == 0) {
        const CanvasRect centre{width / 2, height / 2, width / 2, height / 2};
        return SameRect(p, centre) ? nullptr : "an empty client area fits to its centre";
    }
    if (!FitsAxis(p.left, p.right, width) || !FitsAxis(p.top, p.bottom, height)) {
        return "a fitted picture stays inside the client area, centred";
    }
    const int64_t fw = int64_t{frame.right} - frame.left;
    const int64_t fh = int64_t{frame.bottom} - frame.top;
    const int64_t pw = int64_t{p.right} - p.left;
    const int64_t ph = int64_t{p.bottom} - p.top;
    if (fw == 0 && fh == 0) {
        return pw == 0 && ph == 0 ? nullptr : "an empty frame fits to an empty picture";
    }
    if (Abs(pw) != width && Abs(ph) != height) {
        return "a fitted picture spans the client's width or height";
    }
    // Each extent is truncated by less than a pixel, so the proportions hold to that.
    if (Abs(pw * fh - ph * fw) > Abs(fw) + Abs(fh)) {
        return "a fitted picture keeps the frame's proportions";
    }
    return nullptr;
}

int64_t ZoomStep(int64_t value, bool zoom_in) {
    return zoom_in ? value * 6 / 5 : value * 5 / 6;
}

const char* CheckZoom(const CanvasRect& before, const CanvasRect& after, int32_t width,
                      int32_t height, bool zoom_in) {
    const int64_t cx = width / 2;
    const int64_t cy = height / 2;
    const int64_t left = cx - ZoomStep(cx - before.left, zoom_in);
    const int64_t top = cy - ZoomStep(cy - before.top, zoom_in);
    const int64_t right = left + ZoomStep(int64_t{before.right} - before.left, zoom_in);
    const int64_t bottom = top + ZoomStep(int64_t{before.bottom} - before.top, zoom_in);
    const int64_t limit = kPictureCoordinateLimit;
    const bool inside =
        Abs(left) <= limit && Abs(top) <= limit && Abs(right) <= limit && Abs(bottom) <= limit;
    if (!inside) {
        return SameRect(before, after) ? nullptr : "a zoom beyond the bound changes nothing";
    }
    const bool scaled =
        after.left == left && after.top == top && after.right == right && after.bottom == bottom;
    return scaled ? nullptr : "a zoom scales about the client's centre";
}

// One axis of a pan: the picture moved rigidly by `moved`, which is the pointer's `delta`
// unless the bound stopped it, and then the leading edge rests on the bound.
bool PannedAxis(int64_t a0, int64_t b0, int64_t a1, int64_t b1, int64_t delta) {
    const int64_t moved = a1 - a0;
    if (b1 - b0 != moved) {
        return false;
    }
    if (moved == delta) {
        return true;
    }
    const bool part = delta > 0 ? moved >= 0 && moved < delta : moved <= 0 && moved > delta;
    const int64_t edge = delta > 0 ? Max(a1, b1) : -Min(a1, b1);
    return part && edge == kPictureCoordinateLimit;
}

// The panel's origin along one axis after a drag step: inside the client, or, in a client
// smaller than the panel, between its two resting places.
bool PanelAxisInside(int64_t origin, int64_t client, int64_t panel) {
    const int64_t last = client - 1 - panel;
    return origin >= Min(0, last) && origin <= Max(0, last);
}

// Whether the panel may rest at `origin` along one axis: inside a client at least its size.
bool PanelAxisFree(int64_t origin, int64_t client, int64_t panel) {
    return origin >= 0 && origin <= client - 1 - panel;
}

struct Model {
    CanvasView view;
    int32_t width = 0;
    int32_t height = 0;
    CanvasRect frame{0, 0, 0, 0};
    RecordScrollBar bar{0, -1, -1};
};

const char* Fit(Model& m) {
    FitPicture(m.view, m.frame, m.width, m.height);
    return CheckFit(m.view.picture, m.frame, m.width, m.height);
}

const char* Attach(Model& m, ByteSource& in) {
    const int32_t records = RecordCount(in);
    const int32_t last = LastRecordIndex(records);
    m.frame = CanvasRect{FrameCoordinate(in), FrameCoordinate(in), FrameCoordinate(in),
                         FrameCoordinate(in)};
    m.bar = RecordScrollBar{0, last, last};
    if (last < -1 || (records > 0 && last != records - 1)) {
        return "the last record index follows the record count";
    }
    m.view.fit_mode = 1;
    return Fit(m);
}

const char* Resize(Model& m, ByteSource& in) {
    m.width = ClientExtent(in);
    m.height = ClientExtent(in);
    return m.view.fit_mode == 1 ? Fit(m) : nullptr;
}

const char* Zoom(Model& m, bool zoom_in) {
    const CanvasRect before = m.view.picture;
    ZoomPicture(m.view, m.width, m.height, zoom_in);
    if (m.view.fit_mode != 0) {
        return "a zoom leaves fit mode";
    }
    return CheckZoom(before, m.view.picture, m.width, m.height, zoom_in);
}

// A left press: on the grip bar it starts moving the panel, outside the panel (with fit mode
// off) it starts a pan.
const char* Press(Model& m, ByteSource& in) {
    CanvasView& v = m.view;
    if (v.dragging != 0) {
        return nullptr;
    }
    if (in.Byte() % 2 == 0) {
        const int32_t x = v.panel_origin.x + static_cast<int32_t>(in.Byte() % kPanelWidth);
        const int32_t y = v.panel_origin.y + static_cast<int32_t>(in.Byte() % kGripBarHeight);
        if (HitTestPanel(v, x, y) != kHitGripBar) {
            return "a press on the grip bar hits it";
        }
        v.drag_anchor = CanvasPoint{x, y};
        v.drag_kind = 0;
        v.dragging = 1;
        return nullptr;
    }
    const int32_t x = PointerCoordinate(in);
    const int32_t y = PointerCoordinate(in);
    if (v.fit_mode == 0 && HitTestPanel(v, x, y) == kHitOutsidePanel) {
        v.drag_anchor = CanvasPoint{x, y};
        v.drag_kind = 1;
        v.dragging = 1;
    }
    return nullptr;
}

const char* MovePanelTo(Model& m, int32_t x, int32_t y) {
    CanvasView& v = m.view;
    const CanvasPoint origin = v.panel_origin;
    const int64_t grab_x = int64_t{v.drag_anchor.x} - origin.x;
    const int64_t grab_y = int64_t{v.drag_anchor.y} - origin.y;
    const int64_t free_x = origin.x + (int64_t{x} - v.drag_anchor.x);
    const int64_t free_y = origin.y + (int64_t{y} - v.drag_anchor.y);
    MovePanel(v, m.width, m.height, x, y);
    if (int64_t{v.drag_anchor.x} - v.panel_origin.x != grab_x ||
        int64_t{v.drag_anchor.y} - v.panel_origin.y != grab_y) {
        return "the grabbed point stays under the anchor";
    }
    if (!PanelAxisInside(v.panel_origin.x, m.width, kPanelWidth) ||
        !PanelAxisInside(v.panel_origin.y, m.height, kPanelHeight)) {
        return "a dragged panel stays inside the client area";
    }
    if ((PanelAxisFree(free_x, m.width, kPanelWidth) && v.panel_origin.x != free_x) ||
        (PanelAxisFree(free_y, m.height, kPanelHeight) && v.panel_origin.y != free_y)) {
        return "a dragged panel follows the pointer where it can";
    }
    return nullptr;
}

const char* PanTo(Model& m, int32_t x, int32_t y) {
    CanvasView& v = m.view;
    const CanvasRect before = v.picture;
    const int64_t dx = int64_t{x} - v.drag_anchor.x;
    const int64_t dy = int64_t{y} - v.drag_anchor.y;
    PanPicture(v, x, y);
    const CanvasRect& after = v.picture;
    if (!PannedAxis(before.left, before.right, after.left, after.right, dx) ||
        !PannedAxis(before.top, before.bottom, after.top, after.bottom, dy)) {
        return "a pan moves the picture with the pointer up to the bound";
    }
    if (v.drag_anchor.x != x || v.drag_anchor.y != y) {
        return "a pan takes the pointer as its next anchor";
    }
    return nullptr;
}

const char* Move(Model& m, ByteSource& in) {
    const int32_t x = PointerCoordinate(in);
    const int32_t y = PointerCoordinate(in);
    if (m.view.dragging == 0) {
        return nullptr;
    }
    return m.view.drag_kind == 0 ? MovePanelTo(m, x, y) : PanTo(m, x, y);
}

const char* Scroll(Model& m, ByteSource& in) {
    const RecordScrollBar& bar = m.bar;
    const int code = static_cast<int>(in.Byte() % 10);
    const int32_t track = static_cast<int32_t>(in.U32());
    const int32_t position = ScrollRecordPosition(bar, code, track);
    const int64_t step = RecordPageStep(bar);
    if (step < 1 || step > (int64_t{bar.maximum} - bar.minimum + 1) / 20 + 1) {
        return "the page step is a twentieth of the records, at least 1";
    }
    if (position < Min(bar.minimum, bar.maximum) || position > Max(bar.minimum, bar.maximum)) {
        return "a record scroll stays within the range";
    }
    // From a position inside the range, a line moves one record and a page one page step,
    // stopping at the ends.
    const int64_t moves[] = {-1, 1, -step, step};
    if (code >= kScrollLineLeft && code <= kScrollPageRight && bar.minimum <= bar.position &&
        bar.position <= bar.maximum &&
        position != Max(bar.minimum, Min(bar.maximum, bar.position + moves[code]))) {
        return "a line scroll moves one record and a page scroll one page step";
    }
    if ((code == kScrollThumbPosition || code > kScrollRight) && position != bar.position) {
        return "the thumb's release and unknown codes leave the position";
    }
    m.bar.position = position;
    return nullptr;
}

const char* Step(Model& m, ByteSource& in) {
    switch (in.Byte() % 10) {
        case 0:
            return Attach(m, in);
        case 1:
            m.view.fit_mode = 1;
            return Fit(m);
        case 2:
            return Zoom(m, true);
        case 3:
            return Zoom(m, false);
        case 4:
            return Resize(m, in);
        case 5:
            return Press(m, in);
        case 6:
        case 7:
            return Move(m, in);
        case 8:
            m.view.dragging = 0;
            return nullptr;
        default:
            return Scroll(m, in);
    }
}

}  // namespace

const char* CheckCanvasInput(const uint8_t* data, size_t size) {
    ByteSource in(data, size);
    Model m;
    m.width = ClientExtent(in);
    m.height = ClientExtent(in);
    if (const char* broken = Attach(m, in)) {
        return broken;
    }
    while (!in.empty()) {
        if (const char* broken = Step(m, in)) {
            return broken;
        }
        if (!WithinLimit(m.view.picture)) {
            return "the picture stays within the coordinate bound";
        }
    }
    return nullptr;
}
