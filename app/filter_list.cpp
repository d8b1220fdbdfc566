// The filter list: one check box per drawing record; a cleared box keeps that record out of
// the canvas's playback.
#include "app/filter_list.h"

#include <commctrl.h>
#include <windowsx.h>

#include "app/app_globals.h"
#include "app/resource.h"
#include "app/state_view.h"
#include "calls/call_text.h"
#include "document/played_records.h"
#include "text/utf16.h"
#include "text/wide_text.h"
#include "textview/screen_dpi_win.h"

RecordFilter g_record_filter;

namespace {

// The list's state images: 1 a cleared box, 2 a checked one.
constexpr UINT kUnchecked = 1;
constexpr UINT kChecked = 2;
// The number column's width at 96 DPI; the call column fills the rest of the list's width.
constexpr int kNumberColumnWidth = 64;

// The context menu's commands.
enum MenuCommand : UINT {
    kCheckAll = 1,
    kClearAll,
    kSwitchOffType,
    kSwitchOnType,
};

void InsertColumn(HWND list, int column, const wchar_t* text, int width) {
    LVCOLUMNW info = {};
    info.mask = LVCF_FMT | LVCF_WIDTH | LVCF_TEXT | LVCF_SUBITEM;
    info.fmt = LVCFMT_LEFT;
    info.cx = width;
    info.pszText = const_cast<wchar_t*>(text);
    info.iSubItem = column;
    SendMessageW(list, LVM_INSERTCOLUMNW, static_cast<WPARAM>(column),
                 reinterpret_cast<LPARAM>(&info));
}

// Row `row` stands for record `row + 1`.
int32_t RecordOfRow(int row) {
    return row + 1;
}

// Copies `text` into the list's buffer of `units` units, cut where it would not fit but never
// between the two halves of a surrogate pair.
void CopyText(std::u16string_view text, wchar_t* buffer, int units) {
    if (buffer == nullptr || units <= 0) {
        return;
    }
    size_t length = text.size();
    if (length >= static_cast<size_t>(units)) {
        length = static_cast<size_t>(units) - 1;
        if (length > 0 && IsHighSurrogate(text[length - 1])) {
            --length;
        }
    }
    for (size_t i = 0; i < length; ++i) {
        buffer[i] = static_cast<wchar_t>(text[i]);
    }
    buffer[length] = L'\0';
}

// A row is one line: each run of line ends and tabs in `text`, with the blanks that follow
// them, becomes one space, and such a run at its end is dropped.
std::u16string_view OneLine(std::u16string_view text, char16_t* buffer, size_t units) {
    size_t length = 0;
    bool blank = false;
    for (const char16_t unit : text) {
        // The blanks that indent a line are part of its break.
        if (unit == u'\r' || unit == u'\n' || unit == u'\t' || (blank && unit == u' ')) {
            blank = true;
            continue;
        }
        if (length + (blank ? 2 : 1) > units) {
            break;
        }
        if (blank && length > 0) {
            buffer[length++] = u' ';
        }
        blank = false;
        buffer[length++] = unit;
    }
    return std::u16string_view(buffer, length);
}

// The number or the one-line call text of the row the list is about to show. The verbose flag
// is the "GDI calls" view's as well, so it is put back afterwards.
void GiveRowText(LVITEMW& item) {
    const int32_t record = RecordOfRow(item.iItem);
    if (item.iItem < 0 || record >= g_document.Store().count() - 1) {
        CopyText(u"", item.pszText, item.cchTextMax);
        return;
    }
    if (item.iSubItem == 0) {
        FixedWideText<16> number;
        number.Print(u"%d", record);
        CopyText(number.view(), item.pszText, item.cchTextMax);
        return;
    }
    static FixedWideText<kCallTextUnits> call_text;
    const int verbose = VerboseFlag();
    SetVerboseFlag(0);
    BuildCallText(g_document.RecordAt(record), call_text);
    SetVerboseFlag(verbose);
    static char16_t one_line[kCallTextUnits];
    CopyText(OneLine(call_text.view(), one_line, kCallTextUnits), item.pszText, item.cchTextMax);
}

void OnGetDisplayInfo(NMLVDISPINFOW* info) {
    LVITEMW& item = info->item;
    if ((item.mask & LVIF_TEXT) != 0) {
        GiveRowText(item);
    }
    if ((item.mask & LVIF_STATE) != 0) {
        const UINT image = g_record_filter.IsOff(RecordOfRow(item.iItem)) ? kUnchecked : kChecked;
        item.state = (item.state & ~LVIS_STATEIMAGEMASK) | INDEXTOSTATEIMAGEMASK(image);
        item.stateMask |= LVIS_STATEIMAGEMASK;
    }
}

// The list shows the new boxes, and the picture is painted again without the records now off.
void ShowFilterChange(HWND list) {
    // The state after a record depends on which records before it are played.
    ResetStateTracker();
    StateViewFollow(GetParent(list));
    InvalidateRect(list, nullptr, FALSE);
    HWND canvas = GetDlgItem(GetParent(list), IDC_CANVAS);
    if (canvas != nullptr) {
        InvalidateRect(canvas, nullptr, FALSE);
    }
}

bool IsRowSelected(HWND list, int row) {
    return (SendMessageW(list, LVM_GETITEMSTATE, static_cast<WPARAM>(row), LVIS_SELECTED) &
            LVIS_SELECTED) != 0;
}

int NextRow(HWND list, int after, UINT which) {
    return static_cast<int>(
        SendMessageW(list, LVM_GETNEXTITEM, static_cast<WPARAM>(after), MAKELPARAM(which, 0)));
}

// Toggles the box of `row`; when that row is one of several selected ones, every selected row
// takes its new state, so that a group of rows is switched off or on together.
void ToggleRow(HWND list, int row) {
    const bool off = !g_record_filter.IsOff(RecordOfRow(row));
    g_record_filter.Set(RecordOfRow(row), off);
    if (IsRowSelected(list, row)) {
        for (int selected = NextRow(list, -1, LVNI_SELECTED); selected >= 0;
             selected = NextRow(list, selected, LVNI_SELECTED)) {
            g_record_filter.Set(RecordOfRow(selected), off);
        }
    }
    ShowFilterChange(list);
}

// A click toggles a box only on the box itself: elsewhere on the row it selects, as usual.
void OnButtonDown(HWND list, LPARAM at) {
    LVHITTESTINFO hit = {};
    hit.pt = {GET_X_LPARAM(at), GET_Y_LPARAM(at)};
    const int row =
        static_cast<int>(SendMessageW(list, LVM_HITTEST, 0, reinterpret_cast<LPARAM>(&hit)));
    // A list with full-row selection may answer "on the item" with all of its parts' flags.
    if (row >= 0 && (hit.flags & LVHT_ONITEM) == LVHT_ONITEMSTATEICON) {
        ToggleRow(list, row);
    }
}

// Space toggles the focused row's box, and with it those of the other selected rows.
void OnSpace(HWND list) {
    int row = NextRow(list, -1, LVNI_FOCUSED);
    if (row < 0) {
        row = NextRow(list, -1, LVNI_SELECTED);
    }
    if (row >= 0) {
        ToggleRow(list, row);
    }
}

// The number column at the list's DPI, the call column over the rest of its client width.
void SizeColumns(HWND list) {
    RECT client;
    if (!GetClientRect(list, &client)) {
        return;
    }
    const int number = ScaledToDpi(kNumberColumnWidth, WindowDpi(list));
    const int call = client.right - number;
    SendMessageW(list, LVM_SETCOLUMNWIDTH, 0, MAKELPARAM(number, 0));
    SendMessageW(list, LVM_SETCOLUMNWIDTH, 1, MAKELPARAM(call > 0 ? call : 0, 0));
}

// The list's own procedure, wrapped: a click on a box and Space are seen here, where the list
// receives them, since the list itself can keep no box of a row; Space is kept from the list,
// which would otherwise narrow the selection to the focused row or search for a row starting
// with a blank. The columns follow the list's width. A destroyed list leaves a filter of no
// records: the canvas, which asks while it paints with no window at hand, then plays only the
// header and the last record.
LRESULT CALLBACK FilterListProc(HWND list, UINT message, WPARAM wparam, LPARAM lparam, UINT_PTR,
                                DWORD_PTR) {
    switch (message) {
        case WM_KEYDOWN:
            if (wparam == VK_SPACE) {
                OnSpace(list);
                return 0;
            }
            break;
        case WM_CHAR:
            if (wparam == L' ') {
                return 0;
            }
            break;
        case WM_LBUTTONDOWN:
        case WM_LBUTTONDBLCLK:
            OnButtonDown(list, lparam);
            break;
        case WM_SIZE: {
            // The client width is known once the list has taken its size and scroll bars.
            const LRESULT result = DefSubclassProc(list, message, wparam, lparam);
            SizeColumns(list);
            return result;
        }
        case WM_NCDESTROY:
            g_record_filter.Reset(0);
            RemoveWindowSubclass(list, FilterListProc, 0);
            break;
        default:
            break;
    }
    return DefSubclassProc(list, message, wparam, lparam);
}

// The row a context menu is about: the one under the mouse, or from the keyboard the focused
// (else the first selected) row; -1 for none. `at` becomes where the menu opens.
int MenuRow(HWND list, POINT& at) {
    if (at.x != -1 || at.y != -1) {
        LVHITTESTINFO hit = {};
        hit.pt = at;
        ScreenToClient(list, &hit.pt);
        return static_cast<int>(SendMessageW(list, LVM_HITTEST, 0, reinterpret_cast<LPARAM>(&hit)));
    }
    int row = NextRow(list, -1, LVNI_FOCUSED);
    if (row < 0) {
        row = NextRow(list, -1, LVNI_SELECTED);
    }
    RECT rect = {};
    rect.left = LVIR_BOUNDS;
    if (row < 0 || !SendMessageW(list, LVM_GETITEMRECT, static_cast<WPARAM>(row),
                                 reinterpret_cast<LPARAM>(&rect))) {
        GetClientRect(list, &rect);
        rect.bottom = rect.top;
    }
    at = {rect.left, rect.bottom};
    ClientToScreen(list, &at);
    return row;
}

void RunMenuCommand(UINT command, int32_t record) {
    const RecordStore& store = g_document.Store();
    switch (command) {
        case kCheckAll:
            g_record_filter.SetAll(false);
            break;
        case kClearAll:
            g_record_filter.SetAll(true);
            break;
        case kSwitchOffType:
            g_record_filter.SetType(store, RecordTypeOf(store, record), true);
            break;
        case kSwitchOnType:
            g_record_filter.SetType(store, RecordTypeOf(store, record), false);
            break;
        default:
            break;
    }
}

}  // namespace

