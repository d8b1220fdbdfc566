// The button panel's tooltips: one tool per button, whose rectangle follows the panel.
#include <windows.h>

#include <commctrl.h>

#include "canvas/canvas_control_win.h"
#include "canvas/canvas_view.h"

namespace {

TTTOOLINFOW ToolOfRow(HWND window, int row) {
    TTTOOLINFOW tool = {};
    tool.cbSize = TTTOOLINFOW_V2_SIZE;
    tool.hwnd = window;
    tool.uId = static_cast<UINT_PTR>(row);
    const CanvasRect button = ButtonRect(g_canvas_view, row);
    const CanvasPoint origin = g_canvas_view.panel_origin;
    tool.rect = RECT{origin.x + button.left, origin.y + button.top, origin.x + button.right,
                     origin.y + button.bottom};
    return tool;
}

}  // namespace

// The tooltip relays the canvas's mouse messages to itself (TTF_SUBCLASS). It is a pop-up
// owned by the main window, so the canvas destroys it itself.
void CreatePanelTips(HWND window) {
    CanvasWindow* canvas = CanvasWindowOf(window);
    if (canvas == nullptr) {
        return;
    }
    canvas->tips = CreateWindowExW(WS_EX_TOPMOST, TOOLTIPS_CLASSW, nullptr,
                                   WS_POPUP | TTS_ALWAYSTIP | TTS_NOPREFIX, CW_USEDEFAULT,
                                   CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, window, nullptr,
                                   GetModuleHandleW(nullptr), nullptr);
    if (canvas->tips == nullptr) {
        return;
    }
    for (int row = 0; row < kButtonCount; ++row) {
        TTTOOLINFOW tool = ToolOfRow(window, row);
        tool.uFlags = TTF_SUBCLASS;
        tool.lpszText =
            const_cast<wchar_t*>(reinterpret_cast<const wchar_t*>(g_canvas_view.buttons[row].tip));
        SendMessageW(canvas->tips, TTM_ADDTOOLW, 0, reinterpret_cast<LPARAM>(&tool));
    }
}

void MovePanelTips(HWND window) {
    const CanvasWindow* canvas = CanvasWindowOf(window);
    if (canvas == nullptr || canvas->tips == nullptr) {
        return;
    }
    for (int row = 0; row < kButtonCount; ++row) {
        TTTOOLINFOW tool = ToolOfRow(window, row);
        SendMessageW(canvas->tips, TTM_NEWTOOLRECTW, 0, reinterpret_cast<LPARAM>(&tool));
    }
}

void DestroyPanelTips(HWND window) {
    CanvasWindow* canvas = CanvasWindowOf(window);
    if (canvas != nullptr && canvas->tips != nullptr) {
        DestroyWindow(canvas->tips);
        canvas->tips = nullptr;
    }
}
