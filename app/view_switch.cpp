// The switch between the main window's views.
#include "app/view_switch.h"

#include <commctrl.h>

#include "app/filter_list.h"
#include "app/navigation.h"
#include "app/report_views.h"
#include "app/resource.h"
#include "app/views.h"
#include "textview/text_view_win.h"

int32_t g_view_mode = 0;

namespace {

void ShowChild(HWND main_window, int id, bool shown) {
    HWND child = GetDlgItem(main_window, id);
    if (child != nullptr) {
        ShowWindow(child, shown ? SW_SHOWNORMAL : SW_HIDE);
    }
}

void ShowControlsOfView(HWND main_window, ViewContent content) {
    const bool picture = content == ViewContent::kPicture;
    ShowChild(main_window, IDC_CANVAS, picture);
    ShowChild(main_window, IDC_CALLTEXT, picture);
    ShowChild(main_window, IDC_RECORDINDEX, picture);
    ShowChild(main_window, IDC_REPORT, content == ViewContent::kReport);
    ShowChild(main_window, IDC_FILTERLIST, content == ViewContent::kFilterList);
}

// The current record may have changed since the view was last shown: its entry or row is
// shown and selected again.
void ShowCurrentRecord(HWND main_window, ViewContent content) {
    if (content == ViewContent::kReport) {
        TextViewShowRecord(GetDlgItem(main_window, IDC_REPORT), g_current_record);
    } else if (content == ViewContent::kFilterList) {
        ShowRecordInFilterList(GetDlgItem(main_window, IDC_FILTERLIST), g_current_record);
    }
}

void SelectTab(HWND main_window, unsigned mode) {
    HWND tabs = GetDlgItem(main_window, IDC_MODESWITCHER);
    if (tabs != nullptr && SendMessageW(tabs, TCM_GETCURSEL, 0, 0) != static_cast<LRESULT>(mode)) {
        SendMessageW(tabs, TCM_SETCURSEL, mode, 0);
    }
}

}  // namespace

int SwitchView(HWND main_window, unsigned mode) {
    if (mode >= kViewCount) {
        return 0;
    }
    if (static_cast<int32_t>(mode) == g_view_mode) {
        return 1;
    }
    g_view_mode = static_cast<int32_t>(mode);
    BuildReportView(main_window, mode);
    const ViewContent content = kViews[mode].content;
    ShowControlsOfView(main_window, content);
    if (kViews[mode].follows_record) {
        ShowCurrentRecord(main_window, content);
    }
    // The keys go to what the view shows: the report or the filter list, which then scroll,
    // select, find and toggle at once; in "The EMF" the main window takes them, where the
    // navigation keys act. A hidden control keeps no keyboard focus. Focus held outside this
    // window is left alone.
    HWND focus = GetFocus();
    if (focus == main_window || (focus != nullptr && IsChild(main_window, focus))) {
        const int target_id = content == ViewContent::kReport       ? IDC_REPORT
                              : content == ViewContent::kFilterList ? IDC_FILTERLIST
                                                                    : 0;
        HWND target = target_id != 0 ? GetDlgItem(main_window, target_id) : nullptr;
        if (target != nullptr) {
            SetFocus(target);
        } else if (focus != main_window && !IsWindowVisible(focus)) {
            SetFocus(main_window);
        }
    }
    SelectTab(main_window, mode);
    InvalidateRect(main_window, nullptr, TRUE);
    return 1;
}