HWND CreateFilterList(HWND main_window, HINSTANCE instance) {
    HWND list = CreateWindowExW(
        WS_EX_CLIENTEDGE, WC_LISTVIEWW, L"",
        WS_CHILD | LVS_REPORT | LVS_NOSORTHEADER | LVS_OWNERDATA | LVS_SHOWSELALWAYS, 0, 0, 0, 0,
        main_window, reinterpret_cast<HMENU>(static_cast<INT_PTR>(IDC_FILTERLIST)), instance,
        nullptr);
    if (list == nullptr) {
        return nullptr;
    }
    SendMessageW(list, LVM_SETEXTENDEDLISTVIEWSTYLE, 0, LVS_EX_CHECKBOXES | LVS_EX_FULLROWSELECT);
    // The list keeps no boxes of its own rows: it asks for them with the texts.
    SendMessageW(list, LVM_SETCALLBACKMASK, LVIS_STATEIMAGEMASK, 0);
    InsertColumn(list, 0, L"Number", kNumberColumnWidth);
    InsertColumn(list, 1, L"API Call", 0);
    SetWindowSubclass(list, FilterListProc, 0, 0);
    return list;
}

void ShowRecordInFilterList(HWND list, int32_t record) {
    if (list == nullptr) {
        return;
    }
    LVITEMW item = {};
    item.stateMask = LVIS_SELECTED | LVIS_FOCUSED;
    SendMessageW(list, LVM_SETITEMSTATE, static_cast<WPARAM>(-1), reinterpret_cast<LPARAM>(&item));
    // Row r stands for record r + 1.
    const int row = record - 1;
    if (record < 1 || row >= static_cast<int>(SendMessageW(list, LVM_GETITEMCOUNT, 0, 0))) {
        return;
    }
    item.state = LVIS_SELECTED | LVIS_FOCUSED;
    SendMessageW(list, LVM_SETITEMSTATE, static_cast<WPARAM>(row), reinterpret_cast<LPARAM>(&item));
    SendMessageW(list, LVM_SETSELECTIONMARK, 0, row);
    SendMessageW(list, LVM_ENSUREVISIBLE, static_cast<WPARAM>(row), FALSE);
}

