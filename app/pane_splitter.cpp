// The border between the canvas and the call pane, which the user drags to give the pane
// another height.
#include "app/pane_splitter.h"

#include "app/child_controls.h"
#include "app/resource.h"
#include "app/view_switch.h"
#include "app/views.h"

namespace {

bool g_dragging = false;
// How far below the pane's top the drag started, so that the border stays under the mouse.
int g_grab_offset = 0;

// The child's rectangle in the main window's client coordinates.
bool ChildRect(HWND main_window, int id, RECT& rect) {
    HWND child = GetDlgItem(main_window, id);
    if (child == nullptr || !IsWindowVisible(child) || !GetWindowRect(child, &rect)) {
        return false;
    }
    MapWindowPoints(nullptr, main_window, reinterpret_cast<POINT*>(&rect), 2);
    return true;
}

// The gap between the canvas's bottom and the call pane's top, across the canvas's width.
bool BorderRect(HWND main_window, RECT& border) {
    RECT canvas, pane;
    if (g_view_mode < 0 || static_cast<unsigned>(g_view_mode) >= kViewCount ||
        kViews[g_view_mode].content != ViewContent::kPicture ||
        !ChildRect(main_window, IDC_CANVAS, canvas) ||
        !ChildRect(main_window, IDC_CALLTEXT, pane)) {
        return false;
    }
    border = {canvas.left, canvas.bottom, canvas.right, pane.top};
    return border.bottom > border.top;
}

bool OnBorder(HWND main_window, POINT at) {
    RECT border;
    return BorderRect(main_window, border) && PtInRect(&border, at);
}

}  // namespace

bool OnSplitterSetCursor(HWND main_window) {
    POINT at;
    if (!GetCursorPos(&at) || !ScreenToClient(main_window, &at)) {
        return false;
    }
    if (!g_dragging && !OnBorder(main_window, at)) {
        return false;
    }
    SetCursor(LoadCursorW(nullptr, IDC_SIZENS));
    return true;
}

bool OnSplitterButtonDown(HWND main_window, POINT at) {
    RECT pane;
    if (!OnBorder(main_window, at) || !ChildRect(main_window, IDC_CALLTEXT, pane)) {
        return false;
    }
    g_dragging = true;
    g_grab_offset = at.y - pane.top;
    SetCapture(main_window);
    return true;
}

bool OnSplitterMouseMove(HWND main_window, POINT at) {
    RECT pane;
    if (!g_dragging || !ChildRect(main_window, IDC_CALLTEXT, pane)) {
        return false;
    }
    // The layout keeps the height between its bounds; 1 asks for the least.
    const int height = pane.bottom - (at.y - g_grab_offset);
    SetCallPaneHeight(main_window, height > 1 ? height : 1);
    return true;
}

bool OnSplitterButtonUp(HWND) {
    if (!g_dragging) {
        return false;
    }
    g_dragging = false;
    ReleaseCapture();
    return true;
}

void OnSplitterCaptureLost() {
    g_dragging = false;
}
