// The read-only text view of the reports: a window that shows the lines of a report made on
// demand, with scrolling, selection, copy, find and a step to the record of a line.
#include <windows.h>

#include <commdlg.h>

#include <algorithm>
#include <cstring>
#include <iterator>
#include <new>
#include <string>
#include <vector>

#include "textview/text_view_win.h"

#include "textview/screen_dpi_win.h"

namespace {

// The space before the text, at 96 DPI.
constexpr int kLeftMargin = 12;
constexpr size_t kFindUnits = 256;

struct ViewState {
    HWND window = nullptr;
    LineModel lines;
    TabLayout layout;
    HFONT font = nullptr;
    int margin = kLeftMargin;
    int line_height = 16;
    int top_line = 0;
    int left_x = 0;
    int wheel_delta = 0;
    TextPos anchor;
    TextPos caret;
    bool dragging = false;
    bool has_caret = false;
    HWND find_dialog = nullptr;
    FINDREPLACEW find = {};
    wchar_t find_text[kFindUnits] = {};
};

// The open Find dialog, which the message loop hands its messages to; one at a time.
HWND g_find_dialog = nullptr;

}  // namespace

int(WINAPI* g_text_view_message_box)(HWND, LPCWSTR, LPCWSTR, UINT) = MessageBoxW;