// The header record and the last record have no row: they are always played. The rows are
// only counted here; the list asks for the texts of those it shows.
int FillFilterList(HWND main_window) {
    if (!g_document.IsLoaded()) {
        return 0;
    }
    HWND list = GetDlgItem(main_window, IDC_FILTERLIST);
    if (list == nullptr) {
        return 0;
    }
    SetVerboseFlag(0);
    const int32_t count = g_document.Store().count();
    g_record_filter.Reset(count);
    // Emptied first, so that no selection or scroll position of the previous file remains.
    SendMessageW(list, LVM_DELETEALLITEMS, 0, 0);
    SendMessageW(list, LVM_SETITEMCOUNT, static_cast<WPARAM>(count > 2 ? count - 2 : 0), 0);
    // The rows may have brought a vertical scroll bar, which narrows the client area.
    SizeColumns(list);
    InvalidateRect(list, nullptr, TRUE);
    return 1;
}

LRESULT OnFilterListNotify(const NMHDR* header) {
    switch (header->code) {
        case LVN_GETDISPINFOW:
            OnGetDisplayInfo(reinterpret_cast<NMLVDISPINFOW*>(const_cast<NMHDR*>(header)));
            return 0;
        case LVN_ODFINDITEMW:
            // No row is found by typing: the list would otherwise take an answer of 0 for row 0.
            return -1;
        default:
            return 0;
    }
}

