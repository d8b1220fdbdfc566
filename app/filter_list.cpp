// The filter list: one check box per drawing record; a cleared box keeps that record out of
// the canvas's playback.
#include "app/filter_list.h"

#include <commctrl.h>

#include "app/app_globals.h"
#include "app/resource.h"
#include "calls/call_text.h"
#include "calls/wide_text.h"

namespace {

// The list's state images: 1 a cleared box, 2 a checked one.
constexpr UINT kUnchecked = 1;
constexpr UINT kChecked = 2;
constexpr int kNumberColumnWidth = 64;
constexpr int kCallColumnWidth = 600;

// The canvas asks its questions while it paints, with no main window at hand, so the list is
// kept here.
HWND g_filter_list = nullptr;

HWND FilterList() {
    return g_filter_list != nullptr && IsWindow(g_filter_list) ? g_filter_list : nullptr;
}

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

UINT RowState(HWND list, int row) {
    const LRESULT state =
        SendMessageW(list, LVM_GETITEMSTATE, static_cast<WPARAM>(row), LVIS_STATEIMAGEMASK);
    return static_cast<UINT>(state & LVIS_STATEIMAGEMASK) >> 12;
}

// Row `row` stands for record `row + 1`: its number, a checked box, its one-line call text.
void AddRow(HWND list, int row, RecordView record, WideText& call_text) {
    FixedWideText<16> number;
    number.Print(u"%d", row + 1);
    LVITEMW item = {};
    item.mask = LVIF_TEXT;
    item.iItem = row;
    item.pszText = const_cast<wchar_t*>(reinterpret_cast<const wchar_t*>(number.c_str()));
    SendMessageW(list, LVM_INSERTITEMW, 0, reinterpret_cast<LPARAM>(&item));

    LVITEMW state = {};
    state.stateMask = LVIS_STATEIMAGEMASK;
    state.state = INDEXTOSTATEIMAGEMASK(kChecked);
    SendMessageW(list, LVM_SETITEMSTATE, static_cast<WPARAM>(row),
                 reinterpret_cast<LPARAM>(&state));

    BuildCallText(record, call_text);
    LVITEMW text = {};
    text.iSubItem = 1;
    text.pszText = const_cast<wchar_t*>(reinterpret_cast<const wchar_t*>(call_text.c_str()));
    SendMessageW(list, LVM_SETITEMTEXTW, static_cast<WPARAM>(row), reinterpret_cast<LPARAM>(&text));
}

}  // namespace

HWND CreateFilterList(HWND main_window, HINSTANCE instance) {
    HWND list = CreateWindowExW(WS_EX_CLIENTEDGE, WC_LISTVIEWW, L"",
                                WS_CHILD | LVS_REPORT | LVS_NOSORTHEADER, 0, 0, 0, 0, main_window,
                                reinterpret_cast<HMENU>(static_cast<INT_PTR>(IDC_FILTERLIST)),
                                instance, nullptr);
    if (list == nullptr) {
        return nullptr;
    }
    SendMessageW(list, LVM_SETEXTENDEDLISTVIEWSTYLE, 0, LVS_EX_CHECKBOXES | LVS_EX_FULLROWSELECT);
    InsertColumn(list, 0, L"Number", kNumberColumnWidth);
    InsertColumn(list, 1, L"API Call", kCallColumnWidth);
    g_filter_list = list;
    return list;
}

// The header record and the last record have no row: they are always played.
int FillFilterList(HWND main_window) {
    if (!g_document.IsLoaded()) {
        return 0;
    }
    HWND list = GetDlgItem(main_window, IDC_FILTERLIST);
    if (list == nullptr) {
        return 0;
    }
    // Redrawing is locked for the whole fill; the list view itself is told too, since it
    // otherwise updates its layout after every row, which makes a fill of tens of thousands of
    // rows take minutes.
    LockWindowUpdate(list);
    SendMessageW(list, WM_SETREDRAW, FALSE, 0);
    SendMessageW(list, LVM_DELETEALLITEMS, 0, 0);
    SetVerboseFlag(0);
    FixedWideText<kCallTextUnits> call_text;
    const int32_t count = g_document.Store().count();
    // The rows are still inserted one by one. Told their number first, the platform's list
    // allocates its row table once instead of growing it row after row (Wine's list ignores
    // the hint and grows it anyway).
    if (count > 2) {
        SendMessageW(list, LVM_SETITEMCOUNT, static_cast<WPARAM>(count - 2), 0);
    }
    for (int32_t i = 1; i < count - 1; ++i) {
        AddRow(list, i - 1, g_document.RecordAt(i), call_text);
    }
    SendMessageW(list, WM_SETREDRAW, TRUE, 0);
    InvalidateRect(list, nullptr, TRUE);
    LockWindowUpdate(nullptr);
    return 1;
}

int AnyRecordUnchecked() {
    HWND list = FilterList();
    if (list == nullptr) {
        return 0;
    }
    const int rows = static_cast<int>(SendMessageW(list, LVM_GETITEMCOUNT, 0, 0));
    for (int row = 0; row < rows; ++row) {
        if (RowState(list, row) == kUnchecked) {
            return 1;
        }
    }
    return 0;
}

// A record without a row in the list (there is none while the list is being filled) is
// played; only a cleared box keeps a record out.
int IsRecordPlayed(uint32_t record_index) {
    const uint32_t count = static_cast<uint32_t>(g_document.Store().count());
    if (record_index >= count) {
        return 0;
    }
    if (record_index == 0 || record_index == count - 1) {
        return 1;
    }
    HWND list = FilterList();
    if (list == nullptr) {
        return 0;
    }
    return RowState(list, static_cast<int>(record_index - 1)) == kUnchecked ? 0 : 1;
}
