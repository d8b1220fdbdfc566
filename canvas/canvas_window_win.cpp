// The canvas control: its window class, its window procedure and the commands of its buttons.
#include "canvas/canvas_window_win.h"

#include <commctrl.h>

#include <cstdint>
#include <new>

#include "canvas/canvas_control_win.h"
#include "canvas/canvas_messages.h"
#include "canvas/canvas_view.h"
#include "canvas/gdiplus_player_win.h"
#include "canvas/paused_player_win.h"
#include "document/metafile_document.h"
#include "textview/screen_dpi_win.h"

namespace {

int32_t MouseX(LPARAM lparam) {
    return static_cast<int16_t>(LOWORD(lparam));
}

int32_t MouseY(LPARAM lparam) {
    return static_cast<int16_t>(HIWORD(lparam));
}

// A window that grows keeps the pixels it showed and is asked to paint only the new strip:
// the whole client area is repainted, since the fitted picture changed its scale.
void OnSize(HWND window, LPARAM lparam) {
    if (g_canvas_view.fit_mode != 0) {
        FitToWindow(window, PictureAreaWidth(g_canvas_view, LOWORD(lparam)), HIWORD(lparam));
    }
    InvalidateRect(window, nullptr, FALSE);
    NotifyViewChanged(window);
}

void ZoomWindow(HWND window, bool zoom_in) {
    RECT client;
    GetClientRect(window, &client);
    ZoomPicture(g_canvas_view, PictureAreaWidth(g_canvas_view, client.right - client.left),
                client.bottom - client.top, zoom_in);
    MarkViewChanged(window);
    NotifyViewChanged(window);
}

void FitCommand(HWND window) {
    g_canvas_view.fit_mode = 1;
    FitToWindow(window, 0, 0);
    MarkViewChanged(window);
    NotifyViewChanged(window);
}

// The picture at the size its frame gives on this screen.
void ActualSizeCommand(HWND window) {
    const MetafileDocument* document = LoadedDocument(window);
    CanvasRect frame;
    if (document == nullptr ||
        !ReadPictureFrame(RecordView{document->Header(), document->HeaderSize()}, &frame)) {
        return;
    }
    RECT client;
    GetClientRect(window, &client);
    if (ShowActualSize(g_canvas_view, frame, WindowDpi(window),
                       PictureAreaWidth(g_canvas_view, client.right), client.bottom)) {
        MarkViewChanged(window);
        NotifyViewChanged(window);
    }
}

// The panel is drawn for the DPI of the screen the canvas is on.
void OnDpiChanged(HWND window) {
    g_canvas_view.panel_dpi = WindowDpi(window);
    MovePanelTips(window);
    InvalidateRect(window, nullptr, FALSE);
}

}  // namespace

CanvasWindow* CanvasWindowOf(HWND window) {
    return reinterpret_cast<CanvasWindow*>(GetWindowLongPtrW(window, GWLP_USERDATA));
}

MetafileDocument* AttachedDocument(HWND window) {
    const CanvasWindow* canvas = CanvasWindowOf(window);
    return canvas != nullptr ? canvas->document : nullptr;
}

MetafileDocument* LoadedDocument(HWND window) {
    MetafileDocument* document = AttachedDocument(window);
    return document != nullptr && document->IsLoaded() ? document : nullptr;
}

int BufferedPaintFlag(HWND window) {
    const CanvasWindow* canvas = CanvasWindowOf(window);
    return canvas != nullptr ? canvas->buffered_paint : 0;
}

void SetBufferedPaintFlag(HWND window, int flag) {
    CanvasWindow* canvas = CanvasWindowOf(window);
    if (canvas != nullptr) {
        canvas->buffered_paint = flag;
    }
}

void MarkViewChanged(HWND window) {
    SetBufferedPaintFlag(window, 1);
    InvalidateRect(window, nullptr, FALSE);
}