namespace {

ViewState* StateOf(HWND window) {
    return reinterpret_cast<ViewState*>(GetWindowLongPtrW(window, GWLP_USERDATA));
}

UINT FindMessage() {
    static const UINT message = RegisterWindowMessageW(FINDMSGSTRINGW);
    return message;
}

// The font's line height and cell width, and the tab interval of half an inch at `dpi`.
void MeasureFont(ViewState* view, HDC surface, int dpi) {
    TEXTMETRICW metrics = {};
    GetTextMetricsW(surface, &metrics);
    view->line_height = std::max(1, static_cast<int>(metrics.tmHeight));
    view->layout.cell = std::max(1, static_cast<int>(metrics.tmAveCharWidth));
    view->layout.interval = std::max(1, dpi / 2);
}

// 8.75 points on the screen the window is on: 12 pixels high at 96 DPI.
HFONT CreateReportFont(int dpi) {
    LOGFONTW font = {};
    font.lfHeight = -MulDiv(175, dpi, 1440);
    font.lfWeight = FW_NORMAL;
    font.lfCharSet = ANSI_CHARSET;
    font.lfPitchAndFamily = FIXED_PITCH | FF_MODERN;
    lstrcpyW(font.lfFaceName, L"Courier New");
    return CreateFontIndirectW(&font);
}

int ClientWidth(HWND window) {
    RECT client;
    GetClientRect(window, &client);
    return client.right;
}

int PageLines(const ViewState* view) {
    RECT client;
    GetClientRect(view->window, &client);
    return std::max(1, static_cast<int>(client.bottom) / view->line_height);
}

int MaxTopLine(const ViewState* view) {
    return std::max(0, view->lines.line_count() - PageLines(view));
}

int MaxLeft(const ViewState* view) {
    const int content = view->margin + view->lines.widest() + view->layout.cell;
    return std::max(0, content - ClientWidth(view->window));
}

void UpdateScrollBars(ViewState* view) {
    view->top_line = std::clamp(view->top_line, 0, MaxTopLine(view));
    view->left_x = std::clamp(view->left_x, 0, MaxLeft(view));
    SCROLLINFO bar = {};
    bar.cbSize = sizeof(bar);
    bar.fMask = SIF_RANGE | SIF_PAGE | SIF_POS;
    bar.nMax = view->lines.line_count() - 1;
    bar.nPage = static_cast<UINT>(PageLines(view));
    bar.nPos = view->top_line;
    SetScrollInfo(view->window, SB_VERT, &bar, TRUE);
    bar.nMax = view->margin + view->lines.widest() + view->layout.cell - 1;
    bar.nPage = static_cast<UINT>(std::max(1, ClientWidth(view->window)));
    bar.nPos = view->left_x;
    SetScrollInfo(view->window, SB_HORZ, &bar, TRUE);
}

int TextLeft(const ViewState* view) {
    return view->margin - view->left_x;
}

void PlaceCaret(ViewState* view) {
    if (!view->has_caret) {
        return;
    }
    const std::u16string_view line = view->lines.Line(view->caret.line);
    SetCaretPos(TextLeft(view) + view->layout.XOfColumn(line, view->caret.column),
                (view->caret.line - view->top_line) * view->line_height);
}

void Redraw(ViewState* view) {
    InvalidateRect(view->window, nullptr, FALSE);
    PlaceCaret(view);
}

void ScrollTo(ViewState* view, int top_line, int left_x) {
    view->top_line = top_line;
    view->left_x = left_x;
    UpdateScrollBars(view);
    Redraw(view);
}

// Scrolls the least that shows the caret.
void ShowCaretPlace(ViewState* view) {
    int top = view->top_line;
    const int page = PageLines(view);
    if (view->caret.line < top) {
        top = view->caret.line;
    } else if (view->caret.line >= top + page) {
        top = view->caret.line - page + 1;
    }
    int left = view->left_x;
    const int x = view->margin +
                  view->layout.XOfColumn(view->lines.Line(view->caret.line), view->caret.column);
    const int width = ClientWidth(view->window);
    if (x < left + view->margin) {
        left = std::max(0, x - view->margin - width / 4);
    } else if (x >= left + width - view->layout.cell) {
        left = x - width + width / 4;
    }
    ScrollTo(view, top, left);
}

// Draws the runs of `line` between its tabs from `x`, each unit one cell wide, within `clip`.
void DrawLine(HDC surface, const ViewState* view, std::u16string_view line, int x, int y,
              const RECT& clip) {
    static std::vector<INT> cells;
    size_t start = 0;
    int left = 0;
    while (start < line.size()) {
        if (line[start] == u'\t') {
            left = view->layout.NextStop(left);
            ++start;
            continue;
        }
        size_t end = start;
        while (end < line.size() && line[end] != u'\t') {
            ++end;
        }
        if (x + left >= clip.right) {
            return;
        }
        const size_t units = end - start;
        if (cells.size() < units) {
            cells.assign(units, view->layout.cell);
        }
        std::fill(cells.begin(), cells.begin() + static_cast<ptrdiff_t>(units), view->layout.cell);
        ExtTextOutW(surface, x + left, y, ETO_CLIPPED, &clip,
                    reinterpret_cast<const wchar_t*>(line.data() + start), static_cast<UINT>(units),
                    cells.data());
        left += static_cast<int>(units) * view->layout.cell;
        start = end;
    }
}

void Paint(ViewState* view) {
    PAINTSTRUCT paint;
    HDC surface = BeginPaint(view->window, &paint);
    RECT client;
    GetClientRect(view->window, &client);
    HGDIOBJ previous_font = SelectObject(surface, view->font);
    SetBkMode(surface, OPAQUE);
    TextPos from = std::min(view->anchor, view->caret);
    TextPos to = std::max(view->anchor, view->caret);
    const int x = TextLeft(view);
    int y = 0;
    for (int line = view->top_line; line < view->lines.line_count() && y < paint.rcPaint.bottom;
         ++line, y += view->line_height) {
        const RECT row = {client.left, y, client.right, y + view->line_height};
        if (y + view->line_height <= paint.rcPaint.top) {
            continue;
        }
        const std::u16string_view text = view->lines.Line(line);
        SetTextColor(surface, GetSysColor(COLOR_WINDOWTEXT));
        SetBkColor(surface, GetSysColor(COLOR_WINDOW));
        ExtTextOutW(surface, 0, y, ETO_OPAQUE, &row, nullptr, 0, nullptr);
        DrawLine(surface, view, text, x, y, row);
        if (from == to || line < from.line || line > to.line) {
            continue;
        }
        // The selected part of the line, and a cell for its break when that is selected too.
        const int32_t first = line == from.line ? from.column : 0;
        const int32_t last = line == to.line ? to.column : static_cast<int32_t>(text.size());
        const int left = x + view->layout.XOfColumn(text, first);
        const int right =
            x + view->layout.XOfColumn(text, last) + (line < to.line ? view->layout.cell : 0);
        if (right <= left) {
            continue;
        }
        const RECT selected = {left, y, right, y + view->line_height};
        SetTextColor(surface, GetSysColor(COLOR_HIGHLIGHTTEXT));
        SetBkColor(surface, GetSysColor(COLOR_HIGHLIGHT));
        ExtTextOutW(surface, 0, y, ETO_OPAQUE, &selected, nullptr, 0, nullptr);
        DrawLine(surface, view, text, x, y, selected);
    }
    if (y < client.bottom) {
        const RECT rest = {client.left, y, client.right, client.bottom};
        FillRect(surface, &rest, GetSysColorBrush(COLOR_WINDOW));
    }
    SelectObject(surface, previous_font);
    EndPaint(view->window, &paint);
}

TextPos PlaceAt(ViewState* view, int x, int y) {
    const int line = std::clamp(view->top_line + (y < 0 ? -1 : y / view->line_height), 0,
                                view->lines.line_count() - 1);
    const std::u16string_view text = view->lines.Line(line);
    return {line, view->layout.ColumnAtX(text, x - TextLeft(view))};
}

void CopySelection(ViewState* view) {
    if (view->anchor == view->caret) {
        return;
    }
    const std::u16string text = view->lines.Text(view->anchor, view->caret);
    HGLOBAL memory = GlobalAlloc(GMEM_MOVEABLE, (text.size() + 1) * sizeof(char16_t));
    if (memory == nullptr) {
        return;
    }
    void* target = GlobalLock(memory);
    if (target == nullptr) {
        GlobalFree(memory);
        return;
    }
    std::memcpy(target, text.c_str(), (text.size() + 1) * sizeof(char16_t));
    GlobalUnlock(memory);
    if (!OpenClipboard(view->window)) {
        GlobalFree(memory);
        return;
    }
    EmptyClipboard();
    if (SetClipboardData(CF_UNICODETEXT, memory) == nullptr) {
        GlobalFree(memory);
    }
    CloseClipboard();
}

void Select(ViewState* view, TextPos anchor, TextPos caret) {
    view->anchor = view->lines.Clamp(anchor);
    view->caret = view->lines.Clamp(caret);
    ShowCaretPlace(view);
    Redraw(view);
}

void SelectAll(ViewState* view) {
    view->anchor = {};
    view->caret = view->lines.End();
    Redraw(view);
}

void GoToRecordOfLine(ViewState* view, int32_t line) {
    const int32_t record = view->lines.RecordOfLine(line);
    if (record < 0) {
        return;
    }
    TextViewGoTo note = {};
    note.header.hwndFrom = view->window;
    note.header.idFrom = static_cast<UINT_PTR>(GetDlgCtrlID(view->window));
    note.header.code = kTextViewGoToRecord;
    note.record = record;
    note.place = view->lines.PlaceOfLine(line);
    SendMessageW(GetParent(view->window), WM_NOTIFY, note.header.idFrom,
                 reinterpret_cast<LPARAM>(&note));
}

// Says that the text looked for is nowhere, as the platform's editors do, over the Find dialog
// when it is open, else over the main window, with the program's name from its title ("FILE -
// NAME") as the caption.
void SayNotFound(ViewState* view) {
    HWND root = GetAncestor(view->window, GA_ROOT);
    wchar_t title[512] = L"";
    GetWindowTextW(root, title, static_cast<int>(std::size(title)));
    const wchar_t* caption = title;
    for (const wchar_t* at = title; *at != L'\0'; ++at) {
        if (at[0] == L' ' && at[1] == L'-' && at[2] == L' ') {
            caption = at + 3;
        }
    }
    wchar_t text[kFindUnits + 16] = L"Cannot find \"";
    lstrcatW(text, view->find_text);
    lstrcatW(text, L"\"");
    g_text_view_message_box(view->find_dialog != nullptr ? view->find_dialog : root, text, caption,
                            MB_ICONINFORMATION | MB_OK);
}

void FindNext(ViewState* view, bool down) {
    const std::u16string_view what(reinterpret_cast<const char16_t*>(view->find_text));
    FindOptions options;
    options.down = down;
    options.match_case = (view->find.Flags & FR_MATCHCASE) != 0;
    options.whole_word = (view->find.Flags & FR_WHOLEWORD) != 0;
    const TextPos from =
        down ? std::max(view->anchor, view->caret) : std::min(view->anchor, view->caret);
    TextPos start;
    TextPos end;
    if (!view->lines.Find(what, from, options, &start, &end)) {
        SayNotFound(view);
        return;
    }
    Select(view, start, end);
}

void OpenFindDialog(ViewState* view) {
    if (view->find_dialog != nullptr) {
        SetFocus(view->find_dialog);
        return;
    }
    if (g_find_dialog != nullptr) {
        return;
    }
    // A selection within one line is what the person most likely looks for.
    const TextPos from = std::min(view->anchor, view->caret);
    const TextPos to = std::max(view->anchor, view->caret);
    if (from.line == to.line && from != to &&
        static_cast<size_t>(to.column - from.column) < kFindUnits) {
        const std::u16string selected = view->lines.Text(from, to);
        std::memcpy(view->find_text, selected.c_str(), (selected.size() + 1) * sizeof(char16_t));
    }
    const DWORD kept = view->find.Flags & (FR_DOWN | FR_MATCHCASE | FR_WHOLEWORD);
    view->find = {};
    view->find.lStructSize = sizeof(view->find);
    view->find.hwndOwner = view->window;
    view->find.lpstrFindWhat = view->find_text;
    view->find.wFindWhatLen = kFindUnits;
    view->find.Flags = kept != 0 ? kept : FR_DOWN;
    view->find_dialog = FindTextW(&view->find);
    g_find_dialog = view->find_dialog;
    // The view receives the dialog's requests, but the dialog belongs to the main window: it
    // stays above it, and the platform hands the activation back to it when the dialog goes.
    if (view->find_dialog != nullptr) {
        SetWindowLongPtrW(view->find_dialog, GWLP_HWNDPARENT,
                          reinterpret_cast<LONG_PTR>(GetAncestor(view->window, GA_ROOT)));
    }
}

// F3 and Shift+F3: the text looked for last, again; the dialog when there is none yet.
void FindAgain(ViewState* view, bool down) {
    if (view->find_text[0] == 0) {
        OpenFindDialog(view);
    } else {
        FindNext(view, down);
    }
}

void OnFindMessage(ViewState* view, const FINDREPLACEW* find) {
    // The dialog's own request carries the view's own search; another sender's is taken over.
    if (find != &view->find && find->lpstrFindWhat != nullptr) {
        lstrcpynW(view->find_text, find->lpstrFindWhat, static_cast<int>(kFindUnits));
        view->find.Flags = find->Flags;
    }
    if (find->Flags & FR_DIALOGTERM) {
        if (g_find_dialog == view->find_dialog) {
            g_find_dialog = nullptr;
        }
        view->find_dialog = nullptr;
        // The keyboard goes back to the view, which makes the main window active again; a
        // view hidden meanwhile hands it to the main window.
        if (IsWindowVisible(view->window)) {
            SetFocus(view->window);
        } else {
            SetActiveWindow(GetAncestor(view->window, GA_ROOT));
        }
        return;
    }
    if (find->Flags & FR_FINDNEXT) {
        FindNext(view, (find->Flags & FR_DOWN) != 0);
    }
}

// Moves the caret for a key; false for a key that is not a move.
bool MoveForKey(ViewState* view, WPARAM key, bool control) {
    TextPos& caret = view->caret;
    const int page = PageLines(view);
    const int32_t last_line = view->lines.line_count() - 1;
    switch (key) {
        case VK_UP:
            caret.line = std::max(0, caret.line - 1);
            break;
        case VK_DOWN:
            caret.line = std::min(last_line, caret.line + 1);
            break;
        case VK_PRIOR:
            caret.line = std::max(0, caret.line - page);
            view->top_line = std::max(0, view->top_line - page);
            break;
        case VK_NEXT:
            caret.line = std::min(last_line, caret.line + page);
            view->top_line = std::min(MaxTopLine(view), view->top_line + page);
            break;
        case VK_LEFT:
            if (caret.column > 0) {
                --caret.column;
            } else if (caret.line > 0) {
                --caret.line;
                caret.column = static_cast<int32_t>(view->lines.Line(caret.line).size());
            }
            break;
        case VK_RIGHT:
            if (caret.column < static_cast<int32_t>(view->lines.Line(caret.line).size())) {
                ++caret.column;
            } else if (caret.line < last_line) {
                ++caret.line;
                caret.column = 0;
            }
            break;
        case VK_HOME:
            caret = control ? TextPos{} : TextPos{caret.line, 0};
            break;
        case VK_END:
            caret = control ? view->lines.End()
                            : TextPos{caret.line,
                                      static_cast<int32_t>(view->lines.Line(caret.line).size())};
            break;
        default:
            return false;
    }
    caret = view->lines.Clamp(caret);
    return true;
}

void OnKey(ViewState* view, WPARAM key) {
    const bool control = GetKeyState(VK_CONTROL) < 0;
    const bool shift = GetKeyState(VK_SHIFT) < 0;
    if (control && key == 'A') {
        SelectAll(view);
    } else if (control && (key == 'C' || key == VK_INSERT)) {
        CopySelection(view);
    } else if (control && key == 'F') {
        OpenFindDialog(view);
    } else if (key == VK_F3) {
        FindAgain(view, !shift);
    } else if (key == VK_RETURN) {
        GoToRecordOfLine(view, view->caret.line);
    } else if (MoveForKey(view, key, control)) {
        if (!shift) {
            view->anchor = view->caret;
        }
        ShowCaretPlace(view);
        Redraw(view);
    }
}

void OnScroll(ViewState* view, int bar, WPARAM request) {
    SCROLLINFO info = {};
    info.cbSize = sizeof(info);
    info.fMask = SIF_ALL;
    GetScrollInfo(view->window, bar, &info);
    const bool vertical = bar == SB_VERT;
    int position = vertical ? view->top_line : view->left_x;
    const int line = vertical ? 1 : view->layout.cell * 4;
    const int page = vertical ? PageLines(view) : std::max(1, ClientWidth(view->window) / 2);
    switch (LOWORD(request)) {
        case SB_LINEUP:
            position -= line;
            break;
        case SB_LINEDOWN:
            position += line;
            break;
        case SB_PAGEUP:
            position -= page;
            break;
        case SB_PAGEDOWN:
            position += page;
            break;
        case SB_THUMBTRACK:
        case SB_THUMBPOSITION:
            // The 32-bit place of the thumb; the message's own is 16 bits.
            position = info.nTrackPos;
            break;
        case SB_TOP:
            position = 0;
            break;
        case SB_BOTTOM:
            position = info.nMax;
            break;
        default:
            return;
    }
    if (vertical) {
        ScrollTo(view, position, view->left_x);
    } else {
        ScrollTo(view, view->top_line, position);
    }
}

void OnWheel(ViewState* view, int delta) {
    UINT lines_per_notch = 3;
    SystemParametersInfoW(SPI_GETWHEELSCROLLLINES, 0, &lines_per_notch, 0);
    view->wheel_delta += delta;
    const int notches = view->wheel_delta / WHEEL_DELTA;
    view->wheel_delta -= notches * WHEEL_DELTA;
    const int lines =
        lines_per_notch == WHEEL_PAGESCROLL ? PageLines(view) : static_cast<int>(lines_per_notch);
    ScrollTo(view, view->top_line - notches * lines, view->left_x);
}

// Tells the parent about the context menu: `code` is kTextViewMenuOpening or kTextViewMenuChosen.
void NotifyMenu(ViewState* view, UINT code, TextViewMenu* note) {
    note->header.hwndFrom = view->window;
    note->header.idFrom = static_cast<UINT_PTR>(GetDlgCtrlID(view->window));
    note->header.code = code;
    SendMessageW(GetParent(view->window), WM_NOTIFY, note->header.idFrom,
                 reinterpret_cast<LPARAM>(note));
}

void OnContextMenu(ViewState* view, LPARAM place) {
    POINT at = {static_cast<short>(LOWORD(place)), static_cast<short>(HIWORD(place))};
    int32_t line = view->caret.line;
    // From the keyboard: under the caret.
    if (at.x == -1 && at.y == -1) {
        at = {TextLeft(view), (view->caret.line - view->top_line + 1) * view->line_height};
        ClientToScreen(view->window, &at);
    } else {
        POINT inside = at;
        ScreenToClient(view->window, &inside);
        line = PlaceAt(view, inside.x, inside.y).line;
    }
    HMENU menu = CreatePopupMenu();
    if (menu == nullptr) {
        return;
    }
    AppendMenuW(menu, MF_STRING | (view->anchor == view->caret ? MF_GRAYED : 0), kTextViewCopy,
                L"&Copy\tCtrl+C");
    AppendMenuW(menu, MF_SEPARATOR, 0, nullptr);
    AppendMenuW(menu, MF_STRING, kTextViewSelectAll, L"Select &All\tCtrl+A");
    TextViewMenu note = {};
    note.menu = menu;
    note.record = view->lines.RecordOfLine(line);
    note.place = view->lines.PlaceOfLine(line);
    NotifyMenu(view, kTextViewMenuOpening, &note);
    const UINT command = static_cast<UINT>(TrackPopupMenu(menu, TPM_RETURNCMD | TPM_RIGHTBUTTON,
                                                          at.x, at.y, 0, view->window, nullptr));
    DestroyMenu(menu);
    note.menu = nullptr;
    if (command >= kTextViewParentItems && command <= kTextViewParentItems + 0xFF) {
        note.command = command;
        NotifyMenu(view, kTextViewMenuChosen, &note);
    } else if (command != 0) {
        SendMessageW(view->window, WM_COMMAND, command, 0);
    }
}

// The whole text into `out`, which has room for `room` units and the terminating zero.
LRESULT CopyWholeText(ViewState* view, wchar_t* out, size_t room) {
    if (out == nullptr || room == 0) {
        return 0;
    }
    size_t written = 0;
    view->lines.VisitText({}, view->lines.End(), [&](std::u16string_view piece) {
        const size_t units = std::min(piece.size(), room - 1 - written);
        std::memcpy(out + written, piece.data(), units * sizeof(char16_t));
        written += units;
        return written < room - 1;
    });
    out[written] = L'\0';
    return static_cast<LRESULT>(written);
}

void OnFocus(ViewState* view, bool gained) {
    if (gained) {
        view->has_caret = CreateCaret(view->window, nullptr, 1, view->line_height) != FALSE;
        PlaceCaret(view);
        ShowCaret(view->window);
    } else if (view->has_caret) {
        DestroyCaret();
        view->has_caret = false;
    }
}

void Destroy(ViewState* view) {
    if (view->find_dialog != nullptr) {
        DestroyWindow(view->find_dialog);
        if (g_find_dialog == view->find_dialog) {
            g_find_dialog = nullptr;
        }
    }
    if (view->font != nullptr) {
        DeleteObject(view->font);
    }
    SetWindowLongPtrW(view->window, GWLP_USERDATA, 0);
    delete view;
}

LRESULT CALLBACK TextViewProc(HWND window, UINT message, WPARAM wparam, LPARAM lparam) {
    ViewState* view = StateOf(window);
    if (message == WM_NCCREATE) {
        view = new (std::nothrow) ViewState;
        if (view == nullptr) {
            return FALSE;
        }
        view->window = window;
        SetWindowLongPtrW(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(view));
        const int dpi = WindowDpi(window);
        view->margin = ScaledToDpi(kLeftMargin, dpi);
        view->font = CreateReportFont(dpi);
        HDC surface = GetDC(window);
        HGDIOBJ previous =
            SelectObject(surface, view->font != nullptr ? static_cast<HGDIOBJ>(view->font)
                                                        : GetStockObject(ANSI_FIXED_FONT));
        MeasureFont(view, surface, dpi);
        SelectObject(surface, previous);
        ReleaseDC(window, surface);
    }
    if (view == nullptr) {
        return DefWindowProcW(window, message, wparam, lparam);
    }
    if (message == FindMessage() && message != 0) {
        OnFindMessage(view, reinterpret_cast<const FINDREPLACEW*>(lparam));
        return 0;
    }
    switch (message) {
        case WM_NCDESTROY:
            Destroy(view);
            break;
        case WM_PAINT:
            Paint(view);
            return 0;
        case WM_ERASEBKGND:
            return 1;
        case WM_SIZE:
            UpdateScrollBars(view);
            Redraw(view);
            return 0;
        case WM_VSCROLL:
            OnScroll(view, SB_VERT, wparam);
            return 0;
        case WM_HSCROLL:
            OnScroll(view, SB_HORZ, wparam);
            return 0;
        case WM_MOUSEWHEEL:
            OnWheel(view, GET_WHEEL_DELTA_WPARAM(wparam));
            return 0;
        case WM_SETFOCUS:
            OnFocus(view, true);
            return 0;
        case WM_KILLFOCUS:
            OnFocus(view, false);
            return 0;
        case WM_GETDLGCODE:
            return DLGC_WANTARROWS | DLGC_WANTCHARS;
        case WM_KEYDOWN:
            OnKey(view, wparam);
            return 0;
        case WM_KEYUP:
            // The menu key's release opens the context menu as Shift+F10 does: Wine's default
            // handling does not, and the key never reaches the default handling here.
            if (wparam == VK_APPS) {
                OnContextMenu(view, MAKELPARAM(-1, -1));
                return 0;
            }
            break;
        case WM_LBUTTONDOWN: {
            SetFocus(window);
            const TextPos at = PlaceAt(view, static_cast<short>(LOWORD(lparam)),
                                       static_cast<short>(HIWORD(lparam)));
            view->caret = at;
            if (!(wparam & MK_SHIFT)) {
                view->anchor = at;
            }
            view->dragging = true;
            SetCapture(window);
            Redraw(view);
            return 0;
        }
        case WM_MOUSEMOVE:
            if (view->dragging) {
                view->caret = PlaceAt(view, static_cast<short>(LOWORD(lparam)),
                                      static_cast<short>(HIWORD(lparam)));
                ShowCaretPlace(view);
                Redraw(view);
            }
            return 0;
        case WM_LBUTTONUP:
        case WM_CAPTURECHANGED:
            if (view->dragging) {
                view->dragging = false;
                ReleaseCapture();
            }
            return 0;
        case WM_LBUTTONDBLCLK:
            GoToRecordOfLine(view, PlaceAt(view, static_cast<short>(LOWORD(lparam)),
                                           static_cast<short>(HIWORD(lparam)))
                                       .line);
            return 0;
        case WM_RBUTTONDOWN:
            SetFocus(window);
            return 0;
        case WM_CONTEXTMENU:
            OnContextMenu(view, lparam);
            return 0;
        case WM_COPY:
            CopySelection(view);
            return 0;
        case WM_COMMAND:
            if (LOWORD(wparam) == kTextViewCopy) {
                CopySelection(view);
            } else if (LOWORD(wparam) == kTextViewSelectAll) {
                SelectAll(view);
            } else if (LOWORD(wparam) == kTextViewFind) {
                OpenFindDialog(view);
            } else if (LOWORD(wparam) == kTextViewFindNext) {
                FindAgain(view, true);
            } else if (LOWORD(wparam) == kTextViewFindPrevious) {
                FindAgain(view, false);
            }
            return 0;
        case WM_GETTEXTLENGTH:
            return static_cast<LRESULT>(std::min<int64_t>(view->lines.text_units(), INT32_MAX - 1));
        case WM_GETTEXT:
            return CopyWholeText(view, reinterpret_cast<wchar_t*>(lparam),
                                 static_cast<size_t>(wparam));
        case WM_GETFONT:
            return reinterpret_cast<LRESULT>(view->font);
        case WM_SETTEXT:
            return FALSE;
        default:
            break;
    }
    return DefWindowProcW(window, message, wparam, lparam);
}

}  // namespace

