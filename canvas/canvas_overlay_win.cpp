// Drawing the overlay: the picture outside the clip region dimmed, and the current record's
// bounds as a dashed rectangle that shows on any colour.
#include <cstdint>

#include "canvas/canvas_control_win.h"
#include "canvas/canvas_view.h"
#include "canvas/dib_surface_win.h"
#include "canvas/state_overlay.h"
#include "document/metafile_document.h"
#include "state/state_tracker.h"

namespace {

// How much of the picture shows through where drawing is clipped away, of 255.
constexpr BYTE kDimmedAlpha = 120;

// Darkens the part of `picture` that lies outside every rectangle of `clip`.
void DimOutside(HDC surface, const RECT& picture, const StateOverlay& overlay) {
    HRGN outside = CreateRectRgnIndirect(&picture);
    if (outside == nullptr) {
        return;
    }
    for (const CanvasRect& r : overlay.clip) {
        HRGN hole = CreateRectRgn(r.left, r.top, r.right, r.bottom);
        if (hole != nullptr) {
            CombineRgn(outside, outside, hole, RGN_DIFF);
            DeleteObject(hole);
        }
    }
    // A section starts black.
    const DibSurface black(1, 1, surface);
    if (black.ok()) {
        const int saved = SaveDC(surface);
        ExtSelectClipRgn(surface, outside, RGN_AND);
        const BLENDFUNCTION blend = {AC_SRC_OVER, 0, kDimmedAlpha, 0};
        GdiAlphaBlend(surface, picture.left, picture.top, picture.right - picture.left,
                      picture.bottom - picture.top, black.dc(), 0, 0, 1, 1, blend);
        RestoreDC(surface, saved);
    }
    DeleteObject(outside);
}

// Black dashes on white, so that the rectangle shows on a dark picture as on a light one.
void DrawDashed(HDC surface, const RECT& picture, const CanvasRect& r) {
    HPEN pen = CreatePen(PS_DASH, 1, RGB(0, 0, 0));
    if (pen == nullptr) {
        return;
    }
    const int saved = SaveDC(surface);
    IntersectClipRect(surface, picture.left, picture.top, picture.right, picture.bottom);
    SelectObject(surface, pen);
    SelectObject(surface, GetStockObject(NULL_BRUSH));
    SetBkMode(surface, OPAQUE);
    SetBkColor(surface, RGB(255, 255, 255));
    // A rectangle of no width or height is still shown, as a line or a point.
    Rectangle(surface, r.left, r.top, r.right > r.left + 1 ? r.right : r.left + 2,
              r.bottom > r.top + 1 ? r.bottom : r.top + 2);
    RestoreDC(surface, saved);
    DeleteObject(pen);
}

}  // namespace

void DrawStateOverlay(HDC surface, const CanvasWindow& canvas, const MetafileDocument& document,
                      int32_t index) {
    if (!g_canvas_view.show_overlay || canvas.tracker == nullptr) {
        return;
    }
    CanvasRect frame;
    const GraphicsState* state = canvas.tracker->StateAt(index);
    if (state == nullptr || !ReadPictureFrame(document.RecordAt(0), &frame)) {
        return;
    }
    StateOverlay overlay;
    if (!MakeStateOverlay(*state, document.RecordAt(index), frame, g_canvas_view.picture,
                          &overlay)) {
        return;
    }
    const CanvasRect& p = g_canvas_view.picture;
    const RECT picture = {p.left, p.top, p.right, p.bottom};
    if (!overlay.clip_everywhere) {
        DimOutside(surface, picture, overlay);
    }
    if (overlay.has_bounds) {
        DrawDashed(surface, picture, overlay.bounds);
    }
}
