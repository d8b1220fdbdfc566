// The main window's six children: their creation, the shared font and the layout.
#include "app/child_controls.h"

#include <commctrl.h>

#include "app/filter_list.h"
#include "app/main_window.h"
#include "app/resource.h"
#include "app/views.h"
#include "canvas/canvas_window_win.h"
#include "textview/text_view_win.h"

namespace {

HWND CreateChild(HWND main_window, DWORD ex_style, const wchar_t* window_class, const wchar_t* text,
                 DWORD style, int id) {
    return CreateWindowExW(ex_style, window_class, text, style, 0, 0, 0, 0, main_window,
                           reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)), g_instance, nullptr);
}

void CreateModeSwitcher(HWND main_window) {
    HWND tabs = CreateChild(main_window, 0, WC_TABCONTROLW, L"ModeSwitcher",
                            WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS | TCS_FOCUSNEVER | TCS_BOTTOM,
                            IDC_MODESWITCHER);
    if (tabs == nullptr) {
        return;
    }
    for (unsigned i = 0; i < kViewCount; ++i) {
        TCITEMW item = {};
        item.mask = TCIF_TEXT;
        item.pszText = const_cast<wchar_t*>(kViews[i].title);
        SendMessageW(tabs, TCM_INSERTITEMW, i, reinterpret_cast<LPARAM>(&item));
    }
}

// The record-index field's procedure, before the field's own: Enter and Escape hand the focus
// to the main window, where the navigation keys act. The character each of them makes still
// reaches the field afterwards; the field would answer it with a beep, so it is dropped.
LRESULT CALLBACK RecordIndexFieldProc(HWND field, UINT message, WPARAM wparam, LPARAM lparam,
                                      UINT_PTR, DWORD_PTR) {
    const bool enter_or_escape = wparam == VK_ESCAPE || wparam == VK_RETURN;
    if (message == WM_KEYDOWN && enter_or_escape) {
        SetFocus(GetParent(field));
    }
    if (message == WM_CHAR && enter_or_escape) {
        return 0;
    }
    if (message == WM_NCDESTROY) {
        RemoveWindowSubclass(field, RecordIndexFieldProc, 0);
    }
    return DefSubclassProc(field, message, wparam, lparam);
}

void CreateRecordIndexField(HWND main_window) {
    HWND field =
        CreateChild(main_window, WS_EX_CLIENTEDGE, L"EDIT", L"",
                    WS_CHILD | WS_VISIBLE | WS_BORDER | ES_NUMBER | ES_RIGHT, IDC_RECORDINDEX);
    if (field == nullptr) {
        return;
    }
    SetSharedFont(field);
    SendMessageW(field, EM_SETMARGINS, EC_RIGHTMARGIN, MAKELPARAM(0, 2));
    SetWindowSubclass(field, RecordIndexFieldProc, 0, 0);
}

void CreateCallTextField(HWND main_window) {
    HWND field = CreateChild(main_window, WS_EX_CLIENTEDGE, L"EDIT", L"",
                             WS_CHILD | WS_VISIBLE | ES_READONLY, IDC_CALLTEXT);
    if (field == nullptr) {
        return;
    }
    SetSharedFont(field);
    SendMessageW(field, EM_SETMARGINS, EC_LEFTMARGIN, MAKELPARAM(8, 0));
}

// A moved child repaints itself whole: the pixels it showed at its old place may already be
// covered by the ground of a window that grew, and are not carried along.
void MoveChild(HWND main_window, int id, int x, int y, int width, int height) {
    HWND child = GetDlgItem(main_window, id);
    if (child != nullptr) {
        SetWindowPos(child, nullptr, x, y, width, height,
                     SWP_NOZORDER | SWP_NOACTIVATE | SWP_NOCOPYBITS);
    }
}

int AtLeastOne(int value) {
    return value < 1 ? 1 : value;
}

// The canvas's bottom edge in the main window's client coordinates; where there is no
// canvas, where its bottom edge would be.
int CanvasBottom(HWND main_window, int canvas_height) {
    HWND canvas = GetDlgItem(main_window, IDC_CANVAS);
    RECT outer;
    if (canvas == nullptr || !GetWindowRect(canvas, &outer)) {
        return 12 + canvas_height;
    }
    POINT corners[2] = {{outer.left, outer.top}, {outer.right, outer.bottom}};
    ScreenToClient(main_window, &corners[0]);
    ScreenToClient(main_window, &corners[1]);
    return corners[1].y;
}

}  // namespace

HWND CreateReportControl(HWND main_window) {
    return CreateChild(main_window, WS_EX_CLIENTEDGE, kTextViewClassName, L"",
                       WS_CHILD | WS_VSCROLL | WS_HSCROLL, IDC_REPORT);
}

void CreateChildren(HWND main_window) {
    CreateModeSwitcher(main_window);
    CreateChild(main_window, WS_EX_CLIENTEDGE, kCanvasClassName, L"",
                WS_CHILD | WS_VISIBLE | WS_HSCROLL, IDC_CANVAS);
    CreateRecordIndexField(main_window);
    CreateCallTextField(main_window);
    CreateReportControl(main_window);
    CreateFilterList(main_window, g_instance);
    // The tab control covers the whole client area: it lies below every sibling, which its
    // painting leaves out, so that a repaint of it never covers the views and the fields.
    HWND tabs = GetDlgItem(main_window, IDC_MODESWITCHER);
    if (tabs != nullptr) {
        SetWindowPos(tabs, HWND_BOTTOM, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
    }
    // The file dialog opens as soon as the message loop runs, over the shown window.
    PostMessageW(main_window, WM_COMMAND, IDM_OPEN, 0);
}

void LayOutChildren(HWND main_window, int width, int height) {
    const int scroll_bar = GetSystemMetrics(SM_CYHSCROLL);
    const int canvas_height = AtLeastOne(height - scroll_bar - 48);
    MoveChild(main_window, IDC_REPORT, 12, 12, width - 24, AtLeastOne(height - 45));
    MoveChild(main_window, IDC_MODESWITCHER, 0, 0, width, height);
    MoveChild(main_window, IDC_CANVAS, 12, 12, width - 24, canvas_height);
    const int bottom = CanvasBottom(main_window, canvas_height);
    MoveChild(main_window, IDC_CALLTEXT, 66, bottom, width - 78, scroll_bar + 3);
    MoveChild(main_window, IDC_RECORDINDEX, 12, bottom, 54, scroll_bar + 3);
    MoveChild(main_window, IDC_FILTERLIST, 12, 12, width - 24, AtLeastOne(height - 45));
}

void SetSharedFont(HWND edit) {
    if (g_shared_font == nullptr) {
        LOGFONTW font = {};
        font.lfHeight = 15;
        font.lfWeight = FW_NORMAL;
        font.lfCharSet = ANSI_CHARSET;
        lstrcpyW(font.lfFaceName, L"Courier New");
        g_shared_font = CreateFontIndirectW(&font);
        if (g_shared_font == nullptr) {
            return;
        }
    }
    SendMessageW(edit, WM_SETFONT, reinterpret_cast<WPARAM>(g_shared_font), FALSE);
}
