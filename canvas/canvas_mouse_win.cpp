// The canvas's mouse: panel buttons act on the press, the grip bar drags the panel, a drag
// elsewhere pans a zoomed picture, a plain right click fits; and the cursor that goes with it.
#include "canvas/canvas_commands.h"
#include "canvas/canvas_control_win.h"
#include "canvas/canvas_view.h"

namespace {

// While a drag lasts the canvas holds the capture and the focus; earlier paints are carried out
// first so that the drag starts from what is on screen.
void BeginDrag(HWND window) {
    SetCapture(window);
    SetFocus(window);
    RedrawWindow(window, nullptr, nullptr, RDW_UPDATENOW | RDW_ALLCHILDREN);
    g_canvas_view.dragging = 1;
}

// The focus goes back to the main window, whose keys step through the records. A capture that
// another window took meanwhile is that window's, and stays.
void EndDrag(HWND window) {
    if (g_canvas_view.dragging == 0) {
        return;
    }
    if (GetCapture() == window) {
        ReleaseCapture();
    }
    SetFocus(GetParent(window));
    g_canvas_view.dragging = 0;
}

void ClientSize(HWND window, int32_t* width, int32_t* height) {
    RECT client;
    GetClientRect(window, &client);
    *width = client.right;
    *height = client.bottom;
}

}  // namespace

// A press on a button posts its command, which the command dispatch drops while the button is
// disabled. Any press gives the keyboard focus to the canvas, which hands the navigation keys
// on to the main window: after a click in the call-text field, a click on the picture brings
// the keys back to the records.
void OnLeftButtonDown(HWND window, int32_t x, int32_t y) {
    SetFocus(window);
    CanvasView& view = g_canvas_view;
    const int hit = HitTestPanel(view, x, y);
    if (CanvasWindow* canvas = CanvasWindowOf(window);
        canvas != nullptr && hit == kHitOutsidePanel) {
        canvas->last_press = InPictureArea(window, POINT{x, y});
    }
    if (hit == kHitGripBar) {
        if (view.dragging == 0) {
            view.drag_anchor = CanvasPoint{x, y};
            view.drag_kind = 0;
            BeginDrag(window);
        }
        return;
    }
    if (hit != kHitOutsidePanel) {
        PostMessageW(window, WM_COMMAND, static_cast<WPARAM>(view.buttons[hit].command), 0);
        return;
    }
    if (view.dragging == 0 && view.fit_mode == 0) {
        view.drag_kind = 1;
        view.drag_anchor = CanvasPoint{x, y};
        BeginDrag(window);
    }
}

// A drag whose capture another window took ends here, and nothing moves.
void OnMouseMove(HWND window, int32_t x, int32_t y) {
    if (GetCapture() != window) {
        EndDrag(window);
    }
    if (g_canvas_view.dragging == 0) {
        return;
    }
    if (g_canvas_view.drag_kind == 0) {
        int32_t width;
        int32_t height;
        ClientSize(window, &width, &height);
        MovePanel(g_canvas_view, width, height, x, y);
        MovePanelTips(window);
        MarkViewChanged(window);
        return;
    }
    PanPicture(g_canvas_view, x, y);
    MarkViewChanged(window);
    NotifyViewChanged(window);
}

void OnLeftButtonUp(HWND window) {
    EndDrag(window);
}

// Only a right click with no other button or key held fits the picture.
void OnRightButtonDown(HWND window, WPARAM key_state) {
    if (g_canvas_view.dragging == 0 && key_state == MK_RBUTTON) {
        SendMessageW(window, WM_COMMAND, kCommandFit, 0);
    }
}

// The wheel's turn is counted in notches of WHEEL_DELTA; what is left of a notch waits for the
// next turn the same way. The zoom acts only while its buttons are enabled, as its commands do.
void OnMouseWheel(HWND window, WPARAM wparam, LPARAM lparam) {
    CanvasWindow* canvas = CanvasWindowOf(window);
    if (canvas == nullptr || LoadedDocument(window) == nullptr) {
        return;
    }
    canvas->wheel_remainder += GET_WHEEL_DELTA_WPARAM(wparam);
    const int notches = canvas->wheel_remainder / WHEEL_DELTA;
    canvas->wheel_remainder -= notches * WHEEL_DELTA;
    const int steps = notches < 0 ? -notches : notches;
    if ((GET_KEYSTATE_WPARAM(wparam) & MK_CONTROL) == 0) {
        for (int step = 0; step < steps; ++step) {
            ScrollRecords(window, notches > 0 ? SB_LINELEFT : SB_LINERIGHT, 0);
        }
        return;
    }
    if (steps == 0 || IsCommandEnabled(g_canvas_view, kCommandZoomIn) == 0) {
        return;
    }
    POINT pointer = {static_cast<int16_t>(LOWORD(lparam)), static_cast<int16_t>(HIWORD(lparam))};
    ScreenToClient(window, &pointer);
    pointer = InPictureArea(window, pointer);
    for (int step = 0; step < steps; ++step) {
        ZoomPictureAt(g_canvas_view, pointer.x, pointer.y, notches > 0);
    }
    MarkViewChanged(window);
    NotifyViewChanged(window);
}

// The hand shows where a drag would pan the picture: outside the panel, out of fit mode.
void ChooseCursor(HWND window) {
    HCURSOR cursor = nullptr;
    if (g_canvas_view.fit_mode == 0) {
        POINT pointer;
        GetCursorPos(&pointer);
        ScreenToClient(window, &pointer);
        if (!PointInCanvasRect(GetPanelRect(g_canvas_view), pointer.x, pointer.y)) {
            cursor = LoadCursorW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(IDC_PANHAND));
        }
    }
    SetCursor(cursor != nullptr ? cursor : LoadCursorW(nullptr, IDC_ARROW));
}
