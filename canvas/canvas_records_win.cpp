// The canvas's record scroll bar: attaching a document, and the current record index it holds.
#include <cstdint>

#include "canvas/canvas_control_win.h"
#include "canvas/canvas_messages.h"
#include "canvas/canvas_view.h"
#include "canvas/canvas_window_win.h"
#include "canvas/point_origin_win.h"
#include "document/metafile_document.h"

namespace {

// The pixels either side of the point that the search compares: the pointer is aimed by eye,
// and a line one pixel wide is easily missed by one.
constexpr int kDrawnByRadius = 1;

void SetScrollPosition(HWND window, int32_t position) {
    SCROLLINFO info = {};
    info.cbSize = sizeof(info);
    info.fMask = SIF_POS;
    info.nPos = position;
    SetScrollInfo(window, SB_HORZ, &info, TRUE);
}

// The thumb position of a tracking message is a 16-bit field, which cannot reach the records
// beyond 65,535. The bar keeps the full 32-bit tracking position; it is taken when its low 16
// bits are the ones the message carries, which holds for every message of a real drag.
int32_t ThumbPosition(const SCROLLINFO& info, int thumb_position) {
    if ((info.nTrackPos & 0xFFFF) == thumb_position) {
        return info.nTrackPos;
    }
    return thumb_position;
}

}  // namespace

// The shell repaints the whole main window right after attaching, so nothing is invalidated
// here; the buttons follow at the next idle refresh.
void AttachDocument(HWND window, MetafileDocument* document, const RecordFilter* filter) {
    CanvasWindow* canvas = CanvasWindowOf(window);
    if (canvas == nullptr) {
        return;
    }
    const int32_t count = document != nullptr ? document->Store().count() : 0;
    const int32_t last = LastRecordIndex(count);
    canvas->document = document;
    canvas->filter = filter;
    // What the current record drew is told afresh for the new document, which is shown whole
    // at its last record.
    canvas->drew_record = INT32_MIN;
    canvas->place = -1;
    SCROLLINFO info = {};
    info.cbSize = sizeof(info);
    info.fMask = SIF_RANGE | SIF_PAGE | SIF_POS | SIF_DISABLENOSCROLL;
    info.nMin = 0;
    info.nMax = last;
    info.nPage = 1;
    info.nPos = last;
    SetScrollInfo(window, SB_HORZ, &info, TRUE);
    g_canvas_view.fit_mode = 1;
    FitToWindow(window, 0, 0);
    EnableWindow(window, TRUE);
}

int32_t GetRecordIndex(HWND window) {
    SCROLLINFO info = {};
    info.cbSize = sizeof(info);
    info.fMask = SIF_POS;
    GetScrollInfo(window, SB_HORZ, &info);
    return info.nPos;
}

// The parent sent the index, so it is not told about it.
void SetRecordIndex(HWND window, int32_t index) {
    SetRecordPlace(window, index, -1);
}

void SetRecordPlace(HWND window, int32_t index, int32_t place) {
    if (CanvasWindow* canvas = CanvasWindowOf(window); canvas != nullptr) {
        canvas->place = place < 0 ? -1 : place;
    }
    SetScrollPosition(window, index);
    MarkViewChanged(window);
}

void ScrollRecords(HWND window, int code, int thumb_position) {
    if (LoadedDocument(window) == nullptr) {
        return;
    }
    SCROLLINFO info = {};
    info.cbSize = sizeof(info);
    info.fMask = SIF_ALL;
    GetScrollInfo(window, SB_HORZ, &info);
    const RecordScrollBar bar{info.nMin, info.nMax, info.nPos};
    const int32_t position = ScrollRecordPosition(bar, code, ThumbPosition(info, thumb_position));
    if (position == bar.position) {
        return;
    }
    if (CanvasWindow* canvas = CanvasWindowOf(window); canvas != nullptr) {
        canvas->place = -1;
    }
    SetScrollPosition(window, position);
    NotifyParent(window, CVN_INDEXCHANGED);
    MarkViewChanged(window);
}

void GoToRecordThatDrew(HWND window, POINT at) {
    const MetafileDocument* document = LoadedDocument(window);
    const CanvasWindow* canvas = CanvasWindowOf(window);
    if (document == nullptr || canvas == nullptr) {
        return;
    }
    const CanvasRect& p = g_canvas_view.picture;
    const RECT picture = {p.left, p.top, p.right, p.bottom};
    // One playback of the records up to the current one: long only for files of many records.
    HCURSOR previous = SetCursor(LoadCursorW(nullptr, IDC_WAIT));
    const int32_t record =
        FindRecordThatDrew(*document, canvas->filter, GetRecordIndex(window), picture,
                           g_canvas_view.background_color, at, kDrawnByRadius);
    SetCursor(previous);
    if (record != kDrawnByNone && record != GetRecordIndex(window)) {
        SetRecordIndex(window, record);
        NotifyParent(window, CVN_INDEXCHANGED);
    }
    CanvasDrawnBy drawn_by = {};
    drawn_by.header.hwndFrom = window;
    drawn_by.header.idFrom = static_cast<UINT_PTR>(GetDlgCtrlID(window));
    drawn_by.header.code = static_cast<UINT>(CVN_DRAWNBY);
    drawn_by.record = record;
    SendMessageW(GetParent(window), WM_NOTIFY, drawn_by.header.idFrom,
                 reinterpret_cast<LPARAM>(&drawn_by));
}
