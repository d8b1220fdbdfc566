// The canvas control: its window class and window procedure.
#include "canvas/canvas_window.h"

// The control itself comes with a later change; until then no canvas class is registered and
// the main window goes without its canvas.
ATOM RegisterCanvasClass(HINSTANCE) {
    return 0;
}

LRESULT CALLBACK CanvasWndProc(HWND window, UINT message, WPARAM wparam, LPARAM lparam) {
    return DefWindowProcW(window, message, wparam, lparam);
}