void NotifyParent(HWND window, int32_t code) {
    NMHDR header = {};
    header.hwndFrom = window;
    header.idFrom = static_cast<UINT_PTR>(GetDlgCtrlID(window));
    header.code = static_cast<UINT>(code);
    SendMessageW(GetParent(window), WM_NOTIFY, header.idFrom, reinterpret_cast<LPARAM>(&header));
}

namespace {

// Sends `code` with a CanvasRecordDrew of `record` and `pixels`.
void NotifyPixels(HWND window, int32_t code, int32_t record, int64_t pixels) {
    CanvasRecordDrew drew = {};
    drew.header.hwndFrom = window;
    drew.header.idFrom = static_cast<UINT_PTR>(GetDlgCtrlID(window));
    drew.header.code = static_cast<UINT>(code);
    drew.record = record;
    drew.pixels = pixels;
    SendMessageW(GetParent(window), WM_NOTIFY, drew.header.idFrom, reinterpret_cast<LPARAM>(&drew));
}

}  // namespace

void NotifyRecordDrew(HWND window, int32_t record, int64_t pixels) {
    CanvasWindow* canvas = CanvasWindowOf(window);
    if (canvas == nullptr || (canvas->drew_record == record && canvas->drew_pixels == pixels)) {
        return;
    }
    canvas->drew_record = record;
    canvas->drew_pixels = pixels;
    NotifyPixels(window, CVN_RECORDDREW, record, pixels);
}

void NotifyDifferences(HWND window, int32_t record, int64_t pixels) {
    CanvasWindow* canvas = CanvasWindowOf(window);
    if (canvas == nullptr ||
        (canvas->differences_record == record && canvas->differences_pixels == pixels)) {
        return;
    }
    canvas->differences_record = record;
    canvas->differences_pixels = pixels;
    NotifyPixels(window, CVN_DIFFERENCES, record, pixels);
}

// The list is told by a digest of its types and counts: it changes seldom, and the parent reads
// the list itself.
void NotifyGdiPlusRefusals(HWND window, bool gdiplus) {
    CanvasWindow* canvas = CanvasWindowOf(window);
    if (canvas == nullptr) {
        return;
    }
    uint64_t digest = 0;
    if (gdiplus) {
        digest = 1;
        for (const RefusedRecords& refused : LastGdiPlusRefusals()) {
            digest = digest * 1000003 + (uint64_t{refused.type} << 32 | refused.count);
        }
    }
    if (digest != canvas->refusals_told) {
        canvas->refusals_told = digest;
        NotifyParent(window, CVN_GDIPLUSREFUSED);
    }
}

POINT InPictureArea(HWND window, POINT at) {
    RECT client;
    GetClientRect(window, &client);
    const int32_t half = PictureAreaWidth(g_canvas_view, client.right);
    if (g_canvas_view.renderer == Renderer::kBoth && at.x >= half) {
        at.x -= half;
    }
    return at;
}

void NotifyViewChanged(HWND window) {
    NotifyParent(window, CVN_VIEWCHANGED);
}

// Width and height 0 stand for the present client area.
void FitToWindow(HWND window, int32_t width, int32_t height) {
    const MetafileDocument* document = AttachedDocument(window);
    if (document == nullptr || document->Header() == nullptr) {
        return;
    }
    if (width == 0 || height == 0) {
        RECT client;
        GetClientRect(window, &client);
        width = PictureAreaWidth(g_canvas_view, client.right);
        height = client.bottom;
    }
    CanvasRect frame;
    if (ReadPictureFrame(RecordView{document->Header(), document->HeaderSize()}, &frame)) {
        FitPicture(g_canvas_view, frame, width, height);
    }
}