bool RegisterTextViewClass(HINSTANCE instance) {
    WNDCLASSEXW window_class = {};
    window_class.cbSize = sizeof(window_class);
    window_class.style = CS_DBLCLKS;
    window_class.lpfnWndProc = TextViewProc;
    window_class.hInstance = instance;
    window_class.hCursor = LoadCursorW(nullptr, IDC_IBEAM);
    window_class.lpszClassName = kTextViewClassName;
    return RegisterClassExW(&window_class) != 0 || GetLastError() == ERROR_CLASS_ALREADY_EXISTS;
}

void SetTextViewSource(HWND view_window, std::unique_ptr<ReportEntries> source) {
    ViewState* view = StateOf(view_window);
    if (view == nullptr) {
        return;
    }
    view->lines.Clear();
    // The report's tab stops in pixels, needed before its lines are measured: dialog units of
    // the dialog base unit, as the edit controls measure them.
    const std::vector<int> stops = source != nullptr ? source->tab_stops() : std::vector<int>{};
    const int base = LOWORD(GetDialogBaseUnits());
    view->layout.stops.clear();
    for (int stop : stops) {
        view->layout.stops.push_back(MulDiv(stop, base, 4));
    }
    view->lines.Build(std::move(source), &view->layout);
    view->anchor = {};
    view->caret = {};
    view->top_line = 0;
    view->left_x = 0;
    UpdateScrollBars(view);
    Redraw(view);
}

