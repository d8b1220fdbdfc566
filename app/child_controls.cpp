// The main window's six children: their creation, the shared font and the layout.
#include "app/child_controls.h"

#include <commctrl.h>
#include <shellapi.h>

#include "app/app_globals.h"
#include "app/file_sources.h"
#include "app/filter_list.h"
#include "app/main_window.h"
#include "app/navigation.h"
#include "app/resource.h"
#include "app/status_bar.h"
#include "app/views.h"
#include "canvas/canvas_messages.h"
#include "canvas/canvas_window_win.h"
#include "canvas/paused_player_win.h"
#include "textview/screen_dpi_win.h"
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

// The record-index field's procedure, before the field's own: Enter and Escape show the current
// record again and hand the focus to the main window, where the navigation keys act. The character
// each of them makes still reaches the field afterwards; the field would answer it with a beep, so
// it is dropped.
LRESULT CALLBACK RecordIndexFieldProc(HWND field, UINT message, WPARAM wparam, LPARAM lparam,
                                      UINT_PTR, DWORD_PTR) {
    const bool enter_or_escape = wparam == VK_ESCAPE || wparam == VK_RETURN;
    if (message == WM_KEYDOWN && enter_or_escape) {
        ShowIndex(GetParent(field));
        SetFocus(GetParent(field));
    }
    // A number that was refused does not stay in the field once the user leaves it.
    if (message == WM_KILLFOCUS) {
        ShowIndex(GetParent(field));
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

// The call pane: a text view of the current record's call text with its parameter blocks,
// which Tab reaches to copy from or search it.
void CreateCallTextField(HWND main_window) {
    CreateChild(main_window, WS_EX_CLIENTEDGE, kTextViewClassName, L"",
                WS_CHILD | WS_VISIBLE | WS_TABSTOP | WS_VSCROLL | WS_HSCROLL, IDC_CALLTEXT);
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

// The call pane's height the user chose by dragging its border; 0 for the default. Kept for
// the session only.
int g_chosen_pane_height = 0;

// The width of `digits` zeros, the widest digits of most fonts, in the shared font; 0 when
// there is no font or no screen to measure with.
int DigitsWidth(int digits) {
    HDC screen = GetDC(nullptr);
    if (screen == nullptr || g_shared_font == nullptr) {
        if (screen != nullptr) {
            ReleaseDC(nullptr, screen);
        }
        return 0;
    }
    HGDIOBJ previous = SelectObject(screen, g_shared_font);
    SIZE size = {};
    const wchar_t zeros[] = L"0000000000";
    GetTextExtentPoint32W(screen, zeros, digits < 10 ? digits : 10, &size);
    SelectObject(screen, previous);
    ReleaseDC(nullptr, screen);
    return size.cx;
}

int DigitCount(int32_t value) {
    int digits = 1;
    for (; value >= 10; value /= 10) {
        ++digits;
    }
    return digits;
}

// Wide enough for the largest record number of the loaded file, with the field's edges and
// margins; never narrower than the field always was.
int RecordIndexFieldWidth(int dpi) {
    const int32_t last = g_document.Store().count() - 1;
    const int digits = DigitsWidth(DigitCount(last > 0 ? last : 0));
    const int width = digits + ScaledToDpi(14, dpi);
    const int minimum = ScaledToDpi(54, dpi);
    return width > minimum ? width : minimum;
}

// The system metrics are given at the system's DPI; this one is wanted at the window's.
int ScrollBarHeight(int dpi) {
    HDC screen = GetDC(nullptr);
    const int system_dpi = screen != nullptr ? GetDeviceCaps(screen, LOGPIXELSY) : kBaseDpi;
    if (screen != nullptr) {
        ReleaseDC(nullptr, screen);
    }
    return MulDiv(GetSystemMetrics(SM_CYHSCROLL), dpi, system_dpi > 0 ? system_dpi : kBaseDpi);
}

// The call pane's height for a picture area of `area` pixels: the chosen one or about five
// lines, between two lines and most of the area.
int CallPaneHeight(int area, int dpi) {
    const int line = SharedFontLineHeight();
    const int edges = ScaledToDpi(8, dpi);
    const int lowest = 2 * line + edges;
    int height = g_chosen_pane_height > 0 ? g_chosen_pane_height : 5 * line + edges;
    const int highest = area - ScaledToDpi(48, dpi);
    if (height > highest) {
        height = highest;
    }
    return height < lowest ? lowest : height;
}

}  // namespace

HWND CreateReportControl(HWND main_window) {
    return CreateChild(main_window, WS_EX_CLIENTEDGE, kTextViewClassName, L"",
                       WS_CHILD | WS_VSCROLL | WS_HSCROLL, IDC_REPORT);
}

void CreateChildren(HWND main_window) {
    CreateModeSwitcher(main_window);
    HWND canvas = CreateChild(main_window, WS_EX_CLIENTEDGE, kCanvasClassName, L"",
                              WS_CHILD | WS_VISIBLE | WS_HSCROLL, IDC_CANVAS);
    // The picture is played by the paused player: a step plays only the records it crosses.
    SendMessageW(canvas, CVM_SETPLAYER, reinterpret_cast<WPARAM>(&kPausedPlayer), 0);
    CreateRecordIndexField(main_window);
    CreateCallTextField(main_window);
    CreateReportControl(main_window);
    CreateFilterList(main_window, g_instance);
    CreateStatusBar(main_window);
    // The tab control covers the whole client area: it lies below every sibling, which its
    // painting leaves out, so that a repaint of it never covers the views and the fields.
    HWND tabs = GetDlgItem(main_window, IDC_MODESWITCHER);
    if (tabs != nullptr) {
        SetWindowPos(tabs, HWND_BOTTOM, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
    }
    DragAcceptFiles(main_window, TRUE);
    // The start-up opens the file the command line names, or else the file dialog, as soon as
    // the message loop runs, over the shown window.
    PostMessageW(main_window, UWM_STARTUP, 0, reinterpret_cast<LPARAM>(StartUpCommandLine()));
}

void LayOutChildren(HWND main_window, int width, int height) {
    const int dpi = WindowDpi(main_window);
    const auto scaled = [dpi](int pixels) { return ScaledToDpi(pixels, dpi); };
    const int margin = scaled(12);
    // The status bar places itself at the bottom; the rest is laid out above it.
    const int above_status = height - PlaceStatusBar(main_window);
    const int inner_width = width - 2 * margin;
    MoveChild(main_window, IDC_REPORT, margin, margin, inner_width,
              AtLeastOne(above_status - scaled(45)));
    MoveChild(main_window, IDC_MODESWITCHER, 0, 0, width, above_status > 0 ? above_status : 0);
    MoveChild(main_window, IDC_FILTERLIST, margin, margin, inner_width,
              AtLeastOne(above_status - scaled(45)));
    // "The EMF": the canvas, then the gap that is the pane's border, then the record-index
    // field with the call pane beside it.
    const int area = above_status - scaled(33) - margin;
    const int pane_height = CallPaneHeight(area, dpi);
    const int gap = scaled(kPaneGap);
    const int canvas_height = AtLeastOne(area - pane_height - gap);
    MoveChild(main_window, IDC_CANVAS, margin, margin, inner_width, canvas_height);
    const int pane_top = margin + canvas_height + gap;
    const int field_width = RecordIndexFieldWidth(dpi);
    MoveChild(main_window, IDC_RECORDINDEX, margin, pane_top, field_width,
              ScrollBarHeight(dpi) + scaled(3));
    MoveChild(main_window, IDC_CALLTEXT, margin + field_width, pane_top, inner_width - field_width,
              pane_height);
}

void LayOutAgain(HWND main_window) {
    RECT client;
    if (GetClientRect(main_window, &client)) {
        LayOutChildren(main_window, client.right, client.bottom);
    }
}

void SetCallPaneHeight(HWND main_window, int height) {
    g_chosen_pane_height = height > 0 ? height : 0;
    LayOutAgain(main_window);
    // What the layout allowed is kept, so that a drag past the edge does not stick there.
    RECT pane;
    HWND call = GetDlgItem(main_window, IDC_CALLTEXT);
    if (height > 0 && call != nullptr && GetWindowRect(call, &pane)) {
        g_chosen_pane_height = pane.bottom - pane.top;
    }
}

int SharedFontLineHeight() {
    HDC screen = GetDC(nullptr);
    if (screen == nullptr) {
        return 15;
    }
    HGDIOBJ previous = g_shared_font != nullptr ? SelectObject(screen, g_shared_font) : nullptr;
    TEXTMETRICW metrics = {};
    const bool measured = GetTextMetricsW(screen, &metrics) != 0;
    if (previous != nullptr) {
        SelectObject(screen, previous);
    }
    ReleaseDC(nullptr, screen);
    return measured && metrics.tmHeight > 0 ? metrics.tmHeight : 15;
}

void SetSharedFont(HWND edit) {
    if (g_shared_font == nullptr) {
        LOGFONTW font = {};
        font.lfHeight = ScaledToDpi(15, WindowDpi(GetParent(edit)));
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

void RemakeSharedFont(HWND main_window) {
    HFONT previous = g_shared_font;
    g_shared_font = nullptr;
    for (int id : {IDC_RECORDINDEX, IDC_CALLTEXT}) {
        HWND child = GetDlgItem(main_window, id);
        if (child != nullptr) {
            SetSharedFont(child);
            InvalidateRect(child, nullptr, TRUE);
        }
    }
    if (previous != nullptr && previous != g_shared_font) {
        DeleteObject(previous);
    }
}