void ShowFilterListMenu(HWND list, LPARAM at) {
    HMENU menu = CreatePopupMenu();
    if (menu == nullptr) {
        return;
    }
    POINT where = {GET_X_LPARAM(at), GET_Y_LPARAM(at)};
    const int row = MenuRow(list, where);
    const UINT type_items = row >= 0 ? MF_STRING : MF_STRING | MF_GRAYED;
    AppendMenuW(menu, MF_STRING, kCheckAll, L"Check all");
    AppendMenuW(menu, MF_STRING, kClearAll, L"Clear all");
    AppendMenuW(menu, MF_SEPARATOR, 0, nullptr);
    AppendMenuW(menu, type_items, kSwitchOffType, L"Switch off every record of this type");
    AppendMenuW(menu, type_items, kSwitchOnType, L"Switch on every record of this type");
    const UINT command =
        static_cast<UINT>(TrackPopupMenu(menu, TPM_RETURNCMD | TPM_RIGHTBUTTON | TPM_NONOTIFY,
                                         where.x, where.y, 0, GetParent(list), nullptr));
    DestroyMenu(menu);
    if (command != 0) {
        RunMenuCommand(command, RecordOfRow(row));
        ShowFilterChange(list);
    }
}

const RecordFilter* ListedRecordFilter() {
    return &g_record_filter;
}

int AnyRecordUnchecked() {
    return LeavesOutRecords(ListedRecordFilter()) ? 1 : 0;
}

int IsRecordPlayed(uint32_t record_index) {
    return PlaysRecord(g_document, ListedRecordFilter(), record_index) ? 1 : 0;
}