LineModel* TextViewLines(HWND view_window) {
    ViewState* view = StateOf(view_window);
    return view != nullptr ? &view->lines : nullptr;
}

bool GetTextViewSelection(HWND view_window, TextPos* anchor, TextPos* caret) {
    ViewState* view = StateOf(view_window);
    if (view == nullptr) {
        return false;
    }
    *anchor = view->anchor;
    *caret = view->caret;
    return true;
}

void SetTextViewSelection(HWND view_window, TextPos anchor, TextPos caret) {
    ViewState* view = StateOf(view_window);
    if (view != nullptr) {
        Select(view, anchor, caret);
    }
}

int32_t TextViewTopLine(HWND view_window) {
    ViewState* view = StateOf(view_window);
    return view != nullptr ? view->top_line : 0;
}

void TextViewShowRecord(HWND view_window, int32_t record) {
    ViewState* view = StateOf(view_window);
    if (view == nullptr) {
        return;
    }
    int32_t first = 0;
    int32_t end = 0;
    if (!view->lines.LinesOfRecord(record, &first, &end)) {
        view->anchor = view->caret;
        Redraw(view);
        return;
    }
    // The caret at the entry's start, where the keys go on from, and the selection to the
    // start of the line after it, breaks included.
    view->anchor = view->lines.Clamp({end, 0});
    view->caret = {first, 0};
    ScrollTo(view, first, 0);
}

bool TextViewDialogMessage(MSG* message) {
    return g_find_dialog != nullptr && IsDialogMessageW(g_find_dialog, message);
}
