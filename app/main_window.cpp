// The main window: its class, its window procedure and its shutdown.
#include "app/main_window.h"

#include <commctrl.h>
#include <shellapi.h>
#include <windowsx.h>

#include "app/about_box.h"
#include "app/child_controls.h"
#include "app/commands.h"
#include "app/file_sources.h"
#include "app/filter_list.h"
#include "app/keyboard.h"
#include "app/navigation.h"
#include "app/pane_splitter.h"
#include "app/resource.h"
#include "app/status_bar.h"
#include "canvas/canvas_window_win.h"
#include "document/gdi_reader_win.h"
#include "textview/text_view_win.h"

wchar_t g_app_title[100] = L"";
wchar_t g_window_class_name[100] = L"";
HINSTANCE g_instance = nullptr;
HFONT g_shared_font = nullptr;

#ifndef WM_DPICHANGED
#define WM_DPICHANGED 0x02E0
#endif

namespace {

ATOM RegisterMainWindowClass(HINSTANCE instance) {
    WNDCLASSEXW window_class = {};
    window_class.cbSize = sizeof(window_class);
    window_class.lpfnWndProc = MainWndProc;
    window_class.hInstance = instance;
    window_class.hIcon = LoadIconW(instance, MAKEINTRESOURCEW(IDI_ORVELLA));
    window_class.hCursor = LoadCursorW(nullptr, IDC_ARROW);
    window_class.hbrBackground = reinterpret_cast<HBRUSH>(static_cast<INT_PTR>(COLOR_BTNFACE + 1));
    window_class.lpszMenuName = MAKEINTRESOURCEW(IDC_ORVELLA);
    window_class.lpszClassName = g_window_class_name;
    window_class.hIconSm = LoadIconW(instance, MAKEINTRESOURCEW(IDI_SMALL));
    return RegisterClassExW(&window_class);
}

void OnPaint(HWND window) {
    PAINTSTRUCT paint;
    BeginPaint(window, &paint);
    EndPaint(window, &paint);
}

void OnDestroy(HWND) {
    if (g_shared_font != nullptr) {
        DeleteObject(g_shared_font);
        g_shared_font = nullptr;
    }
    PostQuitMessage(0);
}

// 1 when the command was the main window's own.
int OnCommand(HWND window, WPARAM wparam, LPARAM lparam) {
    switch (LOWORD(wparam)) {
        case IDM_OPEN:
            OnOpenCommand(window);
            return 1;
        case IDM_BACKGROUND:
            OnBackgroundColorCommand(window);
            return 1;
        case IDM_ABOUT:
            ShowAboutBox(window);
            return 1;
        case IDM_EXIT:
            DestroyWindow(window);
            return 1;
        case IDC_RECORDINDEX:
            OnIndexFieldCommand(window, reinterpret_cast<HWND>(lparam), HIWORD(wparam));
            return 1;
        case IDM_ZOOMIN:
        case IDM_ZOOMOUT:
        case IDM_FITIMAGE:
        case IDM_ACTUALSIZE:
        case IDM_SHOWOVERLAY:
        case IDM_GOTODRAWER:
        case IDM_SHOWDRAWN:
        case IDM_RENDERGDI:
        case IDM_RENDERGDIPLUS:
        case IDM_RENDERBOTH:
        case IDM_SHOWDIFFERENCES:
            SendDlgItemMessageW(window, IDC_CANVAS, WM_COMMAND, LOWORD(wparam), 0);
            return 1;
        case IDM_COPYPICTURE:
            OnCopyPictureCommand(window);
            return 1;
        case IDM_SAVEPICTURE:
            OnSavePictureCommand(window);
            return 1;
        default:
            return OnViewCommand(window, LOWORD(wparam)) || OnEditCommand(window, LOWORD(wparam));
    }
}

// The wheel goes to the focus window, which is often not the canvas: over the visible canvas
// it acts on the picture wherever the focus is. 1 when it was handed on.
int OnMouseWheel(HWND window, WPARAM wparam, LPARAM lparam) {
    HWND canvas = GetDlgItem(window, IDC_CANVAS);
    const POINT pointer = {static_cast<int16_t>(LOWORD(lparam)),
                           static_cast<int16_t>(HIWORD(lparam))};
    RECT outer;
    if (canvas == nullptr || !IsWindowVisible(canvas) || !GetWindowRect(canvas, &outer) ||
        !PtInRect(&outer, pointer)) {
        return 0;
    }
    SendMessageW(canvas, WM_MOUSEWHEEL, wparam, lparam);
    return 1;
}

// 1 when the menu asked for was the filter list's.
int OnContextMenu(HWND window, WPARAM wparam, LPARAM lparam) {
    HWND list = GetDlgItem(window, IDC_FILTERLIST);
    if (list == nullptr || reinterpret_cast<HWND>(wparam) != list) {
        return 0;
    }
    ShowFilterListMenu(list, lparam);
    return 1;
}

// The window moved to a screen of another DPI: the suggested rectangle, the font and the layout
// for it.
void OnDpiChanged(HWND window, const RECT* suggested) {
    RemakeSharedFont(window);
    if (suggested != nullptr) {
        SetWindowPos(window, nullptr, suggested->left, suggested->top,
                     suggested->right - suggested->left, suggested->bottom - suggested->top,
                     SWP_NOZORDER | SWP_NOACTIVATE);
    }
    LayOutAgain(window);
    UpdateStatusBar(window);
}

POINT PointOf(LPARAM lparam) {
    return {GET_X_LPARAM(lparam), GET_Y_LPARAM(lparam)};
}

}  // namespace