// A command whose button is disabled, or that no button has, is dropped; the commands that no
// button has act only with a loaded document. Copy and Save go to the shell, which reports what
// fails.
void ExecuteCanvasCommand(HWND window, int32_t command) {
    if (command == kCommandGoToDrawer) {
        if (const CanvasWindow* canvas = CanvasWindowOf(window); canvas != nullptr) {
            GoToRecordThatDrew(window, canvas->last_press);
        }
        return;
    }
    if (command == kCommandShowDrawn) {
        g_canvas_view.show_drawn = !g_canvas_view.show_drawn;
        if (!g_canvas_view.show_drawn) {
            NotifyRecordDrew(window, -1, 0);
        }
        MarkViewChanged(window);
        return;
    }
    if (command == kCommandRenderGdi || command == kCommandRenderGdiPlus ||
        command == kCommandRenderBoth) {
        SetRenderer(g_canvas_view, command == kCommandRenderGdi       ? Renderer::kGdi
                                   : command == kCommandRenderGdiPlus ? Renderer::kGdiPlus
                                                                      : Renderer::kBoth);
        if (g_canvas_view.renderer != Renderer::kBoth && g_canvas_view.show_differences) {
            g_canvas_view.show_differences = false;
            NotifyDifferences(window, -1, 0);
        }
        if (g_canvas_view.fit_mode != 0) {
            FitToWindow(window, 0, 0);
        }
        MarkViewChanged(window);
        NotifyViewChanged(window);
        return;
    }
    if (command == kCommandShowDifferences) {
        g_canvas_view.show_differences =
            g_canvas_view.renderer == Renderer::kBoth && !g_canvas_view.show_differences;
        if (!g_canvas_view.show_differences) {
            NotifyDifferences(window, -1, 0);
        }
        MarkViewChanged(window);
        return;
    }
    if (command == kCommandShowOverlay) {
        g_canvas_view.show_overlay = !g_canvas_view.show_overlay;
        InvalidateRect(window, nullptr, FALSE);
        return;
    }
    if (command == kCommandActualSize || command == kCommandCopyPicture ||
        command == kCommandSavePicture) {
        if (LoadedDocument(window) == nullptr) {
            return;
        }
        if (command == kCommandActualSize) {
            ActualSizeCommand(window);
        } else {
            SendMessageW(GetParent(window), WM_COMMAND, static_cast<WPARAM>(command), 0);
        }
        return;
    }
    if (IsCommandEnabled(g_canvas_view, command) == 0) {
        return;
    }
    switch (command) {
        case kCommandOpen:
        case kCommandBackground:
            SendMessageW(GetParent(window), WM_COMMAND, static_cast<WPARAM>(command), 0);
            return;
        case kCommandZoomIn:
            ZoomWindow(window, true);
            return;
        case kCommandZoomOut:
            ZoomWindow(window, false);
            return;
        case kCommandFit:
            FitCommand(window);
            return;
        default:
            return;
    }
}

// The buttons follow the document; a repaint is asked for only when one of them changed.
void UpdateButtonStates(HWND window) {
    const int loaded = LoadedDocument(window) != nullptr ? 1 : 0;
    if (UpdateButtonStates(g_canvas_view, loaded) != 0) {
        InvalidateRect(window, nullptr, FALSE);
    }
}

// The canvas's tooltips are common controls.
ATOM RegisterCanvasClass(HINSTANCE instance) {
    INITCOMMONCONTROLSEX controls = {sizeof(controls), ICC_TAB_CLASSES};
    InitCommonControlsEx(&controls);
    WNDCLASSEXW window_class = {};
    window_class.cbSize = sizeof(window_class);
    window_class.style = CS_DBLCLKS;
    window_class.lpfnWndProc = CanvasWndProc;
    window_class.hInstance = instance;
    window_class.hbrBackground = reinterpret_cast<HBRUSH>(static_cast<INT_PTR>(COLOR_BTNFACE + 1));
    window_class.lpszClassName = kCanvasClassName;
    return RegisterClassExW(&window_class);
}

