// The text views: each report shown in the report control (the text view shared by them),
// built only when the control does not hold it already.
#include "app/report_views.h"

#include <memory>

#include "app/app_globals.h"
#include "app/resource.h"
#include "app/views.h"
#include "app/wait_cursor.h"
#include "textview/text_view_win.h"

int g_report_state = -1;

bool IsReportView(unsigned mode) {
    return mode < kViewCount && kViews[mode].make_report != nullptr;
}

int BuildReportView(HWND main_window, unsigned mode) {
    if (!IsReportView(mode) || !g_document.IsLoaded()) {
        return 0;
    }
    const View& view = kViews[mode];
    if (g_report_state == view.report_state) {
        return 1;
    }
    HWND control = GetDlgItem(main_window, IDC_REPORT);
    if (control == nullptr) {
        return 0;
    }
    // The control holds no report from here until the new one is in place.
    g_report_state = -1;
    WaitCursor wait;
    std::unique_ptr<ReportEntries> entries = view.make_report(g_document);
    const bool made = entries != nullptr;
    SetTextViewSource(control, std::move(entries));
    if (!made) {
        return 0;
    }
    g_report_state = view.report_state;
    return 1;
}

void ForgetReport(HWND main_window) {
    g_report_state = -1;
    HWND control = GetDlgItem(main_window, IDC_REPORT);
    if (control != nullptr) {
        SetTextViewSource(control, nullptr);
    }
}