void PrepareMainWindow(HINSTANCE instance) {
    UseWindowsDocumentPlatform();
    LoadStringW(instance, IDS_APP_TITLE, g_app_title, 100);
    LoadStringW(instance, IDC_ORVELLA, g_window_class_name, 100);
    // The tab control, the list view and the status bar are common controls: their classes must
    // exist before the main window creates its children.
    INITCOMMONCONTROLSEX controls = {sizeof(controls),
                                     ICC_TAB_CLASSES | ICC_LISTVIEW_CLASSES | ICC_BAR_CLASSES};
    InitCommonControlsEx(&controls);
    RegisterMainWindowClass(instance);
    RegisterCanvasClass(instance);
    RegisterTextViewClass(instance);
}

HWND CreateMainWindow(HINSTANCE instance) {
    g_instance = instance;
    return CreateWindowExW(0, g_window_class_name, g_app_title, WS_OVERLAPPEDWINDOW, CW_USEDEFAULT,
                           0, CW_USEDEFAULT, 0, nullptr, nullptr, instance, nullptr);
}

LRESULT CALLBACK MainWndProc(HWND window, UINT message, WPARAM wparam, LPARAM lparam) {
    switch (message) {
        case WM_CREATE:
            CreateChildren(window);
            return 0;
        case WM_DESTROY:
            OnDestroy(window);
            return 0;
        case WM_SIZE:
            LayOutChildren(window, LOWORD(lparam), HIWORD(lparam));
            UpdateStatusBar(window);
            return 0;
        case WM_DPICHANGED:
            OnDpiChanged(window, reinterpret_cast<const RECT*>(lparam));
            return 0;
        case UWM_STARTUP:
            OnStartUp(window, reinterpret_cast<const wchar_t*>(lparam));
            return 0;
        case WM_DROPFILES:
            OnDropFiles(window, reinterpret_cast<HDROP>(wparam));
            return 0;
        case WM_INITMENUPOPUP:
            GreyIdleMenuItems(window, reinterpret_cast<HMENU>(wparam));
            return 0;
        case WM_SETCURSOR:
            if (reinterpret_cast<HWND>(wparam) == window && LOWORD(lparam) == HTCLIENT &&
                OnSplitterSetCursor(window)) {
                return TRUE;
            }
            break;
        case WM_LBUTTONDOWN:
            OnSplitterButtonDown(window, PointOf(lparam));
            return 0;
        case WM_MOUSEMOVE:
            OnSplitterMouseMove(window, PointOf(lparam));
            return 0;
        case WM_LBUTTONUP:
            OnSplitterButtonUp(window);
            return 0;
        case WM_CAPTURECHANGED:
            OnSplitterCaptureLost();
            return 0;
        case WM_PAINT:
            OnPaint(window);
            return 0;
        case WM_NOTIFY:
            return OnNotify(window, reinterpret_cast<const NMHDR*>(lparam));
        case WM_KEYDOWN:
            OnNavigationKey(window, wparam);
            return 0;
        case WM_MOUSEWHEEL:
            if (OnMouseWheel(window, wparam, lparam)) {
                return 0;
            }
            break;
        case WM_CONTEXTMENU:
            if (OnContextMenu(window, wparam, lparam)) {
                return 0;
            }
            break;
        case WM_COMMAND:
            if (OnCommand(window, wparam, lparam)) {
                return 0;
            }
            break;
        default:
            break;
    }
    return DefWindowProcW(window, message, wparam, lparam);
}
