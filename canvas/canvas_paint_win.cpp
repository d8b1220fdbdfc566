// Painting the canvas: the ground, the picture played up to the current record without the
// records the filter list switched off, and the button panel on top.
#include <cstdint>

#include "app/filter_list.h"
#include "canvas/canvas_control_win.h"
#include "canvas/canvas_view.h"
#include "document/metafile_document.h"

namespace {

void FillSolid(HDC surface, const RECT& rect, COLORREF color) {
    SetBkColor(surface, color);
    ExtTextOutW(surface, 0, 0, ETO_OPAQUE, &rect, nullptr, 0, nullptr);
}

// Called for each record in file order. A record switched off is skipped without the stop
// test, so when the current record itself is off, the next record played ends the playback.
int CALLBACK PlayRecordFiltered(HDC surface, HANDLETABLE* handles, const ENHMETARECORD* record,
                                int handle_count, LPARAM index) {
    const int32_t counter = g_canvas_view.playback_counter;
    if (IsRecordPlayed(static_cast<uint32_t>(counter)) != 0) {
        PlayEnhMetaFileRecord(surface, handles, record, static_cast<UINT>(handle_count));
        if (counter >= index) {
            return 0;
        }
    }
    g_canvas_view.playback_counter = counter + 1;
    return 1;
}

// The whole metafile is played at once only when it is wanted whole: at the last record with
// no record switched off. Otherwise record by record up to `index`. A negative index draws
// nothing.
void DrawPicture(HDC surface, HWND window, COLORREF background, int32_t index,
                 const MetafileDocument& document) {
    if (surface == nullptr || window == nullptr || index < 0) {
        return;
    }
    const CanvasRect& p = g_canvas_view.picture;
    const RECT border = {p.left - 1, p.top - 1, p.right + 1, p.bottom + 1};
    FillSolid(surface, border, background);
    const RECT picture = {p.left, p.top, p.right, p.bottom};
    HENHMETAFILE metafile = static_cast<HENHMETAFILE>(document.Metafile());
    if (ReachesLastRecord(index, document.HeaderRecordCount()) && AnyRecordUnchecked() == 0) {
        PlayEnhMetaFile(surface, metafile, &picture);
        return;
    }
    g_canvas_view.playback_counter = 0;
    EnumEnhMetaFile(surface, metafile, PlayRecordFiltered, reinterpret_cast<void*>(LPARAM{index}),
                    &picture);
}

// Draws off-screen and copies the finished image, so that a change of the view repaints
// without flicker; where no off-screen surface can be had, it draws straight onto the window.
void DrawBuffered(HDC surface, HWND window, const RECT& client, int32_t index,
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
        DrawPicture(surface, window, g_canvas_view.background_color, index, document);
        return;
    }
    HGDIOBJ previous = SelectObject(buffer, bitmap);
    FillSolid(buffer, client, GetSysColor(COLOR_BTNFACE));
    DrawPicture(buffer, window, g_canvas_view.background_color, index, document);
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
    if (document != nullptr) {
        const int32_t index = GetRecordIndex(window);
        if (BufferedPaintFlag(window) == 1) {
            DrawBuffered(surface, window, client, index, *document);
            SetBufferedPaintFlag(window, 0);
        } else {
            FillSolid(surface, client, GetSysColor(COLOR_BTNFACE));
            DrawPicture(surface, window, g_canvas_view.background_color, index, *document);
        }
    } else {
        FillSolid(surface, client, GetSysColor(COLOR_BTNFACE));
    }
    DrawButtonPanel(surface);
    EndPaint(window, &paint);
}
