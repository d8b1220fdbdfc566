// Painting the canvas: the ground, the picture played up to the current record without the
// records the filter switched off, and the button panel on top.
#include <cstdint>

#include "canvas/canvas_control_win.h"
#include "canvas/canvas_view.h"
#include "canvas/canvas_window_win.h"
#include "canvas/record_drawing_win.h"
#include "document/metafile_document.h"

namespace {

void FillSolid(HDC surface, const RECT& rect, COLORREF color) {
    SetBkColor(surface, color);
    ExtTextOutW(surface, 0, 0, ETO_OPAQUE, &rect, nullptr, 0, nullptr);
}

// The picture bordered by one pixel of the background, played by the window's player, or with
// what the current record drew where that is shown (only the part inside `client` is drawn
// then). A negative index draws nothing.
void DrawPicture(HWND window, HDC surface, const CanvasWindow& canvas, COLORREF background,
                 int32_t index, const MetafileDocument& document, const RECT& client) {
    if (surface == nullptr || index < 0) {
        return;
    }
    const CanvasRect& p = g_canvas_view.picture;
    const RECT border = {p.left - 1, p.top - 1, p.right + 1, p.bottom + 1};
    FillSolid(surface, border, background);
    const RECT picture = {p.left, p.top, p.right, p.bottom};
    if (g_canvas_view.show_drawn) {
        const int64_t pixels = PlayShowingWhatRecordDrew(surface, picture, client, *canvas.player,
                                                         document, canvas.filter, index);
        NotifyRecordDrew(window, index, pixels);
    } else {
        canvas.player->play(surface, picture, document, canvas.filter, index);
    }
    DrawStateOverlay(surface, canvas, document, index);
}

// Draws off-screen and copies the finished image, so that a change of the view repaints
// without flicker; where no off-screen surface can be had, it draws straight onto the window.
void DrawBuffered(HWND window, HDC surface, const CanvasWindow& canvas, const RECT& client,
                  int32_t index, const MetafileDocument& document) {
    const int width = client.right - client.left;
    const int height = client.bottom - client.top;
    HDC buffer = CreateCompatibleDC(surface);
    HBITMAP bitmap = buffer != nullptr ? CreateCompatibleBitmap(surface, width, height) : nullptr;
    if (bitmap == nullptr) {
        if (buffer != nullptr) {
            DeleteDC(buffer);
        }
        FillSolid(surface, client, GetSysColor(COLOR_BTNFACE));
        DrawPicture(window, surface, canvas, g_canvas_view.background_color, index, document,
                    client);
        return;
    }
    HGDIOBJ previous = SelectObject(buffer, bitmap);
    FillSolid(buffer, client, GetSysColor(COLOR_BTNFACE));
    DrawPicture(window, buffer, canvas, g_canvas_view.background_color, index, document, client);
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
    const CanvasWindow* canvas = CanvasWindowOf(window);
    if (document != nullptr && canvas != nullptr) {
        const int32_t index = GetRecordIndex(window);
        if (canvas->buffered_paint == 1) {
            DrawBuffered(window, surface, *canvas, client, index, *document);
            SetBufferedPaintFlag(window, 0);
        } else {
            FillSolid(surface, client, GetSysColor(COLOR_BTNFACE));
            DrawPicture(window, surface, *canvas, g_canvas_view.background_color, index, *document,
                        client);
        }
    } else {
        FillSolid(surface, client, GetSysColor(COLOR_BTNFACE));
    }
    DrawButtonPanel(surface);
    EndPaint(window, &paint);
}