// The window's state is made first of all and freed last; without it the window is left to the
// default procedure.
LRESULT CALLBACK CanvasWndProc(HWND window, UINT message, WPARAM wparam, LPARAM lparam) {
    if (message == WM_NCCREATE) {
        CanvasWindow* canvas = new (std::nothrow) CanvasWindow;
        if (canvas == nullptr) {
            return FALSE;
        }
        SetWindowLongPtrW(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(canvas));
    }
    CanvasWindow* canvas = CanvasWindowOf(window);
    if (canvas == nullptr) {
        return DefWindowProcW(window, message, wparam, lparam);
    }
    switch (message) {
        case WM_CREATE:
            g_canvas_view.panel_dpi = WindowDpi(window);
            CreatePanelTips(window);
            return 0;
        case WM_DPICHANGED_AFTERPARENT:
            OnDpiChanged(window);
            return 0;
        case WM_DESTROY:
            DestroyPanelTips(window);
            return 0;
        case WM_NCDESTROY:
            if (canvas->player == &kPausedPlayer) {
                EndPausedPlayback();
            }
            EndGdiPlusPlayback();
            SetWindowLongPtrW(window, GWLP_USERDATA, 0);
            delete canvas;
            return DefWindowProcW(window, message, wparam, lparam);
        case WM_SIZE:
            OnSize(window, lparam);
            return 0;
        case WM_PAINT:
            PaintCanvas(window);
            return 0;
        case WM_SETCURSOR:
            ChooseCursor(window);
            return 0;
        case WM_COMMAND:
            ExecuteCanvasCommand(window, LOWORD(wparam));
            return 0;
        case WM_HSCROLL:
            ScrollRecords(window, LOWORD(wparam), HIWORD(wparam));
            return 0;
        case WM_MOUSEMOVE:
            OnMouseMove(window, MouseX(lparam), MouseY(lparam));
            return 0;
        case WM_LBUTTONDOWN:
            OnLeftButtonDown(window, MouseX(lparam), MouseY(lparam));
            return 0;
        case WM_LBUTTONDBLCLK:
            if (HitTestPanel(g_canvas_view, MouseX(lparam), MouseY(lparam)) == kHitOutsidePanel) {
                GoToRecordThatDrew(window,
                                   InPictureArea(window, POINT{MouseX(lparam), MouseY(lparam)}));
            } else {
                OnLeftButtonDown(window, MouseX(lparam), MouseY(lparam));
            }
            return 0;
        case WM_LBUTTONUP:
            OnLeftButtonUp(window);
            return 0;
        case WM_RBUTTONDOWN:
            OnRightButtonDown(window, wparam);
            return 0;
        case WM_MOUSEWHEEL:
            OnMouseWheel(window, wparam, lparam);
            return 0;
        case WM_KEYDOWN:
            // The main window's keys step through the records, whichever of them has the focus.
            SendMessageW(GetParent(window), WM_KEYDOWN, wparam, lparam);
            return 0;
        case UWM_IDLEREFRESH:
            UpdateButtonStates(window);
            return 0;
        case CVM_GETINDEX:
            return GetRecordIndex(window);
        case CVM_SETINDEX:
            SetRecordIndex(window, static_cast<int32_t>(wparam));
            return 0;
        case CVM_SETPLACE:
            SetRecordPlace(window, static_cast<int32_t>(wparam), static_cast<int32_t>(lparam));
            return 0;
        case CVM_GETPLACE:
            return canvas->place;
        case CVM_SETPLAYER:
            canvas->player = wparam != 0 ? reinterpret_cast<const Player*>(wparam) : &kGdiPlayer;
            MarkViewChanged(window);
            return 0;
        case CVM_SETSTATETRACKER:
            if (CanvasWindow* canvas = CanvasWindowOf(window); canvas != nullptr) {
                canvas->tracker = reinterpret_cast<StateTracker*>(wparam);
            }
            return 0;
        case CVM_SETDOCUMENT:
            AttachDocument(window, reinterpret_cast<MetafileDocument*>(wparam),
                           reinterpret_cast<const RecordFilter*>(lparam));
            return 0;
        default:
            return DefWindowProcW(window, message, wparam, lparam);
    }
}
