// Painting the canvas: the ground, the picture (or GDI's and GDI+'s side by side) played up to
// the current record without the records the filter switched off, and the button panel on top.
#include <cstdint>

#include "canvas/canvas_control_win.h"
#include "canvas/canvas_view.h"
#include "canvas/canvas_window_win.h"
#include "canvas/gdiplus_player_win.h"
#include "canvas/paused_gdiplus_player_win.h"
#include "canvas/paused_player_win.h"
#include "canvas/record_drawing_win.h"
#include "document/metafile_document.h"

namespace {

void FillSolid(HDC surface, const RECT& rect, COLORREF color) {
    SetBkColor(surface, color);
    ExtTextOutW(surface, 0, 0, ETO_OPAQUE, &rect, nullptr, 0, nullptr);
}

// The picture bordered by one pixel of the background at `picture`, played by `player` up to
// the current record (and EMF+ record), or with what the current record drew where that is
// shown (only the part inside `visible` is drawn then). A negative index draws nothing. The
// number of pixels the record drew, or 0 when that is not shown.
int64_t DrawPicture(HDC surface, const CanvasWindow& canvas, const Player& player,
                    const RECT& picture, int32_t index, const MetafileDocument& document,
                    const RECT& visible) {
    const RECT border = {picture.left - 1, picture.top - 1, picture.right + 1, picture.bottom + 1};
    FillSolid(surface, border, g_canvas_view.background_color);
    if (g_canvas_view.show_drawn) {
        return PlayShowingWhatRecordDrew(surface, picture, visible, player, document, canvas.filter,
                                         index, canvas.place);
    }
    PlayUpTo(player, surface, picture, document, canvas.filter, index, canvas.place);
    return 0;
}

// The picture as the renderer chosen draws it: one picture, or GDI's on the left and GDI+'s on
// the right at the same place in each half, the left one showing where they differ when that
// is asked for. The canvas tells its parent what the current record drew, how many pixels
// differ and what GDI+ refused, whichever was worked out.
void DrawPictures(HWND window, HDC surface, CanvasWindow& canvas, int32_t index,
                  const MetafileDocument& document, const RECT& client) {
    if (surface == nullptr || index < 0) {
        return;
    }
    const CanvasRect& p = g_canvas_view.picture;
    const RECT picture = {p.left, p.top, p.right, p.bottom};
    const Renderer renderer = g_canvas_view.renderer;
    // GDI+ is paused between paints where GDI is.
    const Player& plus = canvas.player == &kPausedPlayer ? kPausedGdiPlusPlayer : kGdiPlusPlayer;
    if (renderer != Renderer::kBoth) {
        const Player& player = renderer == Renderer::kGdi ? *canvas.player : plus;
        const int64_t drew = DrawPicture(surface, canvas, player, picture, index, document, client);
        if (g_canvas_view.show_drawn) {
            NotifyRecordDrew(window, index, drew);
        }
        DrawStateOverlay(surface, canvas, document, index);
        NotifyGdiPlusRefusals(window, renderer == Renderer::kGdiPlus);
        return;
    }
    const int32_t half = PictureAreaWidth(g_canvas_view, client.right - client.left);
    const RECT left = {client.left, client.top, client.left + half, client.bottom};
    const RECT right = {client.left + half, client.top, client.right, client.bottom};
    RECT moved = picture;
    OffsetRect(&moved, half, 0);
    int saved = SaveDC(surface);
    IntersectClipRect(surface, right.left, right.top, right.right, right.bottom);
    DrawPicture(surface, canvas, plus, moved, index, document, right);
    RestoreDC(surface, saved);
    NotifyGdiPlusRefusals(window, true);
    saved = SaveDC(surface);
    IntersectClipRect(surface, left.left, left.top, left.right, left.bottom);
    if (g_canvas_view.show_differences) {
        const RECT border = {picture.left - 1, picture.top - 1, picture.right + 1,
                             picture.bottom + 1};
        FillSolid(surface, border, g_canvas_view.background_color);
        NotifyDifferences(window, index,
                          PlayShowingWherePlayersDiffer(
                              surface, picture, left, StillPlayer(*canvas.player),
                              StillPlayer(plus), document, canvas.filter, index, canvas.place));
    } else {
        const int64_t drew =
            DrawPicture(surface, canvas, *canvas.player, picture, index, document, left);
        if (g_canvas_view.show_drawn) {
            NotifyRecordDrew(window, index, drew);
        }
        DrawStateOverlay(surface, canvas, document, index);
    }
    RestoreDC(surface, saved);
    // The line between the two pictures.
    const RECT divider = {left.right - 1, client.top, left.right, client.bottom};
    FillSolid(surface, divider, GetSysColor(COLOR_3DSHADOW));
}

// Draws off-screen and copies the finished image, so that a change of the view repaints
// without flicker; where no off-screen surface can be had, it draws straight onto the window.
void DrawBuffered(HWND window, HDC surface, CanvasWindow& canvas, const RECT& client, int32_t index,
                  const MetafileDocument& document) {
    const int width = client.right - client.left;
    const int height = client.bottom - client.top;
    HDC buffer = CreateCompatibleDC(surface);
    HBITMAP bitmap = buffer != nullptr ? CreateCompatibleBitmap(surface, width, height) : nullptr;
    if (bitmap == nullptr) {
        if (buffer != nullptr) {
            DeleteDC(buffer);
        }
        FillSolid(surface, client, GetSysColor(COLOR_BTNFACE));
        DrawPictures(window, surface, canvas, index, document, client);
        return;
    }
    HGDIOBJ previous = SelectObject(buffer, bitmap);
    FillSolid(buffer, client, GetSysColor(COLOR_BTNFACE));
    DrawPictures(window, buffer, canvas, index, document, client);
    BitBlt(surface, client.left, client.top, width, height, buffer, 0, 0, SRCCOPY);
    SelectObject(buffer, previous);
    DeleteObject(bitmap);
    DeleteDC(buffer);
}

}  // namespace

void PaintCanvas(HWND window) {
    PAINTSTRUCT paint;
    HDC surface = BeginPaint(window, &paint);
    RECT client;
    GetClientRect(window, &client);
    const MetafileDocument* document = LoadedDocument(window);
    CanvasWindow* canvas = CanvasWindowOf(window);
    if (document != nullptr && canvas != nullptr) {
        const int32_t index = GetRecordIndex(window);
        if (canvas->buffered_paint == 1) {
            DrawBuffered(window, surface, *canvas, client, index, *document);
            SetBufferedPaintFlag(window, 0);
        } else {
            FillSolid(surface, client, GetSysColor(COLOR_BTNFACE));
            DrawPictures(window, surface, *canvas, index, *document, client);
        }
    } else {
        FillSolid(surface, client, GetSysColor(COLOR_BTNFACE));
    }
    DrawButtonPanel(surface);
    EndPaint(window, &paint);
}
